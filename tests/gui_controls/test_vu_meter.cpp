// The level meter: lit segments for each value in both orientations, the
// fall of 0.1 per drawing, meters without steps, transparency and the
// offscreen path.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/controls/cstyles.h"
#include "gui/controls/cvumeter.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

const CColor kOn = stripColor(2);
const CColor kOff = stripColor(7);
// 4 × 20 vertical and 20 × 4 horizontal meters, 10 segments of 2 pixels.
const CRect kTall(10, 10, 14, 30);
const CRect kWide(20, 10, 40, 14);

struct VuMeter : ControlFixture {
  CBitmap* on = makePicture(20, 20, kOn);
  CBitmap* off = makePicture(20, 20, kOff);
  void TearDown() override {
    ControlFixture::TearDown();
    on->forget();
    off->forget();
  }
  CVuMeter* make(long style, long segments = 10) {
    return add(new CVuMeter(style & kHorizontal ? kWide : kTall, on, off, segments, style));
  }
  // Lit pixels along the meter as drawn (from the bottom or the left); -1
  // when the lit part is not one run from that end or something else shows.
  static long drawnLit(CVuMeter* meter, bool* drewOutside = nullptr) {
    Surface surface(60, 40, kGround);
    {
      Context context(surface);
      meter->draw(context);
    }
    CRect place;
    meter->getViewSize(place);
    const bool horizontal = meter->getStyle() & kHorizontal;
    const long length = horizontal ? place.width() : place.height();
    long lit = 0;
    bool ended = false;
    for (long i = 0; i < length; ++i) {
      const CColor c = horizontal ? surface.pixel(place.left + i, place.top + 1)
                                  : surface.pixel(place.left + 1, place.bottom - 1 - i);
      if (c == kOn && !ended)
        ++lit;
      else if (c == kOff)
        ended = true;
      else
        return -1;
    }
    if (drewOutside)
      *drewOutside = surface.pixel(place.left - 1, place.top) != kGround ||
                     surface.pixel(place.right, place.bottom - 1) != kGround ||
                     surface.pixel(place.left, place.top - 1) != kGround ||
                     surface.pixel(place.left, place.bottom) != kGround;
    return lit;
  }
};

TEST_F(VuMeter, LevelLightsWholeSegments) {
  struct Case {
    long style;
    float value;
    long lit;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {kVertical, 0.5f, 10},  {kVertical, 0.44f, 8},  // 4.4 segments → 4
      {kVertical, 0.46f, 10},                         // 4.6 → 5
      {kVertical, 1.0f, 20},  {kVertical, 3.0f, 20},  {kVertical, inf, 20},
      {kVertical, 0.04f, 0},  {kVertical, -1.0f, 0},  {kVertical, std::nanf(""), 0},
      {0, 0.5f, 10},  // vertical by default
      {kHorizontal, 0.3f, 6}, {kHorizontal, 1.0f, 20}, {kHorizontal, 0.0f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " value " << c.value);
    CVuMeter* meter = make(c.style);
    meter->setValue(c.value);
    bool outside = true;
    EXPECT_EQ(drawnLit(meter, &outside), c.lit);
    EXPECT_FALSE(outside);
    frame->removeView(meter);
  }
}

TEST_F(VuMeter, FallsBackATenthPerDrawingAndRisesAtOnce) {
  CVuMeter* meter = make(kVertical);
  meter->setValue(1.0f);
  EXPECT_EQ(drawnLit(meter), 20);
  meter->setValue(0.25f);
  std::vector<long> falling;
  while (meter->isDirty() && falling.size() < 20) falling.push_back(drawnLit(meter));
  // 0.9 ... 0.3, which already shows as the value does (2.5 segments round
  // to 3): no drawing that would change nothing
  EXPECT_EQ(falling, (std::vector<long>{18, 16, 14, 12, 10, 8, 6}));
  meter->setValue(0.8f);
  EXPECT_TRUE(meter->isDirty());
  EXPECT_EQ(drawnLit(meter), 16);
  // a slower fall
  meter->setDecreaseStepValue(0.3f);
  meter->setValue(0.0f);
  EXPECT_EQ(drawnLit(meter), 10);
  EXPECT_EQ(drawnLit(meter), 4);
  EXPECT_EQ(drawnLit(meter), 0);
  EXPECT_FALSE(meter->isDirty());
}

