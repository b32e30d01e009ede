// The strip meter: which frame it shows for a value, with frames reserved at
// the end of the strip for the inactive and the overload look.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/family/cmoviemeter.h"
#include "family_test_support.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr CColor kGround = {60, 60, 60, 255};
const CRect kPlace(10, 20, 30, 30);  // frames of 20 × 10

// The strip frame drawn over the whole control, -2 when nothing was drawn.
long drawnFrame(CMovieMeter* meter) {
  Surface surface(50, 50, kGround);
  Context context(surface);
  meter->draw(context);
  const CColor c = surface.pixel(kPlace.left, kPlace.top);
  EXPECT_EQ(surface.pixel(kPlace.right - 1, kPlace.bottom - 1), c);
  EXPECT_EQ(surface.pixel(kPlace.left, kPlace.bottom), kGround);
  return c == kGround ? -2 : stripFrameOf(c);
}

TEST(MovieMeter, ValueChoosesAmongTheFramesNotReserved) {
  struct Case {
    bool inactiveFrame, overloadFrame;
    bool active;
    float value;
    long frame;
  };
  const Case cases[] = {
      // 8 frames, none reserved: truncate(7 × value + 0.5)
      {false, false, true, 0.0f, 0},
      {false, false, true, 0.07f, 0},
      {false, false, true, 0.08f, 1},
      {false, false, true, 0.5f, 4},
      {false, false, true, 1.0f, 7},
      {false, false, true, 1.5f, 7},
      {false, false, true, -1.0f, 0},
      {false, false, true, std::nanf(""), 0},
      {false, false, false, 0.8f, 0},  // inactive without a frame of its own: empty
      // one reserved: truncate(6 × value + 0.5)
      {false, true, true, 0.5f, 3},
      {false, true, true, 1.0f, 6},
      {false, true, true, 1.01f, 7},
      {true, false, true, 1.0f, 6},
      {true, false, false, 0.3f, 7},
      // both reserved: truncate(5 × value + 0.5), inactive 6, overload 7
      {true, true, true, 0.5f, 3},
      {true, true, true, 1.0f, 5},
      {true, true, true, INFINITY, 7},
      {true, true, false, 0.5f, 6},
      {true, true, false, 2.0f, 6},
  };
  CBitmap* strip = makeStrip(20, 10, 8);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.inactiveFrame ? "inactive frame, " : "")
                                    << (c.overloadFrame ? "overload frame, " : "")
                                    << (c.active ? "active, " : "inactive, ") << c.value);
    CPoint offset;
    auto* meter =
        new CMovieMeter(kPlace, nullptr, 0, strip, offset, c.inactiveFrame, c.overloadFrame);
    EXPECT_EQ(meter->getFrameCount(), 8);
    meter->setActive(c.active);
    meter->setValue(c.value);
    EXPECT_EQ(drawnFrame(meter), c.frame);
    // (A NaN value never counts as drawn, like in every control.)
    if (!std::isnan(c.value)) {
      EXPECT_FALSE(meter->isDirty());
    }
    // The value is kept, so a redraw shows the same.
    EXPECT_EQ(drawnFrame(meter), c.frame);
    meter->forget();
  }
  strip->forget();
}

TEST(MovieMeter, OffsetShiftsTheSourceIntoTheStrip) {
  CBitmap* strip = makeStrip(20, 10, 8);
  CPoint offset(0, 10);  // one frame down
  auto* meter = new CMovieMeter(kPlace, nullptr, 0, strip, offset, false, true);
  meter->setValue(0.0f);
  EXPECT_EQ(drawnFrame(meter), 1);
  meter->forget();
  strip->forget();
}

TEST(MovieMeter, ActivityChangeMarksForDrawing) {
  CBitmap* strip = makeStrip(20, 10, 8);
  CPoint offset;
  auto* meter = new CMovieMeter(kPlace, nullptr, 0, strip, offset, true, false);
  EXPECT_TRUE(meter->isActive());
  meter->setDirty(false);
  meter->setActive(true);
  EXPECT_FALSE(meter->isDirty());
  meter->setActive(false);
  EXPECT_TRUE(meter->isDirty());
  meter->forget();
  strip->forget();
}

TEST(MovieMeter, StripWithoutLevelFramesDrawsNothing) {
  struct Case {
    const char* name;
    long frames;
    bool inactiveFrame, overloadFrame;
  };
  for (Case c :
       {Case{"one frame, both reserved", 1, true, true},
        Case{"two frames, both reserved", 2, true, true}, Case{"no picture", 0, false, false}}) {
    SCOPED_TRACE(c.name);
    CBitmap* strip = c.frames ? makeStrip(20, 10, c.frames) : nullptr;
    CPoint offset;
    auto* meter =
        new CMovieMeter(kPlace, nullptr, 0, strip, offset, c.inactiveFrame, c.overloadFrame);
    for (float v : {0.0f, 0.5f, 1.0f, 3.0f}) {
      meter->setValue(v);
      EXPECT_EQ(drawnFrame(meter), -2);
    }
    meter->forget();
    if (strip) strip->forget();
  }
}

}  // namespace
