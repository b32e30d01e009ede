// Rectangle arithmetic the view tree and the drawing code rely on.
#include <gtest/gtest.h>

#include "gui/ccolor.h"
#include "gui/cgeometry.h"

namespace {

TEST(CRectTest, SizeMoveAndInset) {
  CRect r(10, 20, 40, 60);
  EXPECT_EQ(r.width(), 30);
  EXPECT_EQ(r.height(), 40);
  r.offset(5, -5);
  EXPECT_EQ(r, CRect(15, 15, 45, 55));
  r.moveTo(0, 0);
  EXPECT_EQ(r, CRect(0, 0, 30, 40));
  r.inset(2, 3);
  EXPECT_EQ(r, CRect(2, 3, 28, 37));
  r.inset(-2, -3);
  EXPECT_EQ(r, CRect(0, 0, 30, 40));
}

TEST(CRectTest, PointInsideExcludesFarEdgesUnlessClosed) {
  const CRect r(10, 10, 20, 20);
  struct Case { CPoint p; bool halfOpen; bool closed; };
  const Case cases[] = {
      {{10, 10}, true, true},  {{19, 19}, true, true},   {{20, 15}, false, true},
      {{15, 20}, false, true}, {{20, 20}, false, true},  {{9, 15}, false, false},
      {{15, 9}, false, false}, {{21, 15}, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(r.pointInside(c.p), c.halfOpen) << c.p.x << "," << c.p.y;
    EXPECT_EQ(r.pointInsideClosed(c.p), c.closed) << c.p.x << "," << c.p.y;
  }
}

TEST(CRectTest, BoundIntersectsAndNeverGoesNegative) {
  struct Case { CRect a, b, expected; bool empty; };
  const Case cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, false},
      {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, false},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, {10, 0, 10, 10}, true},
      {{0, 0, 10, 10}, {30, 30, 40, 40}, {30, 30, 30, 30}, true},
  };
  for (const Case& c : cases) {
    CRect r = c.a;
    r.bound(c.b);
    EXPECT_EQ(r, c.expected);
    EXPECT_EQ(r.isEmpty(), c.empty);
    EXPECT_GE(r.width(), 0);
    EXPECT_GE(r.height(), 0);
  }
}

TEST(CRectTest, TouchingCountsEdgesOverlapNeedsAPixel) {
  const CRect a(0, 0, 10, 10);
  struct Case { CRect b; bool touches; bool overlaps; };
  const Case cases[] = {
      {{5, 5, 15, 15}, true, true},     // real overlap
      {{10, 0, 20, 10}, true, false},   // shares the right edge
      {{0, 10, 10, 20}, true, false},   // shares the bottom edge
      {{10, 10, 20, 20}, true, false},  // shares a corner
      {{11, 0, 20, 10}, false, false},  // one pixel apart
      {{9, 9, 10, 10}, true, true},     // the last pixel
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rectTouches(a, c.b), c.touches);
    EXPECT_EQ(rectTouches(c.b, a), c.touches);
    EXPECT_EQ(rectOverlap(a, c.b), c.overlaps);
    EXPECT_EQ(rectOverlap(c.b, a), c.overlaps);
  }
}

TEST(CColorTest, TransparentColourIsWhiteWithoutAlpha) {
  EXPECT_EQ(kTransparentCColor, (CColor{255, 255, 255, 0}));
  EXPECT_NE(kTransparentCColor, kWhiteCColor);
  EXPECT_EQ(MakeCColor(1, 2, 3), (CColor{1, 2, 3, 255}));
}

}  // namespace
