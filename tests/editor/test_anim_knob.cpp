// The strip knob: which frame of its picture strip it shows for a value,
// where it puts it, transparency, when it counts as due for drawing, and
// strips that make no sense.
#include <gtest/gtest.h>

#include <cmath>

#include "control_test_support.h"
#include "editor/canimknob.h"
#include "gui/cbitmap.h"
#include "gui/coffscreen_context.h"

using namespace controltest;

namespace {

constexpr CColor kGround = {60, 60, 60, 255};

// The editor's knobs: 36 frames of 161 pixels (narrower here, the width does
// not matter to the choice).
constexpr long kFrames = 36;
constexpr long kFrameHeight = 161;
constexpr long kWidth = 8;
// Placed away from the surface's corner to see that the frame lands there.
const CRect kPlace(10, 20, 10 + kWidth, 20 + kFrameHeight);

struct StripKnob : ::testing::Test {
  CBitmap* strip = makeStrip(kWidth, kFrameHeight, kFrames);
  CPoint offset;
  CAnimKnob* knob = new CAnimKnob(kPlace, nullptr, 0, kFrames, kFrameHeight, strip, offset);
  Surface surface{40, 200, kGround};

  void TearDown() override {
    knob->forget();
    EXPECT_EQ(strip->getNbReference(), 1);
    strip->forget();
  }
  // The strip frame drawn over the knob's whole rectangle, -1 when the
  // rectangle is not one frame's colour throughout, -2 when nothing was drawn.
  long drawnFrame() {
    Context context(surface);
    knob->draw(context);
    const CColor first = surface.pixel(kPlace.left, kPlace.top);
    if (first == kGround) return -2;
    for (CPoint p :
         {CPoint(kPlace.right - 1, kPlace.top), CPoint(kPlace.left, kPlace.bottom - 1),
          CPoint(kPlace.right - 1, kPlace.bottom - 1), CPoint(kPlace.left + 4, kPlace.top + 80)})
      if (surface.pixel(p.x, p.y) != first) return -1;
    return stripFrameOf(first);
  }
  // Nothing was drawn around the rectangle.
  void expectNothingOutside() {
    for (CPoint p : {CPoint(kPlace.left - 1, kPlace.top), CPoint(kPlace.right, kPlace.top),
                     CPoint(kPlace.left, kPlace.top - 1), CPoint(kPlace.left, kPlace.bottom)})
      EXPECT_EQ(surface.pixel(p.x, p.y), kGround) << p.x << ", " << p.y;
  }
};

TEST_F(StripKnob, ValueChoosesTheFrame) {
  struct Case {
    float value;
    bool inverse;
    long frame;
  };
  const Case cases[] = {
      {0.0f, false, 0},   {0.5f, false, 17},         {0.99f, false, 34},
      {1.0f, false, 35},   // the last frame only at exactly the maximum
      {0.028f, false, 0},  // 157.8 px into the strip
      {0.03f, false, 1},   // 169.1 px
      {-0.5f, false, 0},  {std::nanf(""), false, 0}, {0.0f, true, 35},
      {1.0f, true, 0},    {0.25f, true, 26},  // (1 - 0.25) × 5635 = 4226.25 px
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value << (c.inverse ? " inverse" : ""));
    knob->setInverseBitmap(c.inverse);
    knob->setValue(c.value);
    EXPECT_EQ(drawnFrame(), c.frame);
    EXPECT_EQ(knob->frameOffset(), c.frame * kFrameHeight);
    expectNothingOutside();
  }
}

TEST_F(StripKnob, ValuePastTheLastFrameIsNotSnappedToAFrame) {
  // Not clamped before drawing: 1.01 points 56 pixels below the last frame's
  // top, so the last frame shows shifted up and the rest stays undrawn.
  knob->setValue(1.01f);
  EXPECT_EQ(drawnFrame(), -1);
  EXPECT_EQ(knob->frameOffset(), 5691);
  EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top), stripColor(35));
  EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top + 5796 - 5691), kGround);
  expectNothingOutside();
}

TEST_F(StripKnob, ValuePastTheStripDrawsNothing) {
  // 2.0 points a whole strip further down.
  knob->setValue(2.0f);
  EXPECT_EQ(drawnFrame(), -2);
  knob->setValue(1e30f);
  EXPECT_EQ(drawnFrame(), -2);
  expectNothingOutside();
  EXPECT_FALSE(knob->isDirty());
}

