// The effect's editor window: its size before opening, the controls it
// builds and the values they show, parameter changes and the learn mark from
// other threads applied at idle, the about box, and what the effect hears.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "control_test_support.h"
#include "editor/bramble_editor.h"
#include "editor/bramble_frame.h"
#include "editor/bramble_learn_target.h"
#include "editor/csplashscreen.h"
#include "gui/cbitmap.h"
#include "gui/coffscreen_context.h"
#include "gui/platform/platform_drawing.h"

using namespace controltest;

namespace {

constexpr CColor kBackground = {60, 60, 60, 255};
constexpr CColor kAbout = {20, 30, 200, 255};
constexpr CColor kWhite = {255, 255, 255, 255};
constexpr long kWidth = 500;
constexpr long kHeight = 400;
constexpr long L = kMouseLeft;

struct Placement {
  long tag;
  CRect rect;
  long frames;  // frames of its strip
};
const Placement kControls[] = {
    {0, CRect(55, 130, 142, 291), 36},  {1, CRect(162, 133, 249, 294), 36},
    {2, CRect(264, 134, 351, 295), 36}, {3, CRect(369, 135, 456, 296), 36},
    {4, CRect(120, 0, 363, 64), 2},     {5, CRect(315, 97, 421, 127), 4},
};
const CPoint kAboutHotSpot(470, 390);

// The editor's pictures, made here so every pixel is known: strips of
// distinct colours (stripColor of the frame), plain background and about box.
class Pictures {
 public:
  Pictures() {
    char pattern[] = "/tmp/bramble_editor_test_XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    directory = pattern;
    const std::string resources = directory + "/resources";
    mkdir(resources.c_str(), 0700);
    write(10000, makePicture(kWidth, kHeight, kBackground));
    for (long id = 10001; id <= 10004; ++id) write(id, makeStrip(87, 161, 36));
    write(10005, makeStrip(243, 64, 2));
    write(10006, makeStrip(106, 30, 4));
    write(10007, makePicture(500, 377, kAbout));
  }
  ~Pictures() {
    for (const std::string& file : files) std::remove(file.c_str());
    rmdir((directory + "/resources").c_str());
    rmdir(directory.c_str());
  }
  std::string directory;

 private:
  void write(long id, CBitmap* picture) {
    char name[64];
    std::snprintf(name, sizeof name, "/resources/bmp%05ld.png", id);
    files.push_back(directory + name);
    if (!platformSurfaceWritePNG(picture->getHandle(), files.back().c_str())) std::abort();
    picture->forget();
  }
  std::vector<std::string> files;
};

const Pictures& pictures() {
  static Pictures made;
  return made;
}

// What the effect heard from its editor, beyond edit gestures.
std::vector<std::pair<VstInt32, float>> automated;

VstIntPtr automationHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                         void* ptr, float opt) {
  if (opcode == audioMasterAutomate) automated.emplace_back(index, opt);
  return recordingHost(effect, opcode, index, value, ptr, opt);
}

// Keeps six values and, like the real effect, shows every change on the
// editor and marks the control a learn gesture starts on.
class FakeEffect : public AudioEffectX, public brambleLearnTarget {
 public:
  FakeEffect() : AudioEffectX(automationHost, 1, 6) {}
  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override {
    if (index < 0 || index > 5) return;
    values[index] = value;
    if (auto* e = static_cast<brambleEditor*>(editor)) e->setParameter(index, value);
  }
  float getParameter(VstInt32 index) override {
    return index >= 0 && index <= 5 ? values[index] : 0.0f;
  }
  void handleSpecialClick(long tag) override {
    specialClicks.push_back(tag);
    static_cast<brambleEditor*>(editor)->highlightControl(tag, true);
  }
  float values[6] = {0.25f, 0.5f, 0.75f, 1.0f, 0.0f, 1.0f};
  std::vector<long> specialClicks;
};

struct BrambleEditor : ::testing::Test {
  FakeEffect* effect = nullptr;
  brambleEditor* editor = nullptr;
  brambleFrame* frame = nullptr;
  ScriptedPointer pointer;

