// The two-state button: which half of its picture it shows, how a press flips
// it, the order of report and redraw for both styles, and modifiers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gui/cbitmap.h"
#include "gui/controls/conoffbutton.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

constexpr long kTag = 3;
const CRect kPlace(20, 30, 36, 42);  // 16 × 12, each half of the picture 12 high

struct OnOffButton : ControlFixture {
  CBitmap* picture = makeStrip(16, 12, 2);
  COnOffButton* button = nullptr;

  void make(long style) {
    button = add(new COnOffButton(kPlace, &listener, kTag, picture, style));
  }
  void TearDown() override {
    ControlFixture::TearDown();
    picture->forget();
  }
};

TEST_F(OnOffButton, ShowsTheUpperHalfWhenOffAndTheLowerHalfWhenOn) {
  make(kPreListenerUpdate);
  struct Case {
    float value;
    long half;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {{0.0f, 0}, {1.0f, 1},   {0.49f, 0},          {0.5f, 1},
                        {7.0f, 1}, {-1.0f, 0}, {std::nanf(""), 0}, {inf, 1}, {-inf, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    button->setValue(c.value);
    Surface surface(60, 60, kGround);
    Context context(surface);
    button->draw(context);
    EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.left, kPlace.top)), c.half);
    EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.right - 1, kPlace.bottom - 1)), c.half);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.bottom), kGround);
  }
}

TEST_F(OnOffButton, ATallButtonNeverShowsTheOtherHalf) {
  // The control is higher than half the picture: the off look stops at the
  // half instead of running on into the on look.
  picture->forget();
  picture = makeStrip(16, 5, 2);
  make(kPreListenerUpdate);
  Surface surface(60, 60, kGround);
  Context context(surface);
  button->draw(context);
  EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.left, kPlace.top + 4)), 0);
  EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top + 5), kGround);
}

TEST_F(OnOffButton, TransparentButtonLeavesTheKeyColourOut) {
  picture->forget();
  picture = makePicture(16, 24, kWhiteCColor);
  make(kPreListenerUpdate);
  for (bool transparent : {false, true}) {
    button->setTransparency(transparent);
    Surface surface(60, 60, kGround);
    Context context(surface);
    button->draw(context);
    EXPECT_EQ(surface.pixel(kPlace.left + 2, kPlace.top + 2),
              transparent ? kGround : kWhiteCColor);
  }
}

TEST_F(OnOffButton, APressFlipsTheValueAndReportsAroundTheIdlePassAsTheStyleSays) {
  struct Case {
    long style;
    float before;
    float after;
  };
  const Case cases[] = {
      {kPreListenerUpdate, 0.0f, 1.0f},  {kPreListenerUpdate, 1.0f, 0.0f},
      {kPostListenerUpdate, 0.0f, 1.0f}, {kPostListenerUpdate, 1.0f, 0.0f},
      {kPreListenerUpdate, 0.7f, 0.0f},  // on from outside, a press lands on exactly 0
      {kPostListenerUpdate, std::nanf(""), 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " from " << c.before);
    if (button) frame->removeView(button);
    make(c.style);
    button->setValue(c.before);
    events().clear();
    press(CPoint(kPlace.left + 3, kPlace.top + 3), kMouseLeft);
    EXPECT_EQ(button->getValue(), c.after);
    const std::vector<Event> expected =
        c.style == kPreListenerUpdate
            ? std::vector<Event>{begin(kTag), changed(kTag, c.after), idled(), end(kTag)}
            : std::vector<Event>{begin(kTag), idled(), changed(kTag, c.after), end(kTag)};
    EXPECT_EQ(events(), expected);
    // the idle pass drew the new look
    EXPECT_FALSE(button->isDirty());
    EXPECT_EQ(button->getOldValue(), c.after);
  }
}

TEST_F(OnOffButton, ModifiedPressesGoToTheListenerFirst) {
  make(kPreListenerUpdate);
  struct Case {
    long buttons;
    long answer;
    float after;  // the button starts off
  };
  const Case cases[] = {
      {kMouseLeft | kModShift, 1, 0.0f},    // taken by the listener
      {kMouseLeft | kModShift, 0, 1.0f},    // left to the button: a plain flip
      {kMouseLeft | kModCommand, 0, 1.0f},  // no reset to the default: a flip
      {kMouseRight | kModOption, 0, 0.0f},  // not the primary button
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "buttons " << c.buttons << " answer " << c.answer);
    button->setValue(0.0f);
    listener.modifierAnswer = c.answer;
    events().clear();
    press(CPoint(kPlace.left + 1, kPlace.top + 1), c.buttons);
    ASSERT_FALSE(events().empty());
    EXPECT_EQ(events().front(), modifierClick(kTag, c.buttons));
    EXPECT_EQ(button->getValue(), c.after);
    EXPECT_EQ(reportedValues().size(), c.after != 0.0f ? 1u : 0u);
  }
}

TEST_F(OnOffButton, IgnoresOtherButtonsAndPressesWhileDisabled) {
  make(kPreListenerUpdate);
  press(CPoint(kPlace.left + 1, kPlace.top + 1), kMouseRight);
  button->setMouseEnabled(false);
  press(CPoint(kPlace.left + 1, kPlace.top + 1), kMouseLeft);
  EXPECT_EQ(button->getValue(), 0.0f);
  EXPECT_TRUE(events().empty());
}

TEST_F(OnOffButton, ButtonsMinusOneReadsTheCurrentState) {
  make(kPreListenerUpdate);
  pointer.script({{CPoint(kPlace.left + 1, kPlace.top + 1), kMouseLeft}});
  CPoint where(kPlace.left + 1, kPlace.top + 1);
  button->mouse(nullptr, where, -1);
  EXPECT_EQ(button->getValue(), 1.0f);
  pointer.script({{CPoint(kPlace.left + 1, kPlace.top + 1), kMouseRight}});
  button->mouse(nullptr, where, -1);
  EXPECT_EQ(button->getValue(), 1.0f);
}

TEST_F(OnOffButton, AnswersToItsOwnNameAndItsBases) {
  make(kPreListenerUpdate);
  for (const char* name : {"COnOffButton", "CControl", "CView"}) EXPECT_TRUE(button->isTypeOf(name));
  EXPECT_FALSE(button->isTypeOf("CMovieButton"));
  EXPECT_FALSE(button->isTypeOf(nullptr));
}

}  // namespace
