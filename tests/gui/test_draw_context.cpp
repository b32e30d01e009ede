// A drawing context over an in-memory surface: the pixels it touches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "gui/cdrawcontext.h"
#include "gui/platform/platform_drawing.h"
#include "gui_test_support.h"

using guitest::describe;
using guitest::Surface;

namespace {

constexpr CColor kRed = {255, 0, 0, 255};
constexpr CColor kBlue = {0, 0, 255, 255};

class DrawContextTest : public ::testing::Test {
 protected:
  Surface surface{40, 30};
  CDrawContext* context = new CDrawContext(nullptr, surface.get());

  void TearDown() override { context->forget(); }

  // Every pixel of the surface is `inside` where `expected` says so, else black.
  template <typename Predicate>
  void expectPixels(Predicate inside, CColor colour) {
    for (long y = 0; y < surface.height(); ++y)
      for (long x = 0; x < surface.width(); ++x) {
        CColor want = inside(x, y) ? colour : kBlackCColor;
        ASSERT_EQ(surface.pixel(x, y), want)
            << "pixel " << x << "," << y << " is " << describe(surface.pixel(x, y));
      }
  }
};

TEST_F(DrawContextTest, StartsWithTheDocumentedState) {
  EXPECT_EQ(context->lineWidth, 1);
  EXPECT_EQ(context->frameColor, kWhiteCColor);
  EXPECT_EQ(context->fillColor, kBlackCColor);
  EXPECT_EQ(context->getFontColor(), kWhiteCColor);
  EXPECT_EQ(context->offset, CPoint(0, 0));
  EXPECT_EQ(context->clipRect, CRect(0, 0, 1000, 1000));
  EXPECT_FALSE(context->needsSync);
}

TEST_F(DrawContextTest, OutlineCoversExactlyTheBorderPixels) {
  const CRect rects[] = {{5, 5, 15, 12}, {0, 0, 40, 30}, {7, 3, 8, 20}, {20, 10, 22, 11}, {3, 3, 5, 5}, {30, 25, 31, 26}};
  for (const CRect& r : rects) {
    SCOPED_TRACE(testing::Message() << "rect " << r.left << "," << r.top << "," << r.right << ","
                                    << r.bottom);
    context->setFillColor(kBlackCColor);
    context->fillRect(CRect(0, 0, 40, 30));
    context->setFrameColor(kRed);
    context->drawRect(r, kDrawStroked);
    expectPixels(
        [&](long x, long y) {
          bool inRect = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
          bool border = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
          return inRect && border;
        },
        kRed);
  }
  EXPECT_TRUE(context->needsSync);
}

TEST_F(DrawContextTest, FillCoversTheRectangleAndFillAndStrokeDrawsBoth) {
  context->setFillColor(kBlue);
  context->fillRect(CRect(4, 6, 9, 10));
  expectPixels([](long x, long y) { return x >= 4 && x < 9 && y >= 6 && y < 10; }, kBlue);

  context->setFillColor(kBlackCColor);
  context->fillRect(CRect(0, 0, 40, 30));
  context->setFillColor(kBlue);
  context->setFrameColor(kRed);
  const CRect r(10, 10, 20, 16);
  context->drawRect(r, kDrawFilledAndStroked);
  for (long y = r.top; y < r.bottom; ++y)
    for (long x = r.left; x < r.right; ++x) {
      bool border = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
      EXPECT_EQ(surface.pixel(x, y), border ? kRed : kBlue) << x << "," << y;
    }
  EXPECT_EQ(surface.pixel(9, 12), kBlackCColor);
  EXPECT_EQ(surface.pixel(20, 12), kBlackCColor);
}

TEST_F(DrawContextTest, ClipIsStoredAbsoluteWithTheOffset) {
  context->offset = CPoint(10, 5);
  context->setClipRect(CRect(0, 0, 6, 4));  // absolute (10, 5, 16, 9)
  EXPECT_EQ(context->clipRect, CRect(10, 5, 16, 9));
  CRect local;
  EXPECT_EQ(context->getClipRect(local), CRect(0, 0, 6, 4));

  context->setFillColor(kBlue);
  context->fillRect(CRect(-5, -5, 50, 50));  // everything the clip lets through
  expectPixels([](long x, long y) { return x >= 10 && x < 16 && y >= 5 && y < 9; }, kBlue);

  context->resetClipRect();
  EXPECT_EQ(context->clipRect, CRect(0, 0, 1000, 1000));
}

TEST_F(DrawContextTest, OffsetShiftsDrawing) {
  context->offset = CPoint(3, 4);
  context->setFillColor(kBlue);
  context->fillRect(CRect(0, 0, 2, 2));
  expectPixels([](long x, long y) { return x >= 3 && x < 5 && y >= 4 && y < 6; }, kBlue);
}

TEST_F(DrawContextTest, UnchangedStateIsNotResent) {
  PlatformContext* platform = context->getPlatformContext();
  long before = platformStateChanges(platform);
  context->setFrameColor(kRed);
  context->setFrameColor(kRed);
  EXPECT_EQ(platformStateChanges(platform), before + 1);
  context->setLineWidth(1);  // already 1
  context->setFillColor(kBlackCColor);
  EXPECT_EQ(platformStateChanges(platform), before + 1);
  context->setLineWidth(3);
  EXPECT_EQ(platformStateChanges(platform), before + 2);
}

TEST_F(DrawContextTest, FieldsRestoredByAssignmentReachTheNextDrawing) {
  // Callers save lineWidth and frameColor and put them back by assignment.
  CColor savedColour = context->frameColor;
  long savedWidth = context->lineWidth;
  context->setFrameColor(kRed);
  context->setLineWidth(3);
  context->frameColor = savedColour;
  context->lineWidth = savedWidth;
  context->drawRect(CRect(5, 5, 15, 15));
  EXPECT_EQ(surface.pixel(5, 5), kWhiteCColor);
  EXPECT_EQ(surface.pixel(6, 6), kBlackCColor);  // one pixel wide, not three
}

TEST_F(DrawContextTest, LinesIncludeBothEnds) {
  context->setFrameColor(kRed);
  context->moveTo(CPoint(2, 3));
  context->lineTo(CPoint(8, 3));
  expectPixels([](long x, long y) { return y == 3 && x >= 2 && x <= 8; }, kRed);
  CPoint pen;
  context->getLoc(pen);
  EXPECT_EQ(pen, CPoint(8, 3));
  context->moveTo(CPoint(20, 20));
  context->lineTo(CPoint(20, 20));  // a line to the pen itself is one pixel
  expectPixels([](long x, long y) { return (y == 3 && x >= 2 && x <= 8) || (x == 20 && y == 20); }, kRed);
}

TEST_F(DrawContextTest, EllipseStaysInsideItsRectangle) {
  context->setFillColor(kBlue);
  context->setFrameColor(kRed);
  const CRect r(10, 5, 30, 25);
  context->drawEllipse(r, kDrawFilledAndStroked);
  int coloured = 0;
  for (long y = 0; y < surface.height(); ++y)
    for (long x = 0; x < surface.width(); ++x) {
      if (surface.pixel(x, y) == kBlackCColor) continue;
      ++coloured;
      EXPECT_TRUE(r.pointInside(CPoint(x, y))) << x << "," << y;
    }
  EXPECT_GT(coloured, 200);
  EXPECT_EQ(surface.pixel(20, 15), kBlue);  // centre
  EXPECT_EQ(surface.pixel(10, 5), kBlackCColor);  // corner
  EXPECT_EQ(surface.pixel(20, 5), kRed);    // top of the outline
}

TEST_F(DrawContextTest, QuarterArcFillsOnlyItsQuadrant) {
  // 0 to 90 degrees counter-clockwise from three o'clock: the upper right quarter.
  context->setFillColor(kBlue);
  const CRect r(0, 0, 40, 30);
  context->drawArc(r, 0.0f, 90.0f, kDrawFilled);
  EXPECT_EQ(surface.pixel(28, 8), kBlue);
  EXPECT_EQ(surface.pixel(10, 8), kBlackCColor);
  EXPECT_EQ(surface.pixel(28, 22), kBlackCColor);
  EXPECT_EQ(surface.pixel(10, 22), kBlackCColor);
}

TEST_F(DrawContextTest, PolygonAndPoints) {
  const CPoint triangle[] = {{5, 5}, {25, 5}, {5, 25}};
  context->setFillColor(kBlue);
  context->fillPolygon(triangle, 3);
  EXPECT_EQ(surface.pixel(8, 8), kBlue);
  EXPECT_EQ(surface.pixel(22, 22), kBlackCColor);

  context->offset = CPoint(1, 1);
  context->drawPoint(CPoint(30, 20), kRed);
  EXPECT_EQ(surface.pixel(31, 21), kRed);
  EXPECT_EQ(context->getPoint(CPoint(30, 20)), kRed);
  context->setClipRect(CRect(0, 0, 2, 2));
  context->drawPoint(CPoint(30, 22), kRed);  // outside the clip
  EXPECT_EQ(surface.pixel(31, 23), kBlackCColor);
}

TEST_F(DrawContextTest, FloodFillStopsAtTheOutline) {
  context->setFrameColor(kRed);
  context->drawRect(CRect(5, 5, 15, 15));
  context->setFillColor(kBlue);
  context->floodFill(CPoint(10, 10));
  EXPECT_EQ(surface.pixel(10, 10), kBlue);
  EXPECT_EQ(surface.pixel(6, 6), kBlue);
  EXPECT_EQ(surface.pixel(5, 5), kRed);
  EXPECT_EQ(surface.pixel(20, 20), kBlackCColor);
}

TEST_F(DrawContextTest, TextDrawsInTheFontColourInsideItsRectangle) {
  context->setFontColor(kRed);
  context->setFont(kNormalFont, 14, kBoldFace);
  EXPECT_EQ(context->getFontSize(), 14);
  const CRect r(2, 5, 38, 25);
  EXPECT_GT(context->getStringWidth("Mm"), 5);
  context->drawString("Mm", r, false, kCenterText);
  int reddish = 0;
  for (long y = 0; y < surface.height(); ++y)
    for (long x = 0; x < surface.width(); ++x) {
      CColor p = surface.pixel(x, y);
      if (p == kBlackCColor) continue;
      EXPECT_TRUE(r.pointInside(CPoint(x, y))) << x << "," << y;
      EXPECT_EQ(p.green, 0);
      if (p.red > 128) ++reddish;
    }
  EXPECT_GT(reddish, 10);
  // Text that is not valid UTF-8 is shown as Latin-1 and does not break the context.
  context->drawString("\xB5s\xFF", r, false, kLeftText);
  context->setFillColor(kBlue);
  context->fillRect(CRect(0, 0, 1, 1));
  EXPECT_EQ(surface.pixel(0, 0), kBlue);
}

TEST_F(DrawContextTest, BadArgumentsDrawNothing) {
  context->drawPolygon(nullptr, 3);
  context->polyLine(nullptr, 2);
  context->drawLines(nullptr, 1);
  context->drawString(static_cast<const char*>(nullptr), CRect(0, 0, 10, 10));
  context->drawRect(CRect(10, 10, 5, 5));   // inverted
  context->drawEllipse(CRect(10, 10, 10, 20));  // no width
  context->drawArc(CRect(0, 0, 10, 10), std::numeric_limits<float>::quiet_NaN(), 90.0f);
  context->setFont(static_cast<CFont>(99), -4);
  EXPECT_EQ(context->getFontSize(), 12);
  context->setLineWidth(-3);
  context->drawRect(CRect(1, 1, 4, 4));
  expectPixels([](long, long) { return false; }, kBlackCColor);
  // The context still works afterwards.
  context->setLineWidth(1);
  context->setFillColor(kBlue);
  context->fillRect(CRect(0, 0, 1, 1));
  EXPECT_EQ(surface.pixel(0, 0), kBlue);
}

TEST(DrawContextWithoutTarget, IgnoresDrawing) {
  auto* context = new CDrawContext(nullptr, static_cast<PlatformSurface*>(nullptr));
  context->setFrameColor(kRed);
  context->drawRect(CRect(0, 0, 10, 10));
  context->fillRect(CRect(0, 0, 10, 10));
  context->drawString("x", CRect(0, 0, 10, 10));
  EXPECT_FALSE(context->needsSync);
  EXPECT_EQ(context->getCGImage(), nullptr);
  EXPECT_GT(context->getStringWidth("wide text"), 0);  // measuring still works
  context->forget();
}

TEST(DrawContextOnWrappedMemory, DrawsIntoTheCallersBytes) {
  // Premultiplied 32-bit pixels in native order: opaque red is 0xFFFF0000.
  std::vector<uint32_t> pixels(8 * 4, 0);
  PlatformSurface* surface =
      platformSurfaceWrap(reinterpret_cast<unsigned char*>(pixels.data()), 8, 4, 8 * 4);
  ASSERT_NE(surface, nullptr);
  auto* context = new CDrawContext(nullptr, surface);
  platformSurfaceRelease(surface);  // the context keeps its own reference
  context->setFillColor(kRed);
  context->fillRect(CRect(1, 1, 3, 2));
  context->forget();
  for (long y = 0; y < 4; ++y)
    for (long x = 0; x < 8; ++x)
      EXPECT_EQ(pixels[y * 8 + x], (y == 1 && (x == 1 || x == 2)) ? 0xFFFF0000u : 0u) << x << "," << y;
  EXPECT_EQ(platformSurfaceWrap(reinterpret_cast<unsigned char*>(pixels.data()), 8, 4, 8), nullptr);
}

// ---- pointer ----

struct ScriptedPointer : CPointerSource {
  std::vector<CPoint> positions;  // consumed one per query; the last one stays
  std::vector<long> buttons;
  size_t positionIndex = 0, buttonIndex = 0;
  int waits = 0;
  bool pointerPosition(CPoint& where) override {
    if (positions.empty()) return false;
    where = positions[std::min(positionIndex++, positions.size() - 1)];
    return true;
  }
  long pointerButtons() override {
    if (buttons.empty()) return 0;
    return buttons[std::min(buttonIndex++, buttons.size() - 1)];
  }
  void waitForEvents(unsigned) override { ++waits; }
};

TEST_F(DrawContextTest, MouseLocationIsRelativeToTheOffset) {
  ScriptedPointer pointer;
  pointer.positions = {{50, 40}};
  pointer.buttons = {1 | 8};
  context->setPointerSource(&pointer);
  context->offset = CPoint(20, 10);
  CPoint where;
  context->getMouseLocation(where);
  EXPECT_EQ(where, CPoint(30, 30));
  EXPECT_EQ(context->getMouseButtons(), 1 | 8);
}

TEST_F(DrawContextTest, WithoutAPointerNothingIsHeld) {
  CPoint where(7, 7);
  context->getMouseLocation(where);
  EXPECT_EQ(where, CPoint(7, 7));
  EXPECT_EQ(context->getMouseButtons(), 0);
  EXPECT_FALSE(context->waitDrag());
  EXPECT_FALSE(context->waitDoubleClick());
}

TEST_F(DrawContextTest, DragAndDoubleClickDetection) {
  ScriptedPointer moved;
  moved.positions = {{5, 5}, {5, 5}, {6, 5}};
  moved.buttons = {1};
  context->setPointerSource(&moved);
  EXPECT_TRUE(context->waitDrag());

  ScriptedPointer released;
  released.positions = {{5, 5}};
  released.buttons = {1, 1, 0};
  context->setPointerSource(&released);
  EXPECT_FALSE(context->waitDrag());

  ScriptedPointer doubleClick;
  doubleClick.buttons = {1, 0, 0, 1};
  context->setPointerSource(&doubleClick);
  EXPECT_TRUE(context->waitDoubleClick());

  ScriptedPointer singleClick;
  singleClick.buttons = {1, 0};
  context->setPointerSource(&singleClick);
  EXPECT_FALSE(context->waitDoubleClick());
  EXPECT_GT(singleClick.waits, 0);
}

// ---- the frame's side ----

struct FrameRecorder {
  static inline int registered = 0, unregistered = 0, presents = 0;
  static inline CRect presented;
  static inline CDrawContext* shared = nullptr;
  static inline ScriptedPointer* pointer = nullptr;
};

class FrameHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = getFrameDrawHooks();
    FrameRecorder::registered = FrameRecorder::unregistered = FrameRecorder::presents = 0;
    FrameRecorder::presented = CRect();
    FrameRecorder::shared = nullptr;
    CFrameDrawHooks hooks;
    hooks.frameClip = [](CFrame*, CRect& clip) {
      clip = CRect(0, 0, 30, 20);
      return true;
    };
    hooks.registerContext = [](CFrame*, CDrawContext* c) {
      ++FrameRecorder::registered;
      FrameRecorder::shared = c;
    };
    hooks.unregisterContext = [](CFrame*, CDrawContext* c) {
      ++FrameRecorder::unregistered;
      if (FrameRecorder::shared == c) FrameRecorder::shared = nullptr;
    };
    hooks.present = [](CFrame*, const CRect& area) {
      ++FrameRecorder::presents;
      FrameRecorder::presented = area;
    };
    hooks.pointerSource = [](CFrame*) -> CPointerSource* { return FrameRecorder::pointer; };
    setFrameDrawHooks(hooks);
  }
  void TearDown() override { setFrameDrawHooks(saved); }

  CFrameDrawHooks saved;
  // Never dereferenced by the context: it only hands the pointer to the hooks.
  CFrame* frame = reinterpret_cast<CFrame*>(&frameStandIn);
  int frameStandIn = 0;
};

