// The momentary button: the value while held over it and off it, the
// release report, and the frame drawn for each value.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/controls/ckickbutton.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

constexpr long kTag = 1;
const CRect kPlace(20, 30, 36, 42);

struct KickButton : ControlFixture {
  CBitmap* strip = makeStrip(16, 12, 2);
  CPoint origin;
  CKickButton* kick = nullptr;
  void SetUp() override {
    ControlFixture::SetUp();
    kick = add(new CKickButton(kPlace, &listener, kTag, strip, origin));
    settle();
  }
  void TearDown() override {
    ControlFixture::TearDown();
    strip->forget();
  }
  static CPoint at(long dx, long dy) { return CPoint(kPlace.left + dx, kPlace.top + dy); }
};

TEST_F(KickButton, HeldOverItTheValueFlipsAndTheReleaseSetsZero) {
  struct Case {
    const char* name;
    float before;
    std::vector<CPoint> moves;
    std::vector<float> reported;
  };
  const Case cases[] = {
      {"click", 0.0f, {}, {1.0f, 0.0f}},
      {"off and back", 0.0f, {at(40, 2), at(3, 3)}, {1.0f, 0.0f, 1.0f, 0.0f}},
      // the release is always reported, even off the control
      {"let go outside", 0.0f, {at(-5, 2)}, {1.0f, 0.0f, 0.0f}},
      // set on from outside: held shows off, the release reports 0 again
      {"from on", 1.0f, {at(40, 2)}, {0.0f, 1.0f, 0.0f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kick->setValue(c.before);
    events().clear();
    press(at(2, 2), kMouseLeft, dragScript(at(2, 2), c.moves, kMouseLeft));
    EXPECT_EQ(reportedValues(), c.reported);
    EXPECT_EQ(events().front(), begin(kTag));
    EXPECT_EQ(events().back(), end(kTag));
    EXPECT_EQ(kick->getValue(), 0.0f);
  }
}

TEST_F(KickButton, ValueChoosesTheFrame) {
  struct Case {
    float value;
    long frame;
  };
  const Case cases[] = {{0.0f, 0}, {1.0f, 1}, {0.3f, 1}, {-1.0f, 1}, {std::nanf(""), 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    kick->setValue(c.value);
    Surface surface(60, 60, kGround);
    Context context(surface);
    kick->draw(context);
    EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.left, kPlace.top)), c.frame);
    EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.right - 1, kPlace.bottom - 1)), c.frame);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.bottom), kGround);
  }
}

TEST_F(KickButton, OnlyThePrimaryButtonKicksAndModifiersGoToTheListenerFirst) {
  press(at(2, 2), kMouseRight);
  EXPECT_TRUE(events().empty());
  listener.modifierAnswer = 1;
  press(at(2, 2), kMouseLeft | kModShift);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, kMouseLeft | kModShift)}));
  EXPECT_TRUE(kick->isTypeOf("CKickButton"));
  EXPECT_TRUE(kick->isTypeOf("CControl"));
}

}  // namespace