  void SetUp() override {
    CBitmap::setResourceDirectoryOverride(pictures().directory.c_str());
    eventLog().clear();
    automated.clear();
    effect = new FakeEffect;
    // The effect owns its editor from here on.
    editor = new brambleEditor(effect);
  }
  void TearDown() override {
    delete effect;
    CBitmap::setResourceDirectoryOverride(nullptr);
  }
  // Opens without a host window, as the window's first exposure would draw.
  void open() {
    ASSERT_TRUE(editor->open(nullptr));
    frame = editor->getBrambleFrame();
    ASSERT_NE(frame, nullptr);
    frame->setPointerSource(&pointer);
    pointer.script({{CPoint(0, 0), 0}});
    CDrawContext* context = frame->createDrawContext();
    frame->draw(context);
    context->forget();
  }
  CColor pixel(long x, long y) { return pixelOf(frame->getBackBuffer(), x, y); }
  CColor pixel(CPoint p) { return pixel(p.x, p.y); }
  // The strip frame filling the control's rectangle (checked at its corners
  // and centre), or -1.
  long shownFrame(const CRect& r) {
    const long k = stripFrameOf(pixel(r.left + 1, r.top + 1));
    for (CPoint p : {CPoint(r.right - 2, r.top + 1), CPoint(r.left + 1, r.bottom - 2),
                     CPoint(r.right - 2, r.bottom - 2), CPoint((r.left + r.right) / 2,
                                                                (r.top + r.bottom) / 2)})
      if (stripFrameOf(pixel(p)) != k) return -1;
    return k;
  }
  // Every pixel of the rectangle's border is white.
  bool outlined(const CRect& r) {
    for (long x = r.left; x < r.right; ++x)
      if (pixel(x, r.top) != kWhite || pixel(x, r.bottom - 1) != kWhite) return false;
    for (long y = r.top; y < r.bottom; ++y)
      if (pixel(r.left, y) != kWhite || pixel(r.right - 1, y) != kWhite) return false;
    return true;
  }
  long whitePixels(const CRect& r) {
    long count = 0;
    for (long y = r.top - 1; y <= r.bottom; ++y)
      for (long x = r.left - 1; x <= r.right; ++x)
        if (pixel(x, y) == kWhite) ++count;
    return count;
  }
  void click(CPoint at, long buttons) {
    pointer.script({{at, buttons}, {at, 0}});
    frame->mouse(nullptr, at, buttons);
  }
};

TEST_F(BrambleEditor, ReportsTheBackgroundsSizeBeforeOpening) {
  ERect* rect = nullptr;
  ASSERT_TRUE(editor->getRect(&rect));
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, kHeight);
  EXPECT_EQ(rect->right, kWidth);
  EXPECT_EQ(effect->getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
}

TEST_F(BrambleEditor, OpenShowsEveryParameterOnItsControl) {
  struct Case {
    float values[6];
    long frames[6];
  };
  const Case cases[] = {
      {{0.0f, 0.5f, 0.99f, 1.0f, 1.0f, 1.0f}, {0, 17, 34, 35, 1, 1}},
      {{0.3f, 0.03f, 0.028f, 0.75f, 0.0f, 0.0f}, {10, 1, 0, 26, 0, 0}},
  };
  for (const Case& c : cases) {
    std::copy(std::begin(c.values), std::end(c.values), effect->values);
    open();
    ASSERT_NE(editor->getSplashScreen(), nullptr);
    EXPECT_EQ(frame->getNbViews(), 7);
    for (const Placement& p : kControls) {
      SCOPED_TRACE(testing::Message() << "tag " << p.tag << " value " << c.values[p.tag]);
      ASSERT_NE(editor->getControl(p.tag), nullptr);
      EXPECT_EQ(editor->getControl(p.tag)->getTag(), p.tag);
      EXPECT_EQ(shownFrame(p.rect), c.frames[p.tag]);
      // Nothing of it spills over the background around it.
      EXPECT_EQ(pixel(p.rect.left - 1, p.rect.bottom - 1), kBackground);
      EXPECT_EQ(pixel(p.rect.right, p.rect.bottom - 1), kBackground);
      EXPECT_EQ(pixel(p.rect.left, p.rect.bottom), kBackground);
    }
    editor->close();
  }
}

