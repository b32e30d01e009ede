// The three-state rocker: which half gives which value in both styles, the
// reports while held and at the release, sliding off, the wheel, and the
// frame drawn for each value.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/controls/crockerswitch.h"
#include "gui/controls/cstyles.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

constexpr long kTag = 5;
const CRect kPlace(20, 30, 40, 50);  // 20 × 20

struct Rocker : ControlFixture {
  CBitmap* strip = makeStrip(20, 20, 3);
  CPoint origin;
  CRockerSwitch* make(long style) {
    return add(new CRockerSwitch(kPlace, &listener, kTag, strip, origin, style));
  }
  void TearDown() override {
    ControlFixture::TearDown();
    strip->forget();
  }
  static CPoint at(long dx, long dy) { return CPoint(kPlace.left + dx, kPlace.top + dy); }
};

TEST_F(Rocker, EachHalfRocksItOneWayAndTheReleaseBringsItBack) {
  struct Case {
    long style;
    CPoint where;
    float held;
  };
  const Case cases[] = {
      {kHorizontal, at(2, 10), -1.0f}, {kHorizontal, at(9, 10), -1.0f},
      {kHorizontal, at(10, 10), 1.0f}, {kHorizontal, at(19, 3), 1.0f},
      {0, at(2, 10), -1.0f},  // horizontal without the bit
      {kVertical, at(10, 2), 1.0f},    {kVertical, at(10, 9), 1.0f},
      {kVertical, at(10, 10), -1.0f},  {kVertical, at(3, 19), -1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " at " << c.where.x << ", "
                                    << c.where.y);
    auto* rocker = make(c.style);
    settle();
    press(c.where, kMouseLeft);
    EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), changed(kTag, c.held), idled(),
                                            changed(kTag, 0.0f), end(kTag)}));
    EXPECT_EQ(rocker->getValue(), 0.0f);
    frame->removeView(rocker);
  }
}

TEST_F(Rocker, FollowsThePointerWhileHeld) {
  auto* rocker = make(kHorizontal);
  settle();
  // left half, right half, off the control, back to the left, let go off it
  press(at(5, 5), kMouseLeft,
        dragScript(at(5, 5), {at(6, 5), at(15, 5), at(40, 5), at(3, 5), at(-8, 5)}, kMouseLeft));
  EXPECT_EQ(reportedValues(), (std::vector<float>{-1.0f, 1.0f, 0.0f, -1.0f, 0.0f, 0.0f}));
  EXPECT_EQ(rocker->getValue(), 0.0f);
}

TEST_F(Rocker, TheWheelRocksItOnceTowardItsDirection) {
  auto* rocker = make(kVertical);
  struct Case {
    float distance;
    bool taken;
    std::vector<float> reported;
  };
  const Case cases[] = {
      {3.0f, true, {1.0f, 0.0f}},
      {-0.5f, true, {-1.0f, 0.0f}},
      {0.0f, false, {}},
      {std::nanf(""), false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "distance " << c.distance);
    events().clear();
    EXPECT_EQ(rocker->onWheel(nullptr, at(5, 5), c.distance), c.taken);
    EXPECT_EQ(reportedValues(), c.reported);
    EXPECT_EQ(rocker->getValue(), 0.0f);
    if (!c.reported.empty()) {
      EXPECT_EQ(events().front(), begin(kTag));
      EXPECT_EQ(events().back(), end(kTag));
    }
  }
  rocker->setMouseEnabled(false);
  EXPECT_FALSE(rocker->onWheel(nullptr, at(5, 5), 1.0f));
}

TEST_F(Rocker, ValueChoosesTheFrame) {
  auto* rocker = make(kHorizontal);
  struct Case {
    float value;
    long frame;
  };
  const Case cases[] = {{-1.0f, 0}, {0.0f, 1}, {1.0f, 2}, {-0.3f, 0}, {0.3f, 2},
                        {std::nanf(""), 1}, {std::numeric_limits<float>::infinity(), 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    rocker->setValue(c.value);
    Surface surface(60, 60, kGround);
    Context context(surface);
    rocker->draw(context);
    EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.left, kPlace.top)), c.frame);
    EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.right - 1, kPlace.bottom - 1)), c.frame);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.bottom), kGround);
  }
}

TEST_F(Rocker, LongFormTakesTheFrameHeight) {
  // Frames of 8 rows in a control 20 high: frame 2 and nothing under it.
  CBitmap* small = makeStrip(20, 8, 3);
  auto* rocker = add(new CRockerSwitch(kPlace, &listener, kTag, 8, small, origin, kHorizontal));
  small->forget();
  rocker->setValue(1.0f);
  Surface surface(60, 60, kGround);
  Context context(surface);
  rocker->draw(context);
  EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.left, kPlace.top + 7)), 2);
  EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top + 8), kGround);
}

TEST_F(Rocker, ModifiedPressesGoToTheListenerFirst) {
  auto* rocker = make(kHorizontal);
  settle();
  listener.modifierAnswer = 1;
  press(at(2, 2), kMouseLeft | kModCommand);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, kMouseLeft | kModCommand)}));
  events().clear();
  listener.modifierAnswer = 0;
  press(at(2, 2), kMouseLeft | kModCommand);
  EXPECT_EQ(reportedValues(), (std::vector<float>{-1.0f, 0.0f}));
  EXPECT_TRUE(rocker->isTypeOf("CRockerSwitch"));
  EXPECT_TRUE(rocker->isTypeOf("CControl"));
}

}  // namespace
