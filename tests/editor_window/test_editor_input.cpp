// Real mouse input on the panel, through the module as a host loads it:
// knob drags at both rates, the reset click and the power switch acting on press.
// GoogleTest (through the support header) before Xlib, whose macros clash with it.
#include "editor_window_support.h"

#include <X11/keysym.h>

#include <atomic>
#include <cmath>
#include <thread>


namespace editorwindow {
namespace {

constexpr float kTolerance = 1e-5f;

bool automated(const junkyard::vsthost::PluginInstance& effect, VstInt32 index, float value) {
  for (const Edit& e : editsOf(effect))
    if (e.opcode == audioMasterAutomate && e.index == index && std::fabs(e.value - value) < kTolerance)
      return true;
  return false;
}

// begin-edit, then one or more automations, then end-edit, all for `index`;
// returns the automated values.
std::vector<float> expectOneGesture(const std::vector<Edit>& edits, VstInt32 index) {
  std::vector<float> values;
  EXPECT_GE(edits.size(), 3u);
  if (edits.size() < 3) return values;
  EXPECT_EQ(edits.front().opcode, audioMasterBeginEdit);
  EXPECT_EQ(edits.back().opcode, audioMasterEndEdit);
  for (size_t i = 0; i < edits.size(); ++i) {
    EXPECT_EQ(edits[i].index, index) << "edit " << i;
    if (i > 0 && i + 1 < edits.size()) {
      EXPECT_EQ(edits[i].opcode, audioMasterAutomate) << "edit " << i;
      values.push_back(edits[i].value);
    }
  }
  return values;
}

struct DragCase {
  const char* name;
  std::vector<unsigned long> keys;
  float expected;  // after 100 pixels upward from 0.25
};

class KnobDrag : public EditorWindow, public ::testing::WithParamInterface<DragCase> {};

TEST_P(KnobDrag, HundredPixelsUpMoveTheDelayAtTheGivenRate) {
  const DragCase& c = GetParam();
  auto& effect = editor->effect();
  effect.setParameter(1, 0.25f);
  editor->openEditor();
  effect.clearCalls();

  FakeUser user;
  ASSERT_TRUE(user.ok());
  int x = 0, y = 0;
  editor->toScreen(kDelayKnob.centerX(), kDelayKnob.centerY(), x, y);
  user.moveTo(x, y);

  // The knob's mouse loop runs inside effEditIdle on this thread: the user
  // acts from another one, step by step as the host hears about the drag.
  std::atomic<bool> reachedTarget{false};
  std::thread hand([&] {
    user.keys(c.keys, true);
    user.button(true);
    if (waitFor([&] { return sawEdit(effect, audioMasterBeginEdit, 1); })) {
      user.moveTo(x, y - 100);
      reachedTarget = waitFor([&] { return automated(effect, 1, c.expected); });
    }
    user.button(false);
    user.keys(c.keys, false);
  });
  const bool ended = pumpUntil({editor.get()}, [&] { return sawEdit(effect, audioMasterEndEdit, 1); });
  hand.join();
  ASSERT_TRUE(ended);
  EXPECT_TRUE(reachedTarget);

  const std::vector<float> values = expectOneGesture(editsOf(effect), 1);
  ASSERT_FALSE(values.empty());
  EXPECT_NEAR(values.back(), c.expected, kTolerance);
  EXPECT_NEAR(effect.getParameter(1), c.expected, kTolerance);
}

INSTANTIATE_TEST_SUITE_P(Rates, KnobDrag,
                         ::testing::Values(DragCase{"Plain", {}, 0.75f},
                                           DragCase{"ShiftIsFiner", {XK_Shift_L}, 0.25f + 1.0f / 3.0f}),
                         [](const auto& info) { return std::string(info.param.name); });

struct KnobCase {
  const char* name;
  VstInt32 index;
  Rect rect;
};

class CtrlClick : public EditorWindow, public ::testing::WithParamInterface<KnobCase> {};

TEST_P(CtrlClick, ResetsTheKnobToOneHalfAndTellsTheHost) {
  const KnobCase& c = GetParam();
  auto& effect = editor->effect();
  effect.setParameter(c.index, 0.9f);
  editor->openEditor();
  effect.clearCalls();

  FakeUser user;
  ASSERT_TRUE(user.ok());
  int x = 0, y = 0;
  editor->toScreen(c.rect.centerX(), c.rect.centerY(), x, y);
  user.moveTo(x, y);
  // No mouse loop follows a reset: the whole click can be queued at once.
  user.keys({XK_Control_L}, true);
  user.button(true);
  user.button(false);
  user.keys({XK_Control_L}, false);
  ASSERT_TRUE(pumpUntil({editor.get()}, [&] { return sawEdit(effect, audioMasterEndEdit, c.index); }));

  const std::vector<float> values = expectOneGesture(editsOf(effect), c.index);
  EXPECT_EQ(values, std::vector<float>{0.5f});
  EXPECT_EQ(effect.getParameter(c.index), 0.5f);
}

INSTANTIATE_TEST_SUITE_P(Knobs, CtrlClick,
                         ::testing::Values(KnobCase{"MicLevel", 0, kMicLevelKnob},
                                           KnobCase{"Delay", 1, kDelayKnob},
                                           KnobCase{"Repeat", 2, kRepeatKnob},
                                           KnobCase{"Depth", 3, kDepthKnob}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorWindow, PowerSwitchReportsOffOnPressBeforeTheRelease) {
  auto& effect = editor->effect();
  effect.dispatch(effSetProgram, 0, 0);
  ASSERT_EQ(effect.getParameter(5), 1.0f) << "program 0 starts powered";
  editor->openEditor();
  effect.clearCalls();

  FakeUser user;
  ASSERT_TRUE(user.ok());
  int x = 0, y = 0;
  editor->toScreen(kPowerSwitch.centerX(), kPowerSwitch.centerY(), x, y);
  user.moveTo(x, y);
  std::atomic<bool> offWhileHeld{false};
  std::thread hand([&] {
    user.button(true);
    offWhileHeld = waitFor([&] { return automated(effect, 5, 0.0f); });
    user.button(false);
  });
  const bool ended = pumpUntil({editor.get()}, [&] { return sawEdit(effect, audioMasterEndEdit, 5); });
  hand.join();
  ASSERT_TRUE(ended);
  EXPECT_TRUE(offWhileHeld) << "the switch waited for the release";
  EXPECT_EQ(expectOneGesture(editsOf(effect), 5), std::vector<float>{0.0f});
  EXPECT_EQ(effect.getParameter(5), 0.0f);
}

}  // namespace
}  // namespace editorwindow
