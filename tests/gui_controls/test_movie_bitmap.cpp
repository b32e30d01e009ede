// The display-only strip: which frame it shows for a value, the strip's
// layout in both constructor forms, strips that make no sense, and that it
// ignores the mouse.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gui/cbitmap.h"
#include "gui/controls/cmoviebitmap.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

const CRect kPlace(10, 20, 22, 30);  // 12 × 10

// The strip frame shown over the whole control; -1 when the control is not
// one frame's colour throughout, -2 when nothing was drawn.
long drawnFrame(CMovieBitmap* movie) {
  Surface surface(60, 60, kGround);
  {
    Context context(surface);
    movie->draw(context);
  }
  // never beyond the control
  for (CPoint p : {CPoint(kPlace.left - 1, kPlace.top), CPoint(kPlace.right, kPlace.top),
                   CPoint(kPlace.left, kPlace.bottom), CPoint(kPlace.left, kPlace.top - 1)})
    EXPECT_EQ(surface.pixel(p.x, p.y), kGround);
  const CColor first = surface.pixel(kPlace.left, kPlace.top);
  if (first == kGround) return -2;
  if (surface.pixel(kPlace.right - 1, kPlace.bottom - 1) != first) return -1;
  return stripFrameOf(first);
}

struct MovieBitmap : ControlFixture {
  CBitmap* strip = makeStrip(12, 10, 5);
  CPoint origin;
  void TearDown() override {
    ControlFixture::TearDown();
    strip->forget();
  }
};

TEST_F(MovieBitmap, ValueChoosesTheFrame) {
  auto* movie = add(new CMovieBitmap(kPlace, nullptr, 0, 5, 10, strip, origin));
  struct Case {
    float value;
    long frame;
    float storedAfter;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::nanf("");
  const Case cases[] = {
      {0.0f, 0, 0.0f},    {0.12f, 0, 0.12f},  // 4 × 0.12 + 0.5 = 0.98
      {0.125f, 1, 0.125f}, {0.5f, 2, 0.5f},  {0.874f, 3, 0.874f}, {1.0f, 4, 1.0f},
      {1.5f, 4, 1.0f},  // brought down to 1
      {inf, 4, 1.0f},     {-0.3f, 0, -0.3f}, {-inf, 0, -inf},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    movie->setValue(c.value);
    EXPECT_EQ(drawnFrame(movie), c.frame);
    EXPECT_EQ(movie->getValue(), c.storedAfter);
    EXPECT_FALSE(movie->isDirty());
  }
  movie->setValue(nan);
  EXPECT_EQ(drawnFrame(movie), 0);
}

TEST_F(MovieBitmap, OffsetShiftsTheSourceOfEveryFrame) {
  // One frame down: value 0 shows the strip's frame 1, value 1 its last one
  // (frames 1..4 of a four-frame layout).
  CPoint down(0, 10);
  auto* movie = add(new CMovieBitmap(kPlace, nullptr, 0, 4, 10, strip, down));
  movie->setValue(0.0f);
  EXPECT_EQ(drawnFrame(movie), 1);
  movie->setValue(1.0f);
  EXPECT_EQ(drawnFrame(movie), 4);
}

CColor tenRowBands(long x, long y) { return stripColor(y / 10); }

TEST_F(MovieBitmap, ShortFormFitsWholeFramesOfTheControlsHeight) {
  struct Case {
    long wholeFrames;
    long extraRows;  // a partial frame at the end of the picture
    long lastFrame;  // shown at value 1 (-2: nothing)
  };
  const Case cases[] = {{5, 0, 4}, {3, 7, 2}, {1, 0, 0}, {0, 7, -2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.wholeFrames << " frames + " << c.extraRows << " rows");
    CBitmap* picture = makePattern(12, 10 * c.wholeFrames + c.extraRows, tenRowBands);
    auto* movie = add(new CMovieBitmap(kPlace, nullptr, 0, picture, origin));
    picture->forget();
    EXPECT_EQ(movie->getFrameCount(), c.wholeFrames);
    EXPECT_EQ(movie->getFrameHeight(), kPlace.height());
    movie->setValue(1.0f);
    EXPECT_EQ(drawnFrame(movie), c.lastFrame);
    movie->setValue(0.0f);
    EXPECT_EQ(drawnFrame(movie), c.wholeFrames > 0 ? 0 : -2);
    frame->removeView(movie);
  }
}

TEST_F(MovieBitmap, StripsWithoutFramesDrawNothing) {
  struct Case {
    long frameCount;
    long frameHeight;
  };
  const Case cases[] = {{0, 10}, {-3, 10}, {5, 0}, {5, -10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frameCount << " frames of " << c.frameHeight);
    auto* movie = add(new CMovieBitmap(kPlace, nullptr, 0, c.frameCount, c.frameHeight, strip,
                                       origin));
    for (float v : {0.0f, 0.5f, 1.0f}) {
      movie->setValue(v);
      EXPECT_EQ(drawnFrame(movie), -2);
      EXPECT_FALSE(movie->isDirty());
    }
    frame->removeView(movie);
  }
}

TEST_F(MovieBitmap, FramesLowerThanTheControlStopAtTheirOwnHeight) {
  // Frames of 4 rows in a control 10 high: only the chosen frame shows.
  CBitmap* small = makeStrip(12, 4, 3);
  auto* movie = add(new CMovieBitmap(kPlace, nullptr, 0, 3, 4, small, origin));
  small->forget();
  movie->setValue(0.5f);
  Surface surface(60, 60, kGround);
  Context context(surface);
  movie->draw(context);
  EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.left, kPlace.top + 3)), 1);
  EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top + 4), kGround);
}

TEST_F(MovieBitmap, IgnoresTheMouse) {
  auto* movie = add(new CMovieBitmap(kPlace, &listener, 4, 5, 10, strip, origin));
  movie->setValue(0.25f);
  for (long buttons : {kMouseLeft, kMouseLeft | kModCommand, kMouseLeft | kModShift}) {
    press(CPoint(kPlace.left + 2, kPlace.top + 2), buttons);
    EXPECT_EQ(movie->getValue(), 0.25f);
  }
  EXPECT_TRUE(events().empty());
}

TEST_F(MovieBitmap, AnswersToItsOwnNameAndItsBases) {
  auto* movie = add(new CMovieBitmap(kPlace, nullptr, 0, strip, origin));
  for (const char* name : {"CMovieBitmap", "CControl", "CView"}) EXPECT_TRUE(movie->isTypeOf(name));
  EXPECT_FALSE(movie->isTypeOf("COnOffButton"));
}

}  // namespace
