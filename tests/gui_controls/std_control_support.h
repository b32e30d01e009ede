// What the standard-control tests stand on: a host that records the edit
// gestures it hears of, an effect and editor around a frame without a window,
// a pointer and buttons that follow a script, a listener that records
// reports, and in-memory surfaces and picture strips for pixel checks.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "editor/ccontrol.h"
#include "gui/aeffguieditor.h"
#include "gui/ccolor.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"
#include "host/audioeffectx.h"

namespace stdtest {

// One thing that happened, in order: the host heard of the begin ('B') or
// end ('E') of an edit gesture on `tag`, the listener got a report ('C',
// with the control's value), a modified click ('M', with its buttons), or
// the control was drawn during an idle pass ('D', with its value).
struct Event {
  char kind;
  long tag;
  float value = 0.0f;
  long buttons = 0;
  bool operator==(const Event& o) const;
};
std::ostream& operator<<(std::ostream& out, const Event& e);

inline Event begin(long tag) { return Event{'B', tag}; }
inline Event end(long tag) { return Event{'E', tag}; }
inline Event changed(long tag, float value) { return Event{'C', tag, value}; }
inline Event modifierClick(long tag, long buttons) { return Event{'M', tag, 0.0f, buttons}; }
inline Event idled() { return Event{'I', 0}; }

// The log every recording part writes to (cleared by the fixture).
std::vector<Event>& eventLog();
// The values reported, in order.
std::vector<float> reportedValues();

class TestEffect : public AudioEffectX {
 public:
  TestEffect();
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override {}
};

// Reports and modified clicks go to the event log; `modifierAnswer` is what
// controlModifierClicked returns.
class RecordingListener : public CControlListener {
 public:
  void valueChanged(CDrawContext* context, CControl* control) override;
  long controlModifierClicked(CDrawContext* context, CControl* control, long button) override;
  long modifierAnswer = 0;
};

// Position (frame coordinates) and buttons follow a script; every wait for
// events moves on to the next step, the last one stays.
class ScriptedPointer : public CPointerSource {
 public:
  struct Step {
    CPoint where;
    long buttons;
  };
  void script(std::vector<Step> newSteps) {
    steps = std::move(newSteps);
    index = 0;
  }
  bool pointerPosition(CPoint& where) override;
  long pointerButtons() override;
  void waitForEvents(unsigned milliseconds) override;

  std::vector<Step> steps;
  size_t index = 0;
};

// An editor whose frame has no window. Every idle pass inside a mouse loop
// lets the pointer script move on, logs an 'I' event and redraws what is
// dirty.
class TestEditor : public AEffGUIEditor {
 public:
  TestEditor(AudioEffect* effect, const CRect& size);
  ~TestEditor() override { close(); }
  bool open(void* window) override;
  void close() override;
  void doIdleStuff() override;
  CRect size;
};

// An owned in-memory surface filled with one colour.
class Surface {
 public:
  Surface(long width, long height, CColor fill);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  PlatformSurface* get() const { return surface; }
  CColor pixel(long x, long y) const;

 private:
  PlatformSurface* surface;
};

// A drawing context on a surface, released at the end of the scope.
class Context {
 public:
  explicit Context(Surface& surface, CFrame* frame = nullptr)
      : context(new CDrawContext(frame, surface.get())) {}
  ~Context() { context->forget(); }
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;
  CDrawContext* get() const { return context; }
  operator CDrawContext*() const { return context; }

 private:
  CDrawContext* context;
};

// Opaque, distinct for every k below 40, never white (the key colour of
// transparent drawing) and never the ground colour below.
CColor stripColor(long k);
// The strip frame whose colour this is, or -1.
long stripFrameOf(CColor color);
// The colour the test surfaces start with.
constexpr CColor kGround = {60, 60, 60, 255};

// A vertical strip of `frames` frames, each width × frameHeight and filled
// with stripColor(k). The caller holds the one reference.
CBitmap* makeStrip(long width, long frameHeight, long frames);
// A picture of one colour. The caller holds the one reference.
CBitmap* makePicture(long width, long height, CColor fill);
// A picture whose pixel (x, y) has the colour given by `colorAt`.
CBitmap* makePattern(long width, long height, CColor (*colorAt)(long x, long y));

// The pointer script of a drag: held at `first`, then at each of `moves`,
// resting a moment at the last one (a mouse loop reads a position in one
// pass and the buttons in the next) and then released there.
std::vector<ScriptedPointer::Step> dragScript(CPoint first, const std::vector<CPoint>& moves,
                                              long buttons);

// An effect with its editor open on a frame of 200 × 150 without a window,
// drawn once (so idle passes redraw dirty views), the scripted pointer
// installed, and a listener for the controls.
struct ControlFixture : ::testing::Test {
  TestEffect* effect = nullptr;
  TestEditor* editor = nullptr;
  CFrame* frame = nullptr;
  ScriptedPointer pointer;
  RecordingListener listener;

  void SetUp() override;
  void TearDown() override;

  // The frame takes the control over.
  template <class T>
  T* add(T* control) {
    frame->addView(control);
    return control;
  }
  // A press at `at` (frame coordinates) through the frame; from then on the
  // pointer follows `script` (default: still there with the same buttons,
  // then released).
  void press(CPoint at, long buttons, std::vector<ScriptedPointer::Step> script = {});
  // One idle pass outside any mouse loop (draws what is dirty), then a
  // clean log: controls start from a drawn state.
  void settle();
  std::vector<Event>& events() { return eventLog(); }
};

}  // namespace stdtest
