// The editor base between the host and the view tree: registration with the
// effect, the host's editor requests, edit gestures reaching the host, knob
// mode, and idle pacing that never draws from inside the host's idle.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/vstkeys.h"
#include "host/plugin_location.h"
#include "view_test_support.h"

using viewtest::hostLog;
using viewtest::PaintView;
using viewtest::ScriptedPointer;
using viewtest::TestEditor;
using viewtest::TestEffect;

namespace {

struct EditorGlue : ::testing::Test {
  // Outlives the effect, which deletes the editor and its frame.
  ScriptedPointer pointer{{{CPoint(15, 15), kMouseLeft}}};
  TestEffect effect;
  TestEditor* editor = new TestEditor(&effect, CRect(0, 0, 120, 80));
  PaintView* view = nullptr;

  void SetUp() override {
    hostLog() = {};
    editor->populate = [this](CFrame* f) {
      view = new PaintView(CRect(10, 10, 40, 40), kRedCColor);
      f->addView(view);
      f->setPointerSource(&pointer);
    };
  }
  void TearDown() override { hostLog() = {}; }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
    AEffect* e = effect.getAeffect();
    return e->dispatcher(e, opcode, index, value, ptr, 0.0f);
  }
};

TEST_F(EditorGlue, RegistersWithTheEffectAndReportsItsRectangle) {
  EXPECT_EQ(effect.getEditor(), editor);
  EXPECT_TRUE(effect.getAeffect()->flags & effFlagsHasEditor);
  EXPECT_GT(junkyardPluginDirectoryReferences(), 0);
  ERect* r = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &r), 1);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->right, 120);
  EXPECT_EQ(r->bottom, 80);
  EXPECT_FALSE(editor->isOpen());
}

TEST_F(EditorGlue, RequestsThatNeedAFrameDoNothingWithoutOne) {
  VstKeyCode k{};
  EXPECT_FALSE(editor->onKeyDown(k));
  EXPECT_FALSE(editor->onKeyUp(k));
  EXPECT_FALSE(editor->onWheel(1.0f));
  EXPECT_EQ(editor->mouse(1, 1), 1);
  editor->idle();
  editor->draw(nullptr);
}

TEST_F(EditorGlue, EditGesturesReachTheHostWithTheirIndex) {
  editor->open(nullptr);
  view->onPress = [](CDrawContext*, CPoint&, long) {};
  CFrame* frame = editor->getFrame();
  frame->beginEdit(3);
  frame->endEdit(3);
  ASSERT_EQ(hostLog().calls.size(), 2u);
  EXPECT_EQ(hostLog().calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(hostLog().calls[0].index, 3);
  EXPECT_EQ(hostLog().calls[1].opcode, audioMasterEndEdit);
  EXPECT_EQ(hostLog().calls[1].index, 3);
}

TEST_F(EditorGlue, DragLoopSeesThePointerAndKeepsTheHostRunning) {
  editor->open(nullptr);
  CFrame* frame = editor->getFrame();
  frame->draw(static_cast<CView*>(nullptr));
  pointer.steps = {{CPoint(15, 15), kMouseLeft},
                   {CPoint(20, 25), kMouseLeft},
                   {CPoint(30, 35), kMouseLeft},
                   {CPoint(30, 35), 0}};
  std::vector<CPoint> seen;
  // The loop of a control: begin, follow the pointer while the button is
  // held, end.
  view->onPress = [&](CDrawContext* context, CPoint& where, long buttons) {
    frame->beginEdit(5);
    do {
      view->getMouseLocation(context, where);
      seen.push_back(where);
      frame->doIdleStuff();
    } while (context->getMouseButtons() == buttons);
    frame->endEdit(5);
  };
  EXPECT_EQ(dispatch(effEditMouse, 15, 15), 1);
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front(), CPoint(15, 15));
  EXPECT_NE(std::find(seen.begin(), seen.end(), CPoint(20, 25)), seen.end());
  EXPECT_EQ(seen.back(), CPoint(30, 35));
  EXPECT_EQ(view->presses.at(0).buttons, kMouseLeft);
  const auto opcodes = hostLog().opcodes();
  ASSERT_FALSE(opcodes.empty());
  EXPECT_EQ(opcodes.front(), audioMasterBeginEdit);
  EXPECT_EQ(opcodes.back(), audioMasterEndEdit);
  // The first pass was due at once: the host got its idle.
  EXPECT_GE(hostLog().count(audioMasterIdle), 1);
}

