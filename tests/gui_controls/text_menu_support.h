// What the text, display and menu tests stand on: an effect whose host
// records edit gestures, an editor whose frame is bound to a window or not,
// a listener recording reports in the same log, and in-memory surfaces.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "editor/ccontrol.h"
#include "gui/aeffguieditor.h"
#include "gui/ccolor.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"
#include "gui/platform/platform_drawing.h"
#include "host/audioeffectx.h"

namespace textmenutest {

// 'B' / 'E': the host heard of an edit gesture beginning / ending on `tag`;
// 'C': the listener got a report, with the control's value and (for text
// controls) its text.
struct Event {
  char kind;
  long tag;
  float value = 0.0f;
  std::string text;
  bool operator==(const Event& o) const {
    return kind == o.kind && tag == o.tag && value == o.value && text == o.text;
  }
};
std::ostream& operator<<(std::ostream& out, const Event& e);
inline Event begin(long tag) { return Event{'B', tag, 0.0f, {}}; }
inline Event end(long tag) { return Event{'E', tag, 0.0f, {}}; }
inline Event changed(long tag, float value, std::string text = {}) {
  return Event{'C', tag, value, std::move(text)};
}
std::vector<Event>& events();

class TestEffect : public AudioEffectX {
 public:
  TestEffect();
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override {}
};

class Listener : public CControlListener {
 public:
  void valueChanged(CDrawContext* context, CControl* control) override;
  long controlModifierClicked(CDrawContext* context, CControl* control, long button) override;
  long modifierAnswer = 0;
  int modifierClicks = 0;
};

// An editor whose frame (on the host window given to open, or none) is
// filled by `populate`.
class TestEditor : public AEffGUIEditor {
 public:
  TestEditor(AudioEffect* effect, const CRect& size);
  ~TestEditor() override { close(); }
  bool open(void* window) override;
  void close() override;

  CRect size;
  std::function<void(CFrame*)> populate;
};

// An effect with its editor open on a frame of 200 × 150 without a window.
struct UnboundEditor : ::testing::Test {
  TestEffect* effect = nullptr;
  TestEditor* editor = nullptr;
  CFrame* frame = nullptr;
  Listener listener;
  void SetUp() override;
  void TearDown() override;
  // The frame takes the control over.
  template <class T>
  T* add(T* control) {
    frame->addView(control);
    return control;
  }
  // A press through the frame, as the window would deliver it.
  void click(CPoint at, long buttons = kMouseLeft) { frame->mouse(nullptr, at, buttons); }
};

// An owned in-memory surface filled with one colour, and a context on it.
class Surface {
 public:
  Surface(long width, long height, CColor fill = kBlackCColor);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  PlatformSurface* get() const { return surface; }
  CColor pixel(long x, long y) const;
  long width() const { return w; }
  long height() const { return h; }

 private:
  PlatformSurface* surface;
  long w, h;
};

class Context {
 public:
  explicit Context(Surface& surface) : context(new CDrawContext(nullptr, surface.get())) {}
  ~Context() { context->forget(); }
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;
  operator CDrawContext*() const { return context; }
  CDrawContext* operator->() const { return context; }

 private:
  CDrawContext* context;
};

// Columns of the rectangle holding a pixel other than `background`
// (text ink): the first and last, -1 / -1 when none.
void inkSpan(const Surface& surface, const CRect& area, CColor background, long& first, long& last);

}  // namespace textmenutest
