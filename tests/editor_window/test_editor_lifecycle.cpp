// The editor's life as a host sees it: its size without any display, two
// instances with editors at once, and a host window that is not usable.
// GoogleTest (through the support header) before Xlib, whose macros clash with it.
#include "editor_window_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <X11/keysym.h>

#include <cmath>
#include <cstdlib>


namespace editorwindow {
namespace {

// effEditGetRect in a child process that has never had a DISPLAY: the size
// must come from the pictures, not from a connection.
ERect rectWithoutDisplay() {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    unsetenv("DISPLAY");
    ERect answer{};
    {
      junkyard::vsthost::PluginLibrary library(JUNKYARD_PLUGIN_PATH);
      if (library.ok()) {
        junkyard::vsthost::PluginInstance effect(library);
        ERect* rect = nullptr;
        if (effect.valid() && effect.dispatch(effEditGetRect, 0, 0, &rect) && rect) answer = *rect;
      }
    }
    const bool written = write(fds[1], &answer, sizeof answer) == static_cast<ssize_t>(sizeof answer);
    _exit(written ? 0 : 1);
  }
  close(fds[1]);
  ERect answer{};
  const bool read_ = read(fds[0], &answer, sizeof answer) == static_cast<ssize_t>(sizeof answer);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!read_ || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  return answer;
}

TEST(EditorRect, IsThePanelSizeBeforeOpeningEvenWithoutADisplay) {
  const ERect r = rectWithoutDisplay();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  // The layout reaches (495, 397) with the about box's hot spot.
  EXPECT_GE(r.right, 495);
  EXPECT_GE(r.bottom, 397);

  ASSERT_TRUE(pluginLibrary().ok());
  junkyard::vsthost::PluginInstance effect(pluginLibrary());
  ERect* here = nullptr;
  ASSERT_EQ(effect.dispatch(effEditGetRect, 0, 0, &here), 1);
  ASSERT_NE(here, nullptr);
  EXPECT_EQ(here->right, r.right);
  EXPECT_EQ(here->bottom, r.bottom);
}

void ctrlClick(FakeUser& user, const HostedEditor& editor, const Rect& r) {
  int x = 0, y = 0;
  editor.toScreen(r.centerX(), r.centerY(), x, y);
  user.moveTo(x, y);
  user.keys({XK_Control_L}, true);
  user.button(true);
  user.button(false);
  user.keys({XK_Control_L}, false);
}

TEST_F(EditorWindow, TwoOpenEditorsAreIndependent) {
  std::unique_ptr<HostedEditor> other = secondEditor();
  auto& a = editor->effect();
  auto& b = other->effect();
  for (auto* effect : {&a, &b}) {
    effect->setParameter(1, 0.9f);
    effect->setParameter(2, 0.9f);
  }
  editor->openEditor();
  other->openEditor();
  a.clearCalls();
  b.clearCalls();
  const Pixels delayOfA = editor->grab(kDelayKnob);
  const Pixels delayOfB = other->grab(kDelayKnob);
  ASSERT_EQ(delayOfA, delayOfB);

  FakeUser user;
  ASSERT_TRUE(user.ok());
  ctrlClick(user, *other, kDelayKnob);
  ASSERT_TRUE(pumpUntil({editor.get(), other.get()}, [&] { return sawEdit(b, audioMasterEndEdit, 1); }));
  ASSERT_TRUE(pumpUntil({editor.get(), other.get()}, [&] { return !(other->grab(kDelayKnob) == delayOfB); }));
  EXPECT_EQ(b.getParameter(1), 0.5f);
  EXPECT_EQ(a.getParameter(1), 0.9f);
  EXPECT_TRUE(editsOf(a).empty());
  EXPECT_EQ(editor->grab(kDelayKnob), delayOfA);

  // The other's editor keeps working once this one is closed.
  editor->closeEditor();
  ctrlClick(user, *other, kRepeatKnob);
  ASSERT_TRUE(pumpUntil({other.get()}, [&] { return sawEdit(b, audioMasterEndEdit, 2); }));
  EXPECT_EQ(b.getParameter(2), 0.5f);
  EXPECT_EQ(a.getParameter(2), 0.9f);
}

TEST_F(EditorWindow, UnusableHostWindowIsReportedAndTheEffectGoesOn) {
  Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(display, gone);
  XSync(display, False);
  auto& effect = editor->effect();
  testing::internal::CaptureStderr();
  effect.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(gone)));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Could not create Control : 3\n");

  effect.dispatch(effEditIdle);
  effect.setParameter(3, 0.375f);
  EXPECT_EQ(effect.getParameter(3), 0.375f);
  std::vector<float> left(64, 0.25f), right(64, -0.25f), outL(64, 7.0f), outR(64, 7.0f);
  float* in[] = {left.data(), right.data()};
  float* out[] = {outL.data(), outR.data()};
  effect.processReplacing(in, out, 64);
  for (float v : outL) ASSERT_TRUE(std::isfinite(v) && v != 7.0f);
  effect.dispatch(effEditClose);
  effect.close();
  EXPECT_FALSE(effect.valid());
}

}  // namespace
}  // namespace editorwindow