TEST_F(BrambleEditor, ParameterChangesFromAnotherThreadAreDrawnAtTheNextIdle) {
  open();
  std::thread other([this] {
    editor->setParameter(2, 1.0f);
    editor->setParameter(4, 1.0f);
    editor->setParameter(4, 0.0f);  // only the latest counts
    editor->setParameter(5, 0.0f);
    editor->setParameter(6, 1.0f);  // no such parameter
    editor->setParameter(-1, 1.0f);
  });
  other.join();
  EXPECT_EQ(shownFrame(kControls[2].rect), 26);  // nothing drawn yet
  editor->idle();
  const long expected[6] = {8, 17, 35, 35, 0, 0};
  for (const Placement& p : kControls) EXPECT_EQ(shownFrame(p.rect), expected[p.tag]) << p.tag;
}

TEST_F(BrambleEditor, ValuesChangedWhileClosedAreReadAgainAtOpen) {
  open();
  editor->close();
  // The effect moved on; the editor heard of it while closed and also got a
  // stale value that the effect no longer holds.
  effect->setParameter(1, 0.2f);
  editor->setParameter(3, 0.0f);
  open();
  editor->idle();
  EXPECT_EQ(shownFrame(kControls[1].rect), 7);
  EXPECT_EQ(shownFrame(kControls[3].rect), 35);
}

TEST_F(BrambleEditor, LearnMarkIsAWhiteOutlineThatMovesAndVanishes) {
  open();
  const CRect repeat = kControls[2].rect, depth = kControls[3].rect;
  struct Step {
    const char* name;
    std::vector<std::pair<long, bool>> requests;  // before one idle
    bool onRepeat;
    bool onDepth;
  };
  const Step steps[] = {
      {"mark Repeat", {{2, true}}, true, false},
      {"mark Depth", {{3, true}}, false, true},
      {"clear", {{3, false}}, false, false},
      {"several before one idle: the last wins", {{2, true}, {0, true}, {3, true}}, false, true},
      {"a tag without a control clears", {{7, true}}, false, false},
      {"from another thread", {{2, true}}, true, false},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    std::thread other([&] {
      for (const auto& [tag, on] : s.requests) editor->highlightControl(tag, on);
    });
    other.join();
    editor->idle();
    EXPECT_EQ(outlined(repeat), s.onRepeat);
    EXPECT_EQ(outlined(depth), s.onDepth);
    // One pixel wide, on the rectangle's own border and nowhere else; the
    // knob's picture inside is untouched.
    const long border = 2 * (repeat.width() + repeat.height()) - 4;
    EXPECT_EQ(whitePixels(repeat), s.onRepeat ? border : 0);
    EXPECT_EQ(whitePixels(depth), s.onDepth ? border : 0);
    EXPECT_EQ(whitePixels(kControls[0].rect), 0);
    EXPECT_EQ(stripFrameOf(pixel(repeat.left + 1, repeat.top + 1)), 26);
  }
  EXPECT_EQ(frame->getHighlightedView(), editor->getControl(2));
}

TEST_F(BrambleEditor, MarkSurvivesWholeWindowDrawing) {
  open();
  editor->highlightControl(2, true);
  editor->idle();
  ASSERT_TRUE(outlined(kControls[2].rect));
  // The about box covers the knob; closing it draws the whole window again,
  // and the control still waiting for its controller keeps its mark.
  click(kAboutHotSpot, L);
  editor->idle();
  click(CPoint(20, 20), L);
  ASSERT_EQ(frame->getModalView(), nullptr);
  editor->idle();
  EXPECT_TRUE(outlined(kControls[2].rect));
  // The host asking for the whole window.
  editor->draw(nullptr);
  EXPECT_TRUE(outlined(kControls[2].rect));
}

