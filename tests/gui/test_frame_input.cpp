// Mouse, wheel and keys through the frame: which view receives them, in
// which coordinates, with which buttons; the modal view; focus and tab order.
#include <gtest/gtest.h>

#include "gui/vstkeys.h"
#include "view_test_support.h"

using viewtest::PaintView;
using viewtest::ScriptedPointer;

namespace {

VstKeyCode keyOf(unsigned char virt, unsigned char modifier = 0, int character = 0) {
  VstKeyCode k{};
  k.character = character;
  k.virt = virt;
  k.modifier = modifier;
  return k;
}

struct FrameInput : ::testing::Test {
  CFrame* frame = new CFrame(CRect(0, 0, 200, 100), nullptr, nullptr);
  ScriptedPointer pointer{{{CPoint(0, 0), 0}}};
  void SetUp() override { frame->setPointerSource(&pointer); }
  void TearDown() override { frame->forget(); }
  PaintView* add(const CRect& r, CViewContainer* into = nullptr) {
    auto* v = new PaintView(r, kRedCColor);
    (into ? into : frame)->addView(v);
    return v;
  }
  void press(long x, long y, long buttons = kMouseLeft) {
    CPoint where(x, y);
    frame->mouse(nullptr, where, buttons);
  }
};

TEST_F(FrameInput, LaterAddedViewGetsThePressWhereViewsOverlap) {
  PaintView* under = add(CRect(0, 0, 50, 50));
  PaintView* over = add(CRect(25, 25, 75, 75));
  press(30, 30);
  EXPECT_TRUE(under->presses.empty());
  ASSERT_EQ(over->presses.size(), 1u);
  EXPECT_EQ(over->presses[0].where, CPoint(30, 30));
  EXPECT_EQ(over->presses[0].buttons, kMouseLeft);
  press(10, 10);
  EXPECT_EQ(under->presses.size(), 1u);
  press(50, 50);  // edges belong to the view
  EXPECT_EQ(over->presses.size(), 2u);
  press(150, 90);  // nobody there
  EXPECT_EQ(over->presses.size() + under->presses.size(), 3u);
}

TEST_F(FrameInput, MouseDisabledViewsAreSkipped) {
  PaintView* under = add(CRect(0, 0, 50, 50));
  PaintView* over = add(CRect(0, 0, 50, 50));
  over->setMouseEnabled(false);
  press(10, 10);
  EXPECT_EQ(under->presses.size(), 1u);
  EXPECT_TRUE(over->presses.empty());
}

TEST_F(FrameInput, HitAreaIsTheMouseableAreaNotTheRectangle) {
  PaintView* v = add(CRect(0, 0, 50, 50));
  v->setMouseableArea(CRect(0, 0, 10, 10));
  press(20, 20);
  EXPECT_TRUE(v->presses.empty());
  press(10, 10);
  EXPECT_EQ(v->presses.size(), 1u);
}

TEST_F(FrameInput, NestedViewsReceiveLocalCoordinates) {
  auto* box = new CViewContainer(CRect(100, 20, 200, 100), frame);
  frame->addView(box);
  PaintView* v = add(CRect(10, 10, 30, 30), box);
  press(115, 35, kMouseRight | kModShift);
  ASSERT_EQ(v->presses.size(), 1u);
  EXPECT_EQ(v->presses[0].where, CPoint(15, 15));
  EXPECT_EQ(v->presses[0].buttons, kMouseRight | kModShift);
}

TEST_F(FrameInput, ButtonsNotGivenAreReadFromThePointer) {
  PaintView* v = add(CRect(0, 0, 50, 50));
  pointer.steps = {{CPoint(5, 5), kMouseLeft | kModCommand}};
  press(5, 5, -1);
  ASSERT_EQ(v->presses.size(), 1u);
  EXPECT_EQ(v->presses[0].buttons, kMouseLeft | kModCommand);
}

TEST_F(FrameInput, ModalViewTakesPressesInsideItAndDropsTheRest) {
  PaintView* modal = add(CRect(0, 0, 50, 50));
  PaintView* other = add(CRect(0, 0, 100, 100));  // on top of the modal one
  ASSERT_TRUE(frame->setModalView(modal));
  press(10, 10);
  EXPECT_EQ(modal->presses.size(), 1u);
  EXPECT_TRUE(other->presses.empty());
  press(80, 80);  // outside the modal view: ignored
  EXPECT_EQ(modal->presses.size(), 1u);
  EXPECT_TRUE(other->presses.empty());
  frame->setModalView(nullptr);
  press(80, 80);
  EXPECT_EQ(other->presses.size(), 1u);
}

TEST_F(FrameInput, PressTakesTheFocusAway) {
  PaintView* v = add(CRect(0, 0, 50, 50));
  v->setWantsFocus(true);
  frame->setFocusView(v);
  press(150, 50);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_EQ(v->focusLost, 1);
}

TEST_F(FrameInput, WheelGoesToTheViewUnderThePointVerticallyByDefault) {
  auto* box = new CViewContainer(CRect(100, 0, 200, 100), frame);
  frame->addView(box);
  PaintView* v = add(CRect(10, 10, 30, 30), box);
  EXPECT_TRUE(frame->onWheel(nullptr, CPoint(115, 15), 2.0f));
  ASSERT_EQ(v->wheels.size(), 1u);
  EXPECT_EQ(v->wheels[0].where, CPoint(15, 15));
  EXPECT_EQ(v->wheels[0].axis, kMouseWheelAxisY);
  EXPECT_FLOAT_EQ(v->wheels[0].distance, 2.0f);
  EXPECT_TRUE(frame->onWheel(nullptr, CPoint(115, 15), kMouseWheelAxisX, -1.0f));
  EXPECT_EQ(v->wheels[1].axis, kMouseWheelAxisX);
  EXPECT_FALSE(frame->onWheel(nullptr, CPoint(50, 50), 1.0f));  // nobody there
}

TEST_F(FrameInput, WheelGoesToTheModalViewWhereverThePointerIs) {
  PaintView* modal = add(CRect(0, 0, 10, 10));
  PaintView* other = add(CRect(50, 50, 60, 60));
  frame->setModalView(modal);
  EXPECT_TRUE(frame->onWheel(nullptr, CPoint(55, 55), 1.0f));
  EXPECT_EQ(modal->wheels.size(), 1u);
  EXPECT_TRUE(other->wheels.empty());
}

TEST_F(FrameInput, KeysGoToTheFocusViewThenTheModalView) {
  PaintView* focus = add(CRect(0, 0, 10, 10));
  PaintView* modal = add(CRect(20, 0, 30, 10));
  PaintView* bystander = add(CRect(40, 0, 50, 10));
  focus->setWantsFocus(true);
  frame->setFocusView(focus);
  frame->setModalView(modal);
  VstKeyCode k = keyOf(0, 0, 'a');
  EXPECT_EQ(frame->onKeyDown(k), -1);
  EXPECT_EQ(focus->keysDown.size(), 1u);
  EXPECT_EQ(modal->keysDown.size(), 1u);
  EXPECT_TRUE(bystander->keysDown.empty());

  focus->handlesKeys = true;
  EXPECT_EQ(frame->onKeyDown(k), 1);
  EXPECT_EQ(modal->keysDown.size(), 1u);  // handled before it
  EXPECT_EQ(frame->onKeyUp(k), 1);
  EXPECT_EQ(focus->keysUp.size(), 1u);
  EXPECT_TRUE(modal->keysUp.empty());
}

TEST_F(FrameInput, ContainerOffersKeysToItsChildrenFromTheTop) {
  auto* box = new CViewContainer(CRect(0, 0, 100, 100), frame);
  frame->addView(box);
  PaintView* first = add(CRect(0, 0, 10, 10), box);
  PaintView* last = add(CRect(20, 0, 30, 10), box);
  last->handlesKeys = true;
  VstKeyCode k = keyOf(VKEY_UP);
  EXPECT_EQ(box->onKeyDown(k), 1);
  EXPECT_EQ(last->keysDown.size(), 1u);
  EXPECT_TRUE(first->keysDown.empty());
}

struct TabOrder : FrameInput {
  PaintView *a, *b, *c, *inner;
  CViewContainer* box;
  void SetUp() override {
    FrameInput::SetUp();
    a = add(CRect(0, 0, 10, 10));
    b = add(CRect(20, 0, 30, 10));  // does not want focus
    box = new CViewContainer(CRect(0, 50, 100, 100), frame);
    frame->addView(box);
    inner = add(CRect(0, 0, 10, 10), box);
    c = add(CRect(40, 0, 50, 10));
    a->setWantsFocus(true);
    inner->setWantsFocus(true);
    c->setWantsFocus(true);
  }
  long tab(bool shift = false) {
    VstKeyCode k = keyOf(VKEY_TAB, shift ? MODIFIER_SHIFT : 0);
    return frame->onKeyDown(k);
  }
};

TEST_F(TabOrder, TabWalksTheViewsThatWantFocusInOrder) {
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(frame->getFocusView(), a);
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(frame->getFocusView(), inner);  // into the container, past b
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(frame->getFocusView(), c);
  // Past the last one nobody keeps the focus; the next tab starts over.
  EXPECT_EQ(tab(), -1);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(frame->getFocusView(), a);
}

TEST_F(TabOrder, ShiftTabWalksBackwards) {
  frame->setFocusView(c);
  EXPECT_EQ(tab(true), 1);
  EXPECT_EQ(frame->getFocusView(), inner);
  EXPECT_EQ(tab(true), 1);
  EXPECT_EQ(frame->getFocusView(), a);
  EXPECT_EQ(tab(true), -1);
  EXPECT_EQ(tab(true), 1);
  EXPECT_EQ(frame->getFocusView(), c);
}

TEST_F(TabOrder, FocusViewThatHandlesTabKeepsTheFocus) {
  frame->setFocusView(a);
  a->handlesKeys = true;
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(frame->getFocusView(), a);
}

TEST_F(TabOrder, ModalViewKeepsTheFocusToItself) {
  frame->setModalView(box);
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(frame->getFocusView(), inner);
  EXPECT_EQ(tab(), -1);
}

TEST_F(TabOrder, FocusChangeDirtiesViewsThatWantFocusAndTellsTheOldOne) {
  frame->draw(static_cast<CView*>(nullptr));
  frame->setFocusView(a);
  EXPECT_TRUE(a->isDirty());
  frame->draw(static_cast<CView*>(nullptr));
  frame->setFocusView(b);  // b does not want focus: stays clean
  EXPECT_FALSE(b->isDirty());
  EXPECT_TRUE(a->isDirty());
  EXPECT_EQ(a->focusLost, 1);
}

TEST_F(TabOrder, RemovingTheFocusViewClearsTheFocus) {
  frame->setFocusView(inner);
  box->removeView(inner);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(tab(), 1);
  EXPECT_EQ(frame->getFocusView(), c);
}

}  // namespace
