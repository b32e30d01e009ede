// The animation strip: clicks open and close it, stepping wraps at both
// ends, the frame drawn open and closed, and strips without frames.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/controls/cautoanimation.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

constexpr long kTag = 7;
const CRect kPlace(20, 30, 32, 40);  // frames of 10 rows

struct AutoAnimation : ControlFixture {
  CBitmap* strip = makeStrip(12, 10, 4);
  CPoint origin;
  CAutoAnimation* animation = nullptr;
  void SetUp() override {
    ControlFixture::SetUp();
    animation = add(new CAutoAnimation(kPlace, &listener, kTag, strip, origin));
    settle();
  }
  void TearDown() override {
    ControlFixture::TearDown();
    strip->forget();
  }
  // The strip frames at the top and bottom rows of the control.
  std::pair<long, long> drawnFrames() {
    Surface surface(60, 60, kGround);
    Context context(surface);
    animation->draw(context);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.bottom), kGround);
    return {stripFrameOf(surface.pixel(kPlace.left, kPlace.top)),
            stripFrameOf(surface.pixel(kPlace.left, kPlace.bottom - 1))};
  }
};

TEST_F(AutoAnimation, ClicksOpenAndCloseIt) {
  EXPECT_EQ(animation->getFrameCount(), 4);
  animation->setValue(20.0f);
  const CPoint at(kPlace.left + 1, kPlace.top + 1);
  press(at, kMouseLeft);
  EXPECT_TRUE(animation->isWindowOpened());
  EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), changed(kTag, 0.0f), end(kTag)}));
  animation->nextPixmap();
  events().clear();
  press(at, kMouseLeft);
  EXPECT_FALSE(animation->isWindowOpened());
  EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), changed(kTag, 10.0f), end(kTag)}));
}

TEST_F(AutoAnimation, SteppingWrapsAtBothEnds) {
  animation->openWindow();
  std::vector<float> forward;
  for (int i = 0; i < 5; ++i) {
    animation->nextPixmap();
    forward.push_back(animation->getValue());
  }
  EXPECT_EQ(forward, (std::vector<float>{10.0f, 20.0f, 30.0f, 0.0f, 10.0f}));
  std::vector<float> backward;
  for (int i = 0; i < 3; ++i) {
    animation->previousPixmap();
    backward.push_back(animation->getValue());
  }
  EXPECT_EQ(backward, (std::vector<float>{0.0f, 30.0f, 20.0f}));
}

TEST_F(AutoAnimation, OpenItDrawsTheFrameAtTheValuesOffsetClosedTheFirst) {
  struct Case {
    bool open;
    float value;
    long top;
    long bottom;
  };
  const Case cases[] = {
      {true, 0.0f, 0, 0},  {true, 20.0f, 2, 2},           {true, 15.0f, 1, 2},  // half way
      {true, 1e9f, 3, 3},  {true, std::nanf(""), 0, 0}, {true, -8.0f, 0, 0},
      {false, 20.0f, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.open ? "open " : "closed ") << c.value);
    if (c.open)
      animation->openWindow();
    else
      animation->closeWindow();
    animation->setValue(c.value);
    EXPECT_EQ(drawnFrames(), std::make_pair(c.top, c.bottom));
  }
}

TEST_F(AutoAnimation, StripsWithoutFramesDrawNothingAndStayAtZero) {
  for (long frames : {0L, 1L}) {
    SCOPED_TRACE(testing::Message() << frames << " frames");
    auto* still = add(new CAutoAnimation(kPlace, nullptr, 0, frames, 10, strip, origin));
    still->openWindow();
    still->nextPixmap();
    EXPECT_EQ(still->getValue(), 0.0f);
    still->previousPixmap();
    EXPECT_EQ(still->getValue(), 0.0f);
    Surface surface(60, 60, kGround);
    Context context(surface);
    still->draw(context);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top), frames == 0 ? kGround : stripColor(0));
    frame->removeView(still);
  }
  EXPECT_TRUE(animation->isTypeOf("CAutoAnimation"));
  EXPECT_TRUE(animation->isTypeOf("CControl"));
}

}  // namespace
