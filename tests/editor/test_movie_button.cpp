// The two-frame button: the frame it shows, and how a press toggles it while
// following the pointer until the buttons change.
#include <gtest/gtest.h>

#include "control_test_support.h"
#include "editor/cmoviebutton.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr CColor kGround = {60, 60, 60, 255};
constexpr long kTag = 4;
const CRect kPlace(30, 40, 50, 50);  // 20 × 10: one frame
const CPoint kInside(40, 45);
const CPoint kOutside(100, 100);
constexpr long L = kMouseLeft;

TEST(MovieButtonDrawing, ValueZeroShowsTheFirstFrameAnythingElseTheSecond) {
  CBitmap* strip = makeStrip(20, 10, 2);
  CPoint offset(7, 9);
  auto* button = new CMovieButton(kPlace, nullptr, kTag, 10, strip, offset);
  EXPECT_EQ(button->getBackgroundOffset(), CPoint(7, 9));
  EXPECT_EQ(button->getFrameHeight(), 10);
  EXPECT_EQ(button->getPressState(), 0.0f);
  struct Case {
    float value;
    long frame;
    float after;  // drawing brings the value into range first
  };
  for (const Case& c : {Case{0.0f, 0, 0.0f}, Case{1.0f, 1, 1.0f}, Case{0.3f, 1, 0.3f},
                        Case{2.0f, 1, 1.0f}, Case{-1.0f, 0, 0.0f}}) {
    SCOPED_TRACE(c.value);
    Surface surface(60, 60, kGround);
    Context context(surface);
    button->setValue(c.value);
    button->draw(context);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top), stripColor(c.frame));
    EXPECT_EQ(surface.pixel(kPlace.right - 1, kPlace.bottom - 1), stripColor(c.frame));
    EXPECT_EQ(surface.pixel(kPlace.right, kPlace.top), kGround);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.bottom), kGround);
    EXPECT_EQ(button->getValue(), c.after);
    EXPECT_EQ(button->getPressState(), c.after);
    EXPECT_FALSE(button->isDirty());
  }
  button->forget();
  strip->forget();
}

struct MovieButtonInFrame : EditorFixture {
  CBitmap* strip = nullptr;
  CMovieButton* button = nullptr;
  void SetUp() override {
    EditorFixture::SetUp();
    strip = makeStrip(20, 10, 2);
    CPoint offset;
    button = add(new CMovieButton(kPlace, &listener, kTag, 10, strip, offset));
    drawAll();
  }
  void TearDown() override {
    editor->close();
    // The frame let the button go, and the button its picture.
    EXPECT_EQ(strip->getNbReference(), 1);
    strip->forget();
    EditorFixture::TearDown();
  }
};

TEST_F(MovieButtonInFrame, PressTogglesWhileOverItAndReportsEachChange) {
  struct Case {
    const char* name;
    float entry;
    std::vector<ScriptedPointer::Step> script;  // from the press on
    std::vector<float> reports;
    float final;
  };
  const Case cases[] = {
      {"click", 0.0f, {{kInside, L}, {kInside, 0}}, {1.0f}, 1.0f},
      {"click when on", 1.0f, {{kInside, L}, {kInside, 0}}, {0.0f}, 0.0f},
      {"held a while",
       0.0f,
       {{kInside, L}, {kInside, L}, {kInside, L}, {kInside, 0}},
       {1.0f},
       1.0f},
      {"released outside",
       0.0f,
       {{kInside, L}, {kOutside, L}, {kOutside, L}, {kOutside, 0}},
       {1.0f, 0.0f},
       0.0f},
      {"out and back in",
       0.0f,
       {{kInside, L}, {kOutside, L}, {kInside, L}, {kInside, L}, {kInside, 0}},
       {1.0f, 0.0f, 1.0f},
       1.0f},
      {"on the far corner", 0.0f, {{CPoint(50, 50), L}, {CPoint(50, 50), 0}}, {1.0f}, 1.0f},
      // A modifier pressed while holding ends the wait as a release does.
      {"shift while held",
       0.0f,
       {{kInside, L}, {kInside, L | kModShift}, {kOutside, 0}},
       {1.0f},
       1.0f},
      // Released before the button looked: a plain toggle.
      {"already released", 0.0f, {{kInside, 0}}, {1.0f}, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    button->setValue(c.entry);
    drawAll();
    events().clear();
    press(c.script[0].where, L, c.script);
    EXPECT_EQ(eventLog().reportedValues(), c.reports);
    EXPECT_EQ(button->getValue(), c.final);
    EXPECT_EQ(button->getPressState(), c.final);
    // One edit gesture around all of it.
    ASSERT_FALSE(events().empty());
    EXPECT_EQ(events().front(), begin(kTag));
    EXPECT_EQ(events().back(), end(kTag));
  }
}

TEST_F(MovieButtonInFrame, HeldButtonKeepsTheWindowAliveAndIsRedrawnMeanwhile) {
  press(kInside, L, {{kInside, L}, {kInside, L}, {kInside, 0}});
  EXPECT_GE(editor->idleStuffCalls, 2);
  // The idle passes drew the new state.
  EXPECT_EQ(framePixel(kPlace.left, kPlace.top), stripColor(1));
}

TEST_F(MovieButtonInFrame, OnlyTheLeftButtonToggles) {
  for (long buttons : {long{kMouseRight}, long{kMouseMiddle}, kMouseRight | kModShift}) {
    press(kInside, buttons);
    EXPECT_EQ(button->getValue(), 0.0f);
  }
  // The right button with shift was offered as a modified click, nothing more.
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, kMouseRight | kModShift)}));
}

TEST_F(MovieButtonInFrame, ModifiedClickIsOfferedFirstAndCommandClickTogglesAsAPlainOne) {
  // The listener passes: the button has no default value to go back to.
  press(kInside, L | kModCommand, {{kInside, L | kModCommand}, {kInside, 0}});
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, L | kModCommand), begin(kTag),
                                          changed(kTag, 1.0f), end(kTag)}));
  // The listener takes the learn gesture: nothing else happens.
  events().clear();
  listener.modifierAnswer = 1;
  press(kInside, L | kModCommand | kModShift);
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, L | kModCommand | kModShift)}));
}

TEST_F(MovieButtonInFrame, DisabledButtonIgnoresPresses) {
  button->setMouseEnabled(false);
  CPoint where = kInside;
  button->mouse(nullptr, where, L);
  EXPECT_EQ(button->getValue(), 0.0f);
  EXPECT_TRUE(events().empty());
}

TEST_F(MovieButtonInFrame, ButtonsNotGivenAreReadFromThePointer) {
  pointer.script({{kInside, L}, {kInside, 0}});
  CPoint where = kInside;
  button->mouse(nullptr, where, -1);
  EXPECT_EQ(button->getValue(), 1.0f);
  EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), changed(kTag, 1.0f), end(kTag)}));
}

TEST_F(MovieButtonInFrame, WithTheEditorsOwnPacingTheHostSeesOneGesture) {
  editor->realPacing = true;
  press(kInside, L, {{kInside, L}, {kInside, L}, {kInside, 0}});
  EXPECT_EQ(button->getValue(), 1.0f);
  int begins = 0, ends = 0;
  for (const Event& e : events()) {
    begins += e == begin(kTag);
    ends += e == end(kTag);
  }
  EXPECT_EQ(begins, 1);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(events().front(), begin(kTag));
  EXPECT_EQ(events().back(), end(kTag));
}

}  // namespace