TEST_F(BrambleEditor, NewWindowStartsWithoutMark) {
  open();
  editor->highlightControl(1, true);
  editor->idle();
  ASSERT_TRUE(outlined(kControls[1].rect));
  editor->close();
  // A learn armed (or completed) while closed leaves no mark either.
  editor->highlightControl(2, true);
  editor->highlightControl(-5, false);
  editor->idle();
  open();
  editor->idle();
  EXPECT_EQ(frame->getHighlightedView(), nullptr);
  for (const Placement& p : kControls) EXPECT_EQ(whitePixels(p.rect), 0) << p.tag;
}

TEST_F(BrambleEditor, DraggingAKnobAutomatesItsParameter) {
  open();
  const CPoint at(100, 200), up(100, 100);
  pointer.script({{at, L}, {up, L}, {up, L}, {up, 0}});
  CPoint where = at;
  frame->mouse(nullptr, where, L);
  EXPECT_NEAR(effect->values[0], 0.75f, 1e-5f);
  ASSERT_FALSE(automated.empty());
  EXPECT_EQ(automated.back().first, 0);
  EXPECT_NEAR(automated.back().second, 0.75f, 1e-5f);
  const auto& events = eventLog().events;
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front(), begin(0));
  EXPECT_EQ(events.back(), end(0));
  editor->idle();
  EXPECT_EQ(shownFrame(kControls[0].rect), 26);
}

TEST_F(BrambleEditor, ModifiedClicksGoToTheEffectOrTheControl) {
  const long C = L | kModCommand, CS = C | kModShift;
  struct Case {
    const char* name;
    CPoint at;
    long buttons;
    std::vector<long> specialClicks;
    long tag;      // the parameter looked at
    float value;   // its value afterwards
  };
  const Case cases[] = {
      {"learn on a knob", CPoint(100, 200), CS, {0}, 0, 0.25f},
      {"learn on the power switch", CPoint(320, 100), CS, {5}, 5, 1.0f},
      {"learn on the about hot spot", kAboutHotSpot, CS, {7}, 0, 0.25f},
      {"command click resets a knob", CPoint(100, 200), C, {}, 0, 0.5f},
      {"command click toggles the selector", CPoint(200, 30), C, {}, 4, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    effect->values[0] = 0.25f;
    effect->values[4] = 0.0f;
    effect->values[5] = 1.0f;
    effect->specialClicks.clear();
    open();
    click(c.at, c.buttons);
    EXPECT_EQ(effect->specialClicks, c.specialClicks);
    EXPECT_EQ(effect->values[c.tag], c.value);
    // The about box does not open on a learn gesture.
    EXPECT_EQ(frame->getModalView(), nullptr);
    editor->close();
  }
}

TEST_F(BrambleEditor, AboutBoxIsModalUntilTheNextClick) {
  open();
  click(kAboutHotSpot, L);
  ASSERT_EQ(frame->getModalView(), editor->getSplashScreen());
  editor->idle();
  EXPECT_EQ(pixel(0, 0), kAbout);
  EXPECT_EQ(pixel(100, 200), kAbout);  // over the Mic Level knob
  EXPECT_EQ(pixel(499, 376), kAbout);
  EXPECT_EQ(pixel(499, 377), kBackground);
  // A press on the knob underneath closes the box and moves nothing.
  automated.clear();
  pointer.script({{CPoint(100, 200), L}, {CPoint(100, 100), L}, {CPoint(100, 100), 0}});
  CPoint where(100, 200);
  frame->mouse(nullptr, where, L);
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_EQ(effect->values[0], 0.25f);
  EXPECT_TRUE(automated.empty());
  editor->idle();
  // The whole window is drawn again.
  EXPECT_EQ(pixel(0, 100), kBackground);
  for (const Placement& p : kControls) EXPECT_NE(shownFrame(p.rect), -1) << p.tag;
  EXPECT_EQ(shownFrame(kControls[0].rect), 8);
}

TEST_F(BrambleEditor, CloseAndOpenCyclesBuildFreshControls) {
  CBitmap* background = editor->getBackgroundBitmap();
  ASSERT_NE(background, nullptr);
  editor->close();  // closing a closed editor does nothing
  for (int cycle = 0; cycle < 3; ++cycle) {
    SCOPED_TRACE(cycle);
    open();
    EXPECT_TRUE(editor->isWindowOpen());
    editor->highlightControl(cycle, true);
    editor->setParameter(cycle, 1.0f);
    editor->idle();
    EXPECT_TRUE(outlined(kControls[cycle].rect));
    EXPECT_EQ(shownFrame(kControls[cycle].rect), 35);
    editor->close();
    EXPECT_FALSE(editor->isWindowOpen());
    EXPECT_EQ(editor->getBrambleFrame(), nullptr);
    EXPECT_EQ(editor->getControl(0), nullptr);
    // Closed: these must not reach the destroyed controls.
    editor->setParameter(0, 0.5f);
    editor->highlightControl(1, true);
    editor->idle();
    EXPECT_EQ(background->getNbReference(), 1);
    effect->values[cycle] = 1.0f;
  }
  // Deleting the effect with the window open closes it (TearDown).
  open();
}

TEST_F(BrambleEditor, UnusableHostWindowLeavesAWorkingEditor) {
  // No window has this id (and without a display no window can be used).
  void* bogus = reinterpret_cast<void*>(uintptr_t{0x3ffffff1});
  testing::internal::CaptureStderr();
  ASSERT_TRUE(editor->open(bogus));
  const std::string said = testing::internal::GetCapturedStderr();
  // The code says why (3: the display has no such window; without a display
  // another one).
  EXPECT_EQ(said.rfind("Could not create Control : ", 0), 0u) << said;
  frame = editor->getBrambleFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->isBound());
  CDrawContext* context = frame->createDrawContext();
  frame->draw(context);
  context->forget();
  editor->setParameter(1, 1.0f);
  editor->highlightControl(1, true);
  editor->idle();
  EXPECT_EQ(shownFrame(kControls[1].rect), 35);
  EXPECT_TRUE(outlined(kControls[1].rect));
  editor->close();
}

