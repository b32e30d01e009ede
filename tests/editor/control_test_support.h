// What the control tests stand on: a host that records the edit gestures it
// hears of, an effect and editor around a frame with no window, a pointer and
// buttons that follow a script, a listener that records reports, and
// in-memory surfaces and picture strips for pixel checks.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "editor/ccontrol.h"
#include "gui/aeffguieditor.h"
#include "gui/ccolor.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"
#include "gui/platform/platform_drawing.h"
#include "host/audioeffectx.h"

namespace controltest {

// One thing that happened, in order: the host heard of the begin ('B') or
// end ('E') of an edit gesture on `tag`, the listener got a report ('C',
// with the control's value) or a modified click ('M', with the buttons in
// `buttons`), or an editor that logs its idle passes made one ('I').
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

struct EventLog {
  std::vector<Event> events;
  int hostIdles = 0;
  void clear() {
    events.clear();
    hostIdles = 0;
  }
  // The values reported, in order.
  std::vector<float> reportedValues() const;
};
EventLog& eventLog();

VstIntPtr recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt);

class TestEffect : public AudioEffectX {
 public:
  TestEffect() : AudioEffectX(recordingHost, 1, 6) {}
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override {}
};

// Reports and modified clicks go to the event log; `modifierAnswer` is what
// controlModifierClicked returns.
class RecordingListener : public CControlListener {
 public:
  void valueChanged(CDrawContext* context, CControl* control) override;
  long controlModifierClicked(CDrawContext* context, CControl* control, long button) override;
  long modifierAnswer = 0;
  std::vector<CDrawContext*> contexts;  // the context of each report
};

// Position (frame coordinates) and buttons follow a script; every wait for
// events moves on to the next step, the last one stays.
class ScriptedPointer : public CPointerSource {
 public:
  struct Step {
    CPoint where;
    long buttons;
  };
  ScriptedPointer() = default;
  explicit ScriptedPointer(std::vector<Step> steps) : steps(std::move(steps)) {}
  void script(std::vector<Step> newSteps) {
    steps = std::move(newSteps);
    index = 0;
  }
  bool pointerPosition(CPoint& where) override;
  long pointerButtons() override;
  void waitForEvents(unsigned milliseconds) override;

  std::vector<Step> steps;
  size_t index = 0;
  int waits = 0;
};

// A frame whose millisecond clock the test sets (the real one while `ticks`
// is negative).
class TestFrame : public CFrame {
 public:
  TestFrame(const CRect& size, void* window, AEffGUIEditor* editor)
      : CFrame(size, window, editor) {}
  long getTicks() const override { return ticks >= 0 ? ticks : CFrame::getTicks(); }
  long ticks = -1;
};

// Opens a TestFrame of `size`. Its idle work inside mouse loops is
// deterministic unless `realPacing` is set: every pass lets the pointer
// script move on and redraws what is dirty, as the real pacing does every
// few passes. With `logIdlePasses` every pass also goes into the event
// log, to show where a redraw falls between a gesture's reports.
class TestEditor : public AEffGUIEditor {
 public:
  TestEditor(AudioEffect* effect, const CRect& size);
  ~TestEditor() override { close(); }

  bool open(void* window) override;
  void close() override;
  void doIdleStuff() override;

  TestFrame* testFrame() const { return static_cast<TestFrame*>(frame); }

  CRect size;
  bool realPacing = false;
  bool logIdlePasses = false;
  int idleStuffCalls = 0;
};

// An owned in-memory surface filled with one colour.
class Surface {
 public:
  Surface(long width, long height, CColor fill = kBlackCColor);
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

// Pixel of a surface with no context of ours on it.
CColor pixelOf(PlatformSurface* surface, long x, long y);

// A vertical strip of `frames` frames, each width × frameHeight and filled
// with stripColor(k). The caller holds the one reference.
CBitmap* makeStrip(long width, long frameHeight, long frames);
// Opaque, distinct for every k below 40, and never white (white is the key
// colour of transparent drawing).
CColor stripColor(long k);
// The strip frame whose colour this is, or -1.
long stripFrameOf(CColor color);

// A picture of one colour, for backgrounds and splash pictures.
CBitmap* makePicture(long width, long height, CColor fill);

// An effect with its editor open on a frame of 200 × 150 without a window,
// the scripted pointer installed, and a listener for the controls.
struct EditorFixture : ::testing::Test {
  TestEffect* effect = nullptr;
  TestEditor* editor = nullptr;
  TestFrame* frame = nullptr;
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
  // Draws the whole frame, as the window's first exposure does.
  void drawAll();
  // What the frame has drawn.
  CColor framePixel(long x, long y);
  std::vector<Event>& events() { return eventLog().events; }
};

}  // namespace controltest
