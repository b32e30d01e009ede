// The power switch's control: four frames (off, on, and both pressed), a
// flip on press reported before the release, and a hold that any change of
// buttons or modifiers ends.
#include <gtest/gtest.h>

#include <functional>

#include "control_test_support.h"
#include "editor/cmovietoggle.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr CColor kGround = {60, 60, 60, 255};
constexpr long kTag = 5;
const CRect kPlace(30, 40, 50, 50);  // 20 × 10: one frame
const CPoint kInside(40, 45);
const CPoint kOutside(150, 120);
constexpr long L = kMouseLeft;

// Lets the test look at the window between passes of the hold.
struct WatchedPointer : ScriptedPointer {
  std::function<void()> onWait;
  void waitForEvents(unsigned milliseconds) override {
    if (onWait) onWait();
    ScriptedPointer::waitForEvents(milliseconds);
  }
};

// The pressed state, which only a held press sets, made reachable.
struct PressableToggle : CMovieToggle {
  using CMovieToggle::CMovieToggle;
  void setPressed(bool on) { pressState = on ? 1.0f : 0.0f; }
};

TEST(MovieToggleDrawing, ValueAndPressStateChooseOneOfFourFrames) {
  CBitmap* strip = makeStrip(20, 10, 4);
  CPoint offset;
  auto* toggle = new PressableToggle(kPlace, nullptr, kTag, 10, strip, offset);
  EXPECT_TRUE(toggle->isTypeOf("CMovieButton"));
  struct Case {
    float value;
    bool pressed;
    long frame;
  };
  for (const Case& c : {Case{0.0f, false, 0}, Case{1.0f, false, 1}, Case{0.0f, true, 2},
                        Case{1.0f, true, 3}, Case{2.5f, false, 1}, Case{-1.0f, true, 2}}) {
    SCOPED_TRACE(testing::Message() << c.value << (c.pressed ? " pressed" : ""));
    toggle->setPressed(c.pressed);
    Surface surface(60, 60, kGround);
    Context context(surface);
    toggle->setValue(c.value);
    toggle->draw(context);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top), stripColor(c.frame));
    EXPECT_EQ(surface.pixel(kPlace.right - 1, kPlace.bottom - 1), stripColor(c.frame));
    EXPECT_EQ(surface.pixel(kPlace.right, kPlace.top), kGround);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.bottom), kGround);
    EXPECT_FALSE(toggle->isDirty());
  }
  toggle->forget();
  strip->forget();
}

struct MovieToggleInFrame : EditorFixture {
  CBitmap* strip = nullptr;
  CMovieToggle* toggle = nullptr;
  WatchedPointer watched;
  std::vector<long> framesWhileHeld;
  void SetUp() override {
    EditorFixture::SetUp();
    frame->setPointerSource(&watched);
    strip = makeStrip(20, 10, 4);
    CPoint offset;
    toggle = add(new CMovieToggle(kPlace, &listener, kTag, 10, strip, offset));
    watched.onWait = [this] {
      framesWhileHeld.push_back(stripFrameOf(framePixel(kPlace.left, kPlace.top)));
    };
    drawAll();
  }
  void TearDown() override {
    editor->close();
    EXPECT_EQ(strip->getNbReference(), 1);
    strip->forget();
    EditorFixture::TearDown();
  }
  void pressWith(long buttons, std::vector<ScriptedPointer::Step> script) {
    watched.script(std::move(script));
    framesWhileHeld.clear();
    CPoint at = kInside;
    frame->mouse(nullptr, at, buttons);
  }
  long shownFrame() {
    editor->idle();
    return stripFrameOf(framePixel(kPlace.left, kPlace.top));
  }
};

TEST_F(MovieToggleInFrame, PressFlipsAtOnceShowsThePressedFrameAndReleaseShowsThePlainOne) {
  struct Case {
    float entry;
    long pressedFrame;
    long releasedFrame;
    float reported;
  };
  for (const Case& c : {Case{0.0f, 3, 1, 1.0f}, Case{1.0f, 2, 0, 0.0f}}) {
    SCOPED_TRACE(c.entry);
    toggle->setValue(c.entry);
    drawAll();
    events().clear();
    // Moving away while held undoes nothing.
    pressWith(L, {{kInside, L}, {kOutside, L}, {kOutside, L}, {kOutside, 0}});
    EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), changed(kTag, c.reported), end(kTag)}));
    ASSERT_FALSE(framesWhileHeld.empty());
    EXPECT_EQ(framesWhileHeld.back(), c.pressedFrame);
    EXPECT_EQ(toggle->getValue(), c.reported);
    EXPECT_EQ(shownFrame(), c.releasedFrame);
  }
}

TEST_F(MovieToggleInFrame, AnyChangeOfButtonsOrModifiersEndsTheHold) {
  for (long change : {long{0}, L | kModShift, L | kModOption, L | kMouseRight}) {
    SCOPED_TRACE(change);
    std::vector<ScriptedPointer::Step> script{{kInside, L}, {kInside, L}};
    // The changed state lasts; a hold that ignored it would only end at the
    // release far down the script.
    for (int k = 0; k < 20; ++k) script.push_back({kInside, change});
    script.push_back({kInside, 0});
    const float entry = toggle->getValue();
    pressWith(L, script);
    EXPECT_LE(watched.waits, 3);
    watched.waits = 0;
    EXPECT_EQ(toggle->getValue(), entry == 0.0f ? 1.0f : 0.0f);
    EXPECT_EQ(toggle->getPressState(), 0.0f);
  }
}

TEST_F(MovieToggleInFrame, ReleasedBeforeItLooksIsAPlainFlipWithoutGesture) {
  pressWith(L, {{kInside, 0}});
  EXPECT_EQ(events(), (std::vector<Event>{changed(kTag, 1.0f)}));
  EXPECT_TRUE(framesWhileHeld.empty());
  EXPECT_EQ(shownFrame(), 1);
}

TEST_F(MovieToggleInFrame, ModifiedClicks) {
  const long C = L | kModCommand, CS = C | kModShift;
  struct Case {
    const char* name;
    long buttons;
    long answer;
    std::vector<Event> expected;
    float value;
  };
  const Case cases[] = {
      // The command-click sets the default, 0.5, which counts as on.
      {"command click sets the default", C, 0,
       {modifierClick(kTag, C), begin(kTag), changed(kTag, 0.5f), end(kTag)}, 0.5f},
      {"learn gesture taken", CS, 1, {modifierClick(kTag, CS)}, 0.0f},
      {"right button", kMouseRight, 0, {}, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    toggle->setValue(0.0f);
    events().clear();
    listener.modifierAnswer = c.answer;
    pressWith(c.buttons, {{kInside, c.buttons}, {kInside, 0}});
    EXPECT_EQ(events(), c.expected);
    EXPECT_EQ(toggle->getValue(), c.value);
  }
}

}  // namespace