TEST_F(BrambleEditor, SeveralInstancesHaveTheirOwnWindows) {
  FakeEffect* second = new FakeEffect;
  auto* other = new brambleEditor(second);
  open();
  ASSERT_TRUE(other->open(nullptr));
  brambleFrame* otherFrame = other->getBrambleFrame();
  ASSERT_NE(otherFrame, frame);
  other->draw(nullptr);
  editor->setParameter(3, 0.0f);
  editor->highlightControl(3, true);
  other->setParameter(3, 0.5f);
  editor->idle();
  other->idle();
  EXPECT_EQ(shownFrame(kControls[3].rect), 0);
  EXPECT_TRUE(outlined(kControls[3].rect));
  EXPECT_EQ(stripFrameOf(pixelOf(otherFrame->getBackBuffer(), 400, 200)), 17);
  EXPECT_EQ(otherFrame->getHighlightedView(), nullptr);
  delete second;  // with its window still open
}

TEST_F(BrambleEditor, OutlineLeavesTheContextsPenAsItFoundIt) {
  open();
  editor->highlightControl(0, true);
  editor->idle();
  CDrawContext* context = frame->createDrawContext();
  const CColor red = {200, 0, 0, 255};
  context->setLineWidth(3);
  context->setFrameColor(red);
  frame->drawRect(context, CRect(0, 0, kWidth, kHeight));
  EXPECT_EQ(context->getLineWidth(), 3);
  EXPECT_EQ(context->getFrameColor(), red);
  context->forget();
  EXPECT_TRUE(outlined(kControls[0].rect));
  // Nor does a null context or a marked view that left the frame upset it.
  frame->drawRect(nullptr, CRect(0, 0, kWidth, kHeight));
  CView* marked = frame->getHighlightedView();
  marked->remember();
  frame->removeView(marked, true);
  context = frame->createDrawContext();
  frame->drawRect(context, CRect(0, 0, kWidth, kHeight));
  context->forget();
  EXPECT_EQ(frame->getHighlightedView(), nullptr);
  EXPECT_EQ(whitePixels(kControls[0].rect), 0);
  marked->forget();
}

}  // namespace
