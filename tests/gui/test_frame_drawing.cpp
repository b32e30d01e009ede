// Drawing through the frame into its back buffer: incremental redraw of
// only the dirty views, each clipped to its own rectangle, and the rules
// that decide when the idle update draws at all.
#include <gtest/gtest.h>

#include "gui/platform/platform_drawing.h"
#include "gui_test_support.h"
#include "view_test_support.h"

using guitest::describe;
using viewtest::PaintView;

namespace {

CColor pixelOf(CFrame* frame, long x, long y) {
  PlatformColor c = platformSurfaceGetPixel(frame->getBackBuffer(), x, y);
  return CColor{c.red, c.green, c.blue, c.alpha};
}

constexpr CColor kGrey = {40, 40, 40, 255};

struct FrameDrawing : ::testing::Test {
  CFrame* frame = new CFrame(CRect(0, 0, 100, 60), nullptr, nullptr);
  PaintView* a = new PaintView(CRect(0, 0, 30, 30), kRedCColor);
  PaintView* b = new PaintView(CRect(40, 0, 70, 30), kGreenCColor);
  PaintView* c = new PaintView(CRect(80, 0, 100, 30), kBlueCColor);

  void SetUp() override {
    frame->setBackgroundColor(kGrey);
    frame->addView(a);
    frame->addView(b);
    frame->addView(c);
  }
  void TearDown() override { frame->forget(); }
  void firstDraw() { frame->draw(static_cast<CView*>(nullptr)); }
  void expectDraws(int da, int db, int dc) {
    EXPECT_EQ(a->draws, da);
    EXPECT_EQ(b->draws, db);
    EXPECT_EQ(c->draws, dc);
  }
};

TEST_F(FrameDrawing, WholeFrameDrawsBackgroundAndEveryView) {
  firstDraw();
  expectDraws(1, 1, 1);
  EXPECT_EQ(pixelOf(frame, 10, 10), kRedCColor);
  EXPECT_EQ(pixelOf(frame, 50, 10), kGreenCColor);
  EXPECT_EQ(pixelOf(frame, 99, 29), kBlueCColor);
  EXPECT_EQ(pixelOf(frame, 35, 10), kGrey) << describe(pixelOf(frame, 35, 10));
  EXPECT_EQ(pixelOf(frame, 50, 45), kGrey);
  EXPECT_FALSE(frame->isDirty());
}

TEST_F(FrameDrawing, IdleWaitsForTheFirstDrawing) {
  frame->idle();
  expectDraws(0, 0, 0);
  EXPECT_TRUE(frame->isFirstDraw());
  frame->drawRect(nullptr, CRect(0, 0, 10, 10));  // the window's first exposure
  EXPECT_FALSE(frame->isFirstDraw());
  expectDraws(1, 0, 0);
  // What was not drawn, or drawn only in part, follows at the next idle.
  frame->idle();
  expectDraws(2, 1, 1);
}

TEST_F(FrameDrawing, IdleRedrawsOnlyTheDirtyView) {
  firstDraw();
  frame->idle();
  expectDraws(1, 1, 1);  // nothing dirty: nothing drawn

  b->color = kYellowCColor;
  b->setDirty(true);
  frame->idle();
  expectDraws(1, 2, 1);
  EXPECT_EQ(pixelOf(frame, 50, 10), kYellowCColor);
  EXPECT_FALSE(b->isDirty());

  frame->idle();
  expectDraws(1, 2, 1);
}

TEST_F(FrameDrawing, ViewAddedLaterIsDrawnAtTheNextIdle) {
  firstDraw();
  auto* d = new PaintView(CRect(0, 40, 20, 60), kMagentaCColor);
  frame->addView(d);
  frame->idle();
  EXPECT_EQ(d->draws, 1);
  EXPECT_EQ(pixelOf(frame, 5, 50), kMagentaCColor);
  expectDraws(1, 1, 1);
}

TEST_F(FrameDrawing, OverlappingViewIsRedrawnOnlyInsideTheDirtyRectangle) {
  auto* d = new PaintView(CRect(60, 10, 90, 40), kMagentaCColor);
  frame->addView(d);
  firstDraw();
  // d changes without being marked: only the part inside b's rectangle is
  // drawn again when b is.
  d->color = kCyanCColor;
  b->setDirty(true);
  frame->idle();
  EXPECT_EQ(d->draws, 2);
  EXPECT_EQ(pixelOf(frame, 65, 20), kCyanCColor);      // inside b
  EXPECT_EQ(pixelOf(frame, 75, 35), kMagentaCColor);   // outside b
  EXPECT_EQ(pixelOf(frame, 85, 20), kMagentaCColor);   // over c, outside b
  EXPECT_FALSE(d->isDirty());
}

TEST_F(FrameDrawing, DirtyViewDrawnOnlyInPartIsDrawnWholeLater) {
  auto* d = new PaintView(CRect(60, 10, 90, 40), kMagentaCColor);
  frame->addView(d);
  firstDraw();
  d->color = kCyanCColor;
  b->setDirty(true);
  d->setDirty(true);
  frame->idle();
  // Once under b's update (clipped), then whole for itself.
  EXPECT_EQ(d->draws, 3);
  EXPECT_EQ(pixelOf(frame, 75, 35), kCyanCColor);
  EXPECT_FALSE(d->isDirty());
  EXPECT_FALSE(frame->isDirty());
}

TEST_F(FrameDrawing, DirtyFrameIsDrawnWhole) {
  firstDraw();
  frame->setDirty(true);
  frame->idle();
  expectDraws(2, 2, 2);
  EXPECT_FALSE(frame->isDirty());
}

TEST_F(FrameDrawing, ClosedOrDisabledFrameDoesNotUpdate) {
  firstDraw();
  a->setDirty(true);
  frame->setOpenFlag(false);
  frame->idle();
  expectDraws(1, 1, 1);
  frame->setOpenFlag(true);
  EXPECT_FALSE(frame->updatesDisabled(true));
  frame->idle();
  expectDraws(1, 1, 1);
  EXPECT_TRUE(frame->updatesDisabled(false));
  frame->idle();
  expectDraws(2, 1, 1);
}

TEST_F(FrameDrawing, DrawRectDrawsOnlyViewsInsideTheArea) {
  firstDraw();
  frame->drawRect(nullptr, CRect(35, 0, 75, 20));
  expectDraws(1, 2, 1);
  frame->drawRect(nullptr, CRect(10, 10, 10, 20));  // no width: nothing
  expectDraws(1, 2, 1);
}

TEST_F(FrameDrawing, DrawOfOneViewDrawsOnlyThatChild) {
  firstDraw();
  frame->draw(b);
  expectDraws(1, 2, 1);
  PaintView stranger(CRect(0, 0, 5, 5), kWhiteCColor);
  frame->draw(&stranger);  // not ours: the whole frame
  expectDraws(2, 3, 2);
  EXPECT_EQ(stranger.draws, 0);
}

TEST_F(FrameDrawing, RedrawOfAViewDrawsItNow) {
  firstDraw();
  c->color = kWhiteCColor;
  c->redraw();
  EXPECT_EQ(c->draws, 2);
  EXPECT_EQ(pixelOf(frame, 90, 10), kWhiteCColor);
}

TEST_F(FrameDrawing, NestedContainerRedrawsOnlyItsDirtyChildren) {
  auto* box = new CViewContainer(CRect(10, 35, 90, 60), frame);
  box->setBackgroundColor(kBlackCColor);
  frame->addView(box);
  auto* x = new PaintView(CRect(0, 0, 20, 20), kRedCColor);
  auto* y = new PaintView(CRect(30, 0, 50, 20), kBlueCColor);
  box->addView(x);
  box->addView(y);
  firstDraw();
  EXPECT_EQ(pixelOf(frame, 15, 40), kRedCColor);   // (5, 5) inside the box
  EXPECT_EQ(pixelOf(frame, 45, 40), kBlueCColor);  // (35, 5)
  EXPECT_EQ(pixelOf(frame, 35, 40), kBlackCColor); // box background

  y->color = kGreenCColor;
  y->setDirty(true);
  frame->idle();
  EXPECT_EQ(x->draws, 1);
  EXPECT_EQ(y->draws, 2);
  EXPECT_EQ(pixelOf(frame, 45, 40), kGreenCColor);

  // Redrawing the whole box when anything in it is dirty.
  box->setMode(CViewContainer::kNormalUpdate);
  y->setDirty(true);
  frame->idle();
  EXPECT_EQ(x->draws, 2);
  EXPECT_EQ(y->draws, 3);
  expectDraws(1, 1, 1);
}

TEST_F(FrameDrawing, TransparentContainerLetsItsParentDrawBehindIt) {
  auto* under = new PaintView(CRect(0, 35, 40, 60), kWhiteCColor);
  frame->addView(under);
  auto* box = new CViewContainer(CRect(0, 35, 40, 60), frame);
  box->setTransparency(true);
  frame->addView(box);
  auto* x = new PaintView(CRect(0, 0, 10, 10), kRedCColor);
  box->addView(x);
  firstDraw();
  EXPECT_EQ(pixelOf(frame, 20, 50), kWhiteCColor);  // no fill of its own
  EXPECT_EQ(under->draws, 1);

  x->setDirty(true);
  frame->idle();
  // The frame drew what lies behind the child, then the child.
  EXPECT_EQ(under->draws, 2);
  EXPECT_EQ(x->draws, 2);
  EXPECT_EQ(pixelOf(frame, 5, 40), kRedCColor);

  box->setTransparency(false);
  x->setDirty(true);
  frame->idle();
  EXPECT_EQ(under->draws, 2);
  EXPECT_EQ(x->draws, 3);
  EXPECT_EQ(pixelOf(frame, 20, 50), kWhiteCColor);  // outside the child: untouched
}

TEST_F(FrameDrawing, OffscreenContainerEndsUpOnTheFrame) {
  auto* box = new CViewContainer(CRect(10, 35, 60, 60), frame);
  box->useOffscreen(true);
  box->setBackgroundColor(kWhiteCColor);
  frame->addView(box);
  auto* x = new PaintView(CRect(5, 5, 15, 15), kRedCColor);
  box->addView(x);
  firstDraw();
  EXPECT_EQ(pixelOf(frame, 20, 45), kRedCColor);
  EXPECT_EQ(pixelOf(frame, 12, 37), kWhiteCColor);
  x->color = kBlueCColor;
  x->setDirty(true);
  frame->idle();
  EXPECT_EQ(pixelOf(frame, 20, 45), kBlueCColor);
}

TEST_F(FrameDrawing, EditorDrawRequestDrawsTheGivenArea) {
  viewtest::TestEffect effect;
  auto* editor = new viewtest::TestEditor(&effect, CRect(0, 0, 100, 60));
  editor->draw(nullptr);  // no frame: nothing happens
  PaintView* v = nullptr;
  editor->populate = [&v](CFrame* f) {
    v = new PaintView(CRect(0, 0, 10, 10), kRedCColor);
    f->addView(v);
    f->addView(new PaintView(CRect(50, 50, 60, 60), kBlueCColor));
  };
  editor->open(nullptr);
  ERect area{0, 0, 20, 20};  // top, left, bottom, right
  editor->draw(&area);
  EXPECT_EQ(v->draws, 1);
  EXPECT_EQ(static_cast<PaintView*>(editor->getFrame()->getView(1))->draws, 0);
  editor->draw(nullptr);
  EXPECT_EQ(v->draws, 2);
  EXPECT_EQ(static_cast<PaintView*>(editor->getFrame()->getView(1))->draws, 1);
  // The effect deletes its editor.
}

}  // namespace
