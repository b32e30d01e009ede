// The view tree as a structure: references, adding and removing, the modal
// view's extra entry, coordinates, hit areas and dirty bookkeeping.
#include <gtest/gtest.h>

#include "gui/cbitmap.h"
#include "view_test_support.h"

using viewtest::PaintView;
using viewtest::ScriptedPointer;

namespace {

struct TreeTest : ::testing::Test {
  CFrame* frame = new CFrame(CRect(0, 0, 200, 100), nullptr, nullptr);
  int destroyed = 0;
  void TearDown() override {
    if (frame) frame->forget();
  }
  PaintView* add(const CRect& r, CViewContainer* into = nullptr) {
    auto* v = new PaintView(r, kRedCColor, &destroyed);
    (into ? into : frame)->addView(v);
    return v;
  }
};

TEST_F(TreeTest, ContainerTakesOverTheCreatorsReference) {
  PaintView* v = add(CRect(0, 0, 10, 10));
  EXPECT_EQ(v->getNbReference(), 2);  // the creator's, now the frame's, and the list's
  EXPECT_EQ(v->getFrame(), frame);
  EXPECT_EQ(v->getParentView(), frame);
  frame->removeView(v, true);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(frame->getNbViews(), 0);
}

TEST_F(TreeTest, RemovingWithoutForgetLeavesTheCreatorsReference) {
  PaintView* v = add(CRect(0, 0, 10, 10));
  frame->removeView(v, false);
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(v->getNbReference(), 1);
  EXPECT_EQ(v->getFrame(), nullptr);  // no longer points into the tree it left
  v->forget();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(TreeTest, DestroyingTheFrameDestroysItsViewsButNotBitmapsHeldElsewhere) {
  auto* picture = new CBitmap();
  auto* container = new CViewContainer(CRect(10, 10, 60, 60), frame, picture);
  frame->addView(container);
  PaintView* inner = add(CRect(0, 0, 5, 5), container);
  inner->setBackground(picture);
  EXPECT_EQ(picture->getNbReference(), 3);
  frame->forget();
  frame = nullptr;
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(picture->getNbReference(), 1);
  picture->forget();
}

TEST_F(TreeTest, ModalChildIsListedTwiceAndClearingRemovesTheFirstEntry) {
  PaintView* a = add(CRect(0, 0, 10, 10));
  PaintView* b = add(CRect(20, 0, 30, 10));
  ASSERT_TRUE(frame->setModalView(a));
  EXPECT_EQ(frame->getNbViews(), 3);
  EXPECT_EQ(frame->getView(2), a);
  EXPECT_EQ(a->getNbReference(), 3);
  ASSERT_TRUE(frame->setModalView(nullptr));
  // The modal entry at the end stays: `a` is now drawn after `b`.
  EXPECT_EQ(frame->getNbViews(), 2);
  EXPECT_EQ(frame->getView(0), b);
  EXPECT_EQ(frame->getView(1), a);
  EXPECT_EQ(a->getNbReference(), 2);
  frame->forget();
  frame = nullptr;
  EXPECT_EQ(destroyed, 2);
}

TEST_F(TreeTest, ModalViewThatWasNoChildSurvivesTheFrame) {
  auto* m = new PaintView(CRect(0, 0, 50, 50), kBlueCColor, &destroyed);
  ASSERT_TRUE(frame->setModalView(m));
  EXPECT_EQ(m->getNbReference(), 2);
  frame->forget();
  frame = nullptr;
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(m->getNbReference(), 1);
  m->forget();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(TreeTest, RemovingTheModalViewClearsIt) {
  auto* m = new PaintView(CRect(0, 0, 50, 50), kBlueCColor, &destroyed);
  frame->setModalView(m);
  frame->removeView(m, false);
  EXPECT_EQ(frame->getModalView(), nullptr);
  m->forget();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(TreeTest, SecondModalViewIsRefused) {
  PaintView* a = add(CRect(0, 0, 10, 10));
  PaintView* b = add(CRect(20, 0, 30, 10));
  EXPECT_TRUE(frame->setModalView(a));
  EXPECT_FALSE(frame->setModalView(b));
  EXPECT_EQ(frame->getModalView(), a);
  EXPECT_EQ(frame->getNbViews(), 3);
}

TEST_F(TreeTest, AddedViewsAreDirtyAndNullIsIgnored) {
  frame->addView(nullptr);
  EXPECT_EQ(frame->getNbViews(), 0);
  PaintView* v = add(CRect(0, 0, 10, 10));
  EXPECT_TRUE(v->isDirty());
  EXPECT_EQ(frame->getView(5), nullptr);
  EXPECT_EQ(frame->getView(-1), nullptr);
}

TEST_F(TreeTest, ChildrenAddedBeforeTheContainerJoinsAFrameLearnTheFrame) {
  auto* container = new CViewContainer(CRect(0, 0, 50, 50), nullptr);
  PaintView* v = add(CRect(0, 0, 5, 5), container);
  EXPECT_EQ(v->getFrame(), nullptr);
  frame->addView(container);
  EXPECT_EQ(v->getFrame(), frame);
}

TEST_F(TreeTest, CoordinatesGoThroughTheChainOfContainers) {
  auto* outer = new CViewContainer(CRect(10, 20, 110, 90), frame);
  frame->addView(outer);
  auto* inner = new CViewContainer(CRect(5, 5, 50, 50), frame);
  outer->addView(inner);
  PaintView* v = add(CRect(1, 1, 4, 4), inner);

  CPoint p(30, 40);
  v->frameToLocal(p);  // a plain view's coordinates are its parent's
  EXPECT_EQ(p, CPoint(15, 15));
  v->localToFrame(p);
  EXPECT_EQ(p, CPoint(30, 40));
  CPoint q(30, 40);
  inner->frameToLocal(q);
  EXPECT_EQ(q, CPoint(15, 15));
}

TEST_F(TreeTest, MouseLocationIsInTheParentsCoordinates) {
  ScriptedPointer pointer({{CPoint(50, 40), 0}});
  frame->setPointerSource(&pointer);
  auto* container = new CViewContainer(CRect(10, 20, 110, 90), frame);
  frame->addView(container);
  PaintView* inside = add(CRect(0, 0, 10, 10), container);
  PaintView* direct = add(CRect(0, 0, 10, 10));

  CDrawContext* context = frame->createDrawContext();
  CPoint where;
  inside->getMouseLocation(context, where);
  EXPECT_EQ(where, CPoint(40, 20));
  EXPECT_EQ(context->offset, CPoint(0, 0));  // restored
  direct->getMouseLocation(context, where);
  EXPECT_EQ(where, CPoint(50, 40));
  context->forget();

  inside->getMouseLocation(nullptr, where);
  EXPECT_EQ(where, CPoint(40, 20));
}

TEST_F(TreeTest, ViewAtPointPrefersTheLastAddedAndCountsEdges) {
  PaintView* a = add(CRect(0, 0, 20, 20));
  PaintView* b = add(CRect(10, 10, 30, 30));
  auto* container = new CViewContainer(CRect(50, 0, 100, 50), frame);
  frame->addView(container);
  PaintView* inner = add(CRect(0, 0, 10, 10), container);

  EXPECT_EQ(frame->getViewAt(CPoint(15, 15)), b);
  EXPECT_EQ(frame->getViewAt(CPoint(5, 5)), a);
  EXPECT_EQ(frame->getViewAt(CPoint(20, 0)), a);  // right edge belongs to it
  EXPECT_EQ(frame->getViewAt(CPoint(40, 40)), nullptr);
  EXPECT_EQ(frame->getViewAt(CPoint(55, 5)), container);
  EXPECT_EQ(frame->getViewAt(CPoint(55, 5), true), inner);
  EXPECT_EQ(frame->getViewAt(CPoint(80, 40), true), nullptr);

  ScriptedPointer pointer({{CPoint(55, 5), 0}});
  frame->setPointerSource(&pointer);
  EXPECT_EQ(frame->getCurrentView(), container);
  EXPECT_EQ(container->getCurrentView(), inner);
}

TEST_F(TreeTest, ContainerIsDirtyOnlyForChildrenThatShowInside) {
  frame->draw(static_cast<CView*>(nullptr));
  auto* container = new CViewContainer(CRect(0, 0, 50, 50), frame);
  frame->addView(container);
  container->setDirty(false);
  PaintView* v = add(CRect(0, 0, 10, 10), container);
  v->setDirty(false);
  EXPECT_FALSE(container->isDirty());

  struct Case {
    CRect rect;
    bool shows;
  };
  const Case cases[] = {
      {CRect(50, 0, 60, 10), false},   // touches the right edge only
      {CRect(0, 50, 10, 60), false},   // touches the bottom edge only
      {CRect(-10, 0, 0, 10), false},   // touches the left edge only
      {CRect(49, 49, 60, 60), true},   // one pixel inside
      {CRect(-10, -10, 1, 1), true},   // one pixel inside
      {CRect(100, 100, 110, 110), false},
  };
  for (const Case& c : cases) {
    CRect r = c.rect;
    v->setViewSize(r);  // marks it dirty
    EXPECT_EQ(container->isDirty(), c.shows) << r.left << "," << r.top;
  }
}

TEST_F(TreeTest, InvalidateMarksChildrenTouchingTheRectangle) {
  PaintView* a = add(CRect(0, 0, 30, 30));
  PaintView* b = add(CRect(40, 0, 70, 30));
  PaintView* c = add(CRect(80, 0, 100, 30));
  frame->draw(static_cast<CView*>(nullptr));
  ASSERT_FALSE(a->isDirty() || b->isDirty() || c->isDirty());

  frame->invalidate(CRect(30, 30, 40, 40));  // shares a corner with a and b
  EXPECT_TRUE(a->isDirty());
  EXPECT_TRUE(b->isDirty());
  EXPECT_FALSE(c->isDirty());

  frame->draw(static_cast<CView*>(nullptr));
  frame->invalidate(CRect(71, 0, 79, 10));  // one pixel from b and from c
  EXPECT_FALSE(b->isDirty());
  EXPECT_FALSE(c->isDirty());
}

TEST_F(TreeTest, BackgroundChangeTakesAReferenceAndDirties) {
  PaintView* v = add(CRect(0, 0, 10, 10));
  v->setDirty(false);
  auto* p1 = new CBitmap();
  auto* p2 = new CBitmap();
  v->setBackground(p1);
  EXPECT_TRUE(v->isDirty());
  v->setBackground(p1);  // the same picture again keeps one reference
  EXPECT_EQ(p1->getNbReference(), 2);
  v->setBackground(p2);
  EXPECT_EQ(p1->getNbReference(), 1);
  EXPECT_EQ(p2->getNbReference(), 2);
  EXPECT_EQ(v->getBackground(), p2);
  p1->forget();
  p2->forget();
}

TEST_F(TreeTest, TypesAndContainerQuestion) {
  PaintView* v = add(CRect(0, 0, 10, 10));
  auto* container = new CViewContainer(CRect(0, 0, 50, 50), frame);
  frame->addView(container);
  EXPECT_TRUE(v->isTypeOf("CView"));
  EXPECT_FALSE(v->isTypeOf("CViewContainer"));
  EXPECT_TRUE(container->isTypeOf("CViewContainer"));
  EXPECT_TRUE(container->isTypeOf("CView"));
  EXPECT_TRUE(frame->isTypeOf("CFrame"));
  EXPECT_TRUE(frame->isTypeOf("CViewContainer"));
  EXPECT_FALSE(frame->isTypeOf(nullptr));
  EXPECT_EQ(container->notify(v, kMsgCheckIfViewContainer), 1);
  EXPECT_EQ(container->notify(v, "something else"), 0);
  EXPECT_EQ(v->notify(v, kMsgCheckIfViewContainer), 0);
}

TEST_F(TreeTest, AttributesKeepTaggedData) {
  PaintView* v = add(CRect(0, 0, 10, 10));
  const int value = 1234;
  ASSERT_TRUE(v->setAttribute(7, sizeof(value), &value));
  long size = 0;
  ASSERT_TRUE(v->getAttributeSize(7, size));
  EXPECT_EQ(size, static_cast<long>(sizeof(value)));
  int out = 0;
  long outSize = 0;
  EXPECT_FALSE(v->getAttribute(7, 2, &out, outSize));  // buffer too small
  ASSERT_TRUE(v->getAttribute(7, sizeof(out), &out, outSize));
  EXPECT_EQ(out, value);
  EXPECT_FALSE(v->getAttribute(8, sizeof(out), &out, outSize));
  EXPECT_FALSE(v->setAttribute(9, 4, nullptr));
  EXPECT_TRUE(v->removeAttribute(7));
  EXPECT_FALSE(v->getAttributeSize(7, size));
}

}  // namespace