TEST_F(VuMeter, TheFrameKeepsRedrawingAFallingMeterAtIdle) {
  CVuMeter* meter = make(kVertical);
  meter->setValue(0.5f);
  settle();
  meter->setValue(0.0f);
  int passes = 0;
  while (meter->isDirty() && passes < 20) {
    editor->idle();
    ++passes;
  }
  EXPECT_EQ(passes, 5);
  EXPECT_LT(meter->getShownLevel(), 0.05f);
}

TEST_F(VuMeter, WithoutSegmentsEveryPixelIsAStep) {
  for (long segments : {0L, -3L}) {
    SCOPED_TRACE(testing::Message() << segments << " segments");
    CVuMeter* meter = make(kVertical, segments);
    meter->setValue(0.33f);  // 6.6 of 20 pixels
    EXPECT_EQ(drawnLit(meter), 7);
    frame->removeView(meter);
  }
  // more segments than pixels: the lit length still lands on pixels
  CVuMeter* fine = make(kVertical, 1000);
  fine->setValue(0.5f);
  EXPECT_EQ(drawnLit(fine), 10);
}

TEST_F(VuMeter, OffscreenDrawingLooksTheSameAndKeepsTransparency) {
  // Pictures with a key-coloured hole at the top-left pixel of the meter.
  CBitmap* holedOn = makePattern(20, 20, [](long x, long y) {
    return x == 0 && y == 0 ? kWhiteCColor : kOn;
  });
  CBitmap* holedOff = makePattern(20, 20, [](long x, long y) {
    return x == 0 && y == 0 ? kWhiteCColor : kOff;
  });
  for (bool offscreen : {false, true}) {
    for (bool transparent : {false, true}) {
      SCOPED_TRACE(testing::Message() << (offscreen ? "offscreen" : "direct")
                                      << (transparent ? " transparent" : ""));
      CVuMeter* meter = add(new CVuMeter(kTall, holedOn, holedOff, 10, kVertical));
      meter->setUseOffscreen(offscreen);
      meter->setTransparency(transparent);
      meter->setValue(0.5f);
      Surface surface(60, 40, kGround);
      {
        Context context(surface);
        meter->draw(context);
      }
      EXPECT_EQ(surface.pixel(kTall.left, kTall.top), transparent ? kGround : kWhiteCColor);
      EXPECT_EQ(surface.pixel(kTall.left + 1, kTall.top + 9), kOff);
      EXPECT_EQ(surface.pixel(kTall.left + 1, kTall.top + 10), kOn);
      EXPECT_EQ(surface.pixel(kTall.right - 1, kTall.bottom - 1), kOn);
      EXPECT_EQ(surface.pixel(kTall.right, kTall.bottom - 1), kGround);
      EXPECT_EQ(surface.pixel(kTall.left, kTall.bottom), kGround);
      frame->removeView(meter);
    }
  }
  holedOn->forget();
  holedOff->forget();
}

TEST_F(VuMeter, MissingPicturesAndTheMouse) {
  auto* meter = add(new CVuMeter(kTall, nullptr, off, 10, kVertical));
  meter->setValue(0.5f);
  Surface surface(60, 40, kGround);
  {
    Context context(surface);
    meter->draw(context);
  }
  EXPECT_EQ(surface.pixel(kTall.left + 1, kTall.bottom - 1), kGround);
  EXPECT_EQ(surface.pixel(kTall.left + 1, kTall.top), kOff);
  press(CPoint(kTall.left + 1, kTall.top + 1), kMouseLeft);
  EXPECT_EQ(meter->getValue(), 0.5f);
  EXPECT_TRUE(meter->isTypeOf("CVuMeter"));
  EXPECT_TRUE(meter->isTypeOf("CControl"));
}

}  // namespace