TEST_F(StripKnob, TransparentKnobLeavesTheKeyColourOut) {
  // Frame 0 of a strip of our own, with a white square in it.
  auto* offscreen = new COffscreenContext(nullptr, kWidth, 2 * kFrameHeight, stripColor(3));
  offscreen->setFillColor(kWhiteCColor);
  offscreen->fillRect(CRect(2, 2, 4, 4));
  CBitmap* keyed = offscreen->getBitmap();
  keyed->remember();
  offscreen->forget();
  knob->setBackground(keyed);
  keyed->forget();
  knob->setValue(0.0f);
  for (bool transparent : {false, true}) {
    knob->setTransparency(transparent);
    Surface fresh(40, 200, kGround);
    Context context(fresh);
    knob->draw(context);
    EXPECT_EQ(fresh.pixel(kPlace.left + 3, kPlace.top + 3), transparent ? kGround : kWhiteCColor);
    EXPECT_EQ(fresh.pixel(kPlace.left + 5, kPlace.top + 5), stripColor(3));
  }
}

TEST_F(StripKnob, WithoutAPictureNothingIsDrawnButTheStateMovesOn) {
  knob->setBackground(nullptr);
  knob->setValue(0.3f);
  EXPECT_EQ(drawnFrame(), -2);
  EXPECT_FALSE(knob->isDirty());
  CPoint expected;
  knob->valueToPoint(expected);
  EXPECT_EQ(knob->getLastDrawnPoint(), expected);
}

TEST_F(StripKnob, DueForDrawingOnlyWhenTheHandleMovesAPixel) {
  // New, and marked by its own construction.
  EXPECT_TRUE(knob->isDirty());
  knob->setValue(0.3f);
  drawnFrame();
  EXPECT_FALSE(knob->isDirty());
  // A change too small to move the handle point is not worth a drawing.
  knob->setValue(0.3001f);
  EXPECT_FALSE(knob->isDirty());
  knob->setValue(0.4f);
  EXPECT_TRUE(knob->isDirty());
  knob->setValue(0.3f);
  EXPECT_FALSE(knob->isDirty());
  // Marked: due whatever the value does.
  knob->setDirty(true);
  EXPECT_TRUE(knob->isDirty());
  drawnFrame();
  EXPECT_FALSE(knob->isDirty());
}

TEST(StripKnobShapes, StripsWithoutFramesToChooseDrawTheTopAndReturn) {
  CBitmap* strip = makeStrip(kWidth, 10, 3);
  CPoint offset;
  struct Case {
    long frames;
    long height;
  };
  for (const Case& c : {Case{3, 0}, Case{0, 10}, Case{1, 10}, Case{-4, 10}, Case{3, -10}}) {
    SCOPED_TRACE(testing::Message() << c.frames << " frames of " << c.height);
    auto* knob =
        new CAnimKnob(CRect(0, 0, kWidth, 10), nullptr, 0, c.frames, c.height, strip, offset);
    Surface surface(kWidth, 10, kGround);
    Context context(surface);
    for (float v : {0.0f, 0.7f, 1.0f, 5.0f}) {
      knob->setValue(v);
      knob->draw(context);
      EXPECT_EQ(knob->frameOffset(), 0);
      EXPECT_EQ(surface.pixel(1, 1), stripColor(0));
    }
    knob->forget();
  }
  strip->forget();
}

// ---- in the frame ----

struct StripKnobInFrame : EditorFixture {};

TEST_F(StripKnobInFrame, ValueSetFromOutsideIsDrawnAtTheNextIdle) {
  CBitmap* strip = makeStrip(kWidth, kFrameHeight, kFrames);
  CPoint offset;
  CRect place(100, 0, 100 + kWidth, kFrameHeight - 20);  // the frame is 150 high
  auto* knob = add(new CAnimKnob(place, &listener, 1, kFrames, kFrameHeight, strip, offset));
  strip->forget();
  drawAll();
  EXPECT_EQ(framePixel(101, 5), stripColor(0));
  // The effect moves the knob: nothing is drawn, nothing reported...
  knob->setValue(1.0f);
  EXPECT_EQ(framePixel(101, 5), stripColor(0));
  EXPECT_TRUE(events().empty());
  // ...until the host's idle.
  editor->idle();
  EXPECT_EQ(framePixel(101, 5), stripColor(35));
  EXPECT_FALSE(knob->isDirty());
  // Nothing in the frame is due any more.
  EXPECT_FALSE(frame->isDirty());
}

}  // namespace