TEST_F(FrameHooksTest, ContextSharesItselfAndPresentsWhatItDrew) {
  Surface surface(30, 20);
  auto* context = new CDrawContext(frame, surface.get());
  EXPECT_EQ(FrameRecorder::registered, 1);
  EXPECT_EQ(FrameRecorder::shared, context);
  EXPECT_EQ(context->clipRect, CRect(0, 0, 30, 20));

  context->setFillColor(kBlue);
  context->fillRect(CRect(2, 3, 6, 8));
  context->fillRect(CRect(10, 1, 12, 2));
  EXPECT_EQ(FrameRecorder::presents, 0);  // nothing shown before the flush

  context->remember();
  context->forget();  // a release flushes even when others still hold it
  EXPECT_EQ(FrameRecorder::presents, 1);
  EXPECT_EQ(FrameRecorder::presented, CRect(2, 1, 12, 8));
  EXPECT_FALSE(context->needsSync);
  context->forget();
  EXPECT_EQ(FrameRecorder::presents, 1);  // nothing new to show
  EXPECT_EQ(FrameRecorder::unregistered, 1);
  EXPECT_EQ(FrameRecorder::shared, nullptr);
}

TEST_F(FrameHooksTest, ContextForTheWindowDrawsIntoTheFramesBackBuffer) {
  static Surface* backBuffer = nullptr;
  Surface surface(30, 20);
  backBuffer = &surface;
  CFrameDrawHooks hooks = getFrameDrawHooks();
  hooks.frameSurface = [](CFrame*, void*) { return backBuffer->get(); };
  setFrameDrawHooks(hooks);

  ScriptedPointer pointer;
  pointer.positions = {{12, 9}};
  FrameRecorder::pointer = &pointer;
  int window = 0;
  auto* context = new CDrawContext(frame, nullptr, &window);
  CPoint where;
  context->getMouseLocation(where);
  EXPECT_EQ(where, CPoint(12, 9));
  context->setFillColor(kRed);
  context->fillRect(CRect(0, 0, 100, 100));  // the frame's clip limits it
  context->forget();
  FrameRecorder::pointer = nullptr;
  EXPECT_EQ(surface.pixel(29, 19), kRed);
  EXPECT_EQ(FrameRecorder::presented, CRect(0, 0, 30, 20));
}

}  // namespace