TEST_F(EditorGlue, HostIdleFromInsideTheHostsIdleRequestDoesNotDraw) {
  editor->open(nullptr);
  CFrame* frame = editor->getFrame();
  frame->draw(static_cast<CView*>(nullptr));
  int drawsInside = -1;
  hostLog().onIdle = [&] {
    view->setDirty(true);
    int before = view->draws;
    dispatch(effEditIdle);
    drawsInside = view->draws - before;
  };
  view->setDirty(true);
  editor->doIdleStuff();
  EXPECT_EQ(drawsInside, 0);
  EXPECT_EQ(view->draws, 2);  // the pass's own idle drew once
  hostLog().onIdle = nullptr;
  dispatch(effEditIdle);  // outside the request: draws what is dirty
  EXPECT_EQ(view->draws, 3);
}

TEST_F(EditorGlue, DispatcherIdleUpdatesDirtyViews) {
  editor->open(nullptr);
  editor->getFrame()->draw(static_cast<CView*>(nullptr));
  dispatch(effEditIdle);
  EXPECT_EQ(view->draws, 1);
  view->setDirty(true);
  dispatch(effEditIdle);
  EXPECT_EQ(view->draws, 2);
}

TEST_F(EditorGlue, MouseRequestReadsTheButtons) {
  editor->open(nullptr);
  pointer.steps = {{CPoint(12, 12), kMouseLeft | kModShift}};
  EXPECT_EQ(editor->mouse(12, 12), 1);
  ASSERT_EQ(view->presses.size(), 1u);
  EXPECT_EQ(view->presses[0].where, CPoint(12, 12));
  EXPECT_EQ(view->presses[0].buttons, kMouseLeft | kModShift);
}

TEST_F(EditorGlue, WheelRequestGoesToTheViewUnderThePointer) {
  editor->open(nullptr);
  pointer.steps = {{CPoint(20, 30), 0}};
  EXPECT_TRUE(editor->onWheel(-1.0f));
  ASSERT_EQ(view->wheels.size(), 1u);
  EXPECT_EQ(view->wheels[0].where, CPoint(20, 30));
  EXPECT_FLOAT_EQ(view->wheels[0].distance, -1.0f);
  pointer.steps = {{CPoint(100, 70), 0}};
  EXPECT_FALSE(editor->onWheel(1.0f));
}

TEST_F(EditorGlue, KeyRequestsAreHandledOnlyWhenAViewSaysSo) {
  editor->open(nullptr);
  view->setWantsFocus(true);
  editor->getFrame()->setFocusView(view);
  VstKeyCode k{};
  k.virt = VKEY_UP;
  EXPECT_EQ(dispatch(effEditKeyDown, 0, VKEY_UP), 0);
  view->handlesKeys = true;
  EXPECT_TRUE(editor->onKeyDown(k));
  EXPECT_TRUE(editor->onKeyUp(k));
  EXPECT_EQ(view->keysDown.back().virt, VKEY_UP);
}

TEST_F(EditorGlue, KnobModeIsSharedByAllEditors) {
  TestEffect other;
  auto* second = new TestEditor(&other, CRect(0, 0, 10, 10));
  editor->open(nullptr);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, kLinearMode), 1);
  EXPECT_EQ(editor->getFrame()->getKnobMode(), kLinearMode);
  EXPECT_TRUE(second->setKnobMode(kRelativCircularMode));
  EXPECT_EQ(editor->getFrame()->getKnobMode(), kRelativCircularMode);
  second->setKnobMode(kCircularMode);
}

TEST_F(EditorGlue, FrameClockIsTheEditorsAndStopsWithoutOne) {
  editor->open(nullptr);
  long t1 = editor->getFrame()->getTicks();
  editor->wait(2);
  long t2 = editor->getFrame()->getTicks();
  EXPECT_GE(t2 - t1, 2);
  CFrame lone(CRect(0, 0, 10, 10), nullptr, nullptr);
  EXPECT_EQ(lone.getTicks(), 0);
}

TEST_F(EditorGlue, OpenCloseOpenBuildsAFreshFrame) {
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, nullptr), 1);
  CFrame* first = editor->getFrame();
  ASSERT_NE(first, nullptr);
  dispatch(effEditClose);
  EXPECT_EQ(editor->getFrame(), nullptr);
  dispatch(effEditIdle);  // closed: nothing to do
  dispatch(effEditOpen, 0, 0, nullptr);
  EXPECT_NE(editor->getFrame(), nullptr);
  EXPECT_EQ(editor->getFrame()->getNbViews(), 1);
}

}  // namespace
