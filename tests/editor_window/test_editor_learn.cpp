// The MIDI-learn gesture on the panel: the outline that marks the waiting
// knob, the controller that binds it, and the knob following that controller.
// GoogleTest (through the support header) before Xlib, whose macros clash with it.
#include "editor_window_support.h"

#include <X11/keysym.h>

#include "midi_events.h"

namespace editorwindow {
namespace {

// The outline covers the border pixels of the control's rectangle: columns
// left and right - 1, rows top and bottom - 1.
bool outlined(const HostedEditor& editor, const Rect& r) {
  const Pixels p = editor.grab(r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  constexpr uint32_t kWhite = 0xFFFFFF;
  for (int x = 0; x < w; ++x)
    if (p.at(x, 0) != kWhite || p.at(x, h - 1) != kWhite) return false;
  for (int y = 0; y < h; ++y)
    if (p.at(0, y) != kWhite || p.at(w - 1, y) != kWhite) return false;
  return true;
}

// Inside the outline: what the knob's picture shows.
Rect inner(const Rect& r) { return Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}; }

TEST_F(EditorWindow, LearnGestureMarksDepthUntilAControllerBindsIt) {
  auto& effect = editor->effect();
  effect.setParameter(3, 0.2f);
  editor->openEditor();
  ASSERT_FALSE(outlined(*editor, kDepthKnob));
  effect.clearCalls();

  FakeUser user;
  ASSERT_TRUE(user.ok());
  int x = 0, y = 0;
  editor->toScreen(kDepthKnob.centerX(), kDepthKnob.centerY(), x, y);
  user.moveTo(x, y);
  user.keys({XK_Control_L, XK_Shift_L}, true);
  user.button(true);
  user.button(false);
  user.keys({XK_Shift_L, XK_Control_L}, false);
  ASSERT_TRUE(pumpUntil({editor.get()}, [&] { return outlined(*editor, kDepthKnob); }))
      << "no white outline around Depth";
  EXPECT_FALSE(outlined(*editor, kRepeatKnob));
  // The gesture arms learning and does not move the knob.
  EXPECT_TRUE(editsOf(effect).empty());
  EXPECT_EQ(effect.getParameter(3), 0.2f);
  const Pixels knobBefore = editor->grab(inner(kDepthKnob));

  // Two messages of one controller bind it; neither moves the parameter.
  MidiEventList twice({midiMessage(0xB0, 7, 90), midiMessage(0xB0, 7, 90)});
  effect.processEvents(twice.get());
  EXPECT_EQ(effect.getParameter(3), 0.2f);
  ASSERT_TRUE(pumpUntil({editor.get()}, [&] { return !outlined(*editor, kDepthKnob); }))
      << "the outline stayed after binding";

  // Bound: the controller now turns the knob, on screen too.
  MidiEventList full({midiMessage(0xB3, 7, 127)});
  effect.processEvents(full.get());
  EXPECT_EQ(effect.getParameter(3), 1.0f);
  EXPECT_TRUE(pumpUntil({editor.get()}, [&] { return !(editor->grab(inner(kDepthKnob)) == knobBefore); }))
      << "the knob did not move on screen";
  // Driven by MIDI, not by the user: nothing to automate.
  EXPECT_TRUE(editsOf(effect).empty());
}

}  // namespace
}  // namespace editorwindow
