// Views, pointers, effects and editors for the view-tree and editor tests:
// views that paint a colour and record what reaches them, a pointer whose
// position and buttons follow a script, and an effect whose host callback
// records every request.
#pragma once

#include <functional>
#include <vector>

#include "gui/aeffguieditor.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"
#include "gui/cview.h"
#include "gui/cviewcontainer.h"
#include "host/audioeffectx.h"

namespace viewtest {

struct Press {
  CPoint where;
  long buttons;
};

struct Wheel {
  CPoint where;
  CMouseWheelAxis axis;
  float distance;
};

// Fills its rectangle with its colour; counts and records what reaches it.
class PaintView : public CView {
 public:
  PaintView(const CRect& size, CColor color, int* destroyed = nullptr);
  ~PaintView() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons) override;
  long onKeyDown(VstKeyCode& key) override;
  long onKeyUp(VstKeyCode& key) override;
  bool onWheel(CDrawContext* context, const CPoint& where, const CMouseWheelAxis axis,
               float distance) override;
  void looseFocus(CDrawContext* context) override;

  CColor color;
  int draws = 0;
  int focusLost = 0;
  bool handlesKeys = false;
  std::vector<Press> presses;
  std::vector<VstKeyCode> keysDown;
  std::vector<VstKeyCode> keysUp;
  std::vector<Wheel> wheels;
  // Runs inside mouse(), after the press is recorded.
  std::function<void(CDrawContext*, CPoint&, long)> onPress;

 private:
  int* destroyed;
};

// Pointer position (frame coordinates) and buttons follow a script; each wait
// for events moves on to the next step, the last one stays.
class ScriptedPointer : public CPointerSource {
 public:
  struct Step {
    CPoint where;
    long buttons;
  };
  explicit ScriptedPointer(std::vector<Step> steps) : steps(std::move(steps)) {}

  bool pointerPosition(CPoint& where) override;
  long pointerButtons() override;
  void waitForEvents(unsigned milliseconds) override;

  std::vector<Step> steps;
  size_t index = 0;
  int waits = 0;
};

// Records the host requests of every TestEffect.
struct HostLog {
  struct Call {
    VstInt32 opcode;
    VstInt32 index;
  };
  std::vector<Call> calls;
  // Runs at each audioMasterIdle.
  std::function<void()> onIdle;

  std::vector<VstInt32> opcodes() const;
  int count(VstInt32 opcode) const;
};
HostLog& hostLog();
VstIntPtr recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt);

class TestEffect : public AudioEffectX {
 public:
  TestEffect() : AudioEffectX(recordingHost, 1, 1) {}
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override {}
};

// An editor whose open builds a frame of `size` in the host's window and
// lets the test fill it.
class TestEditor : public AEffGUIEditor {
 public:
  TestEditor(AudioEffect* effect, const CRect& size);
  ~TestEditor() override { close(); }

  bool open(void* window) override;
  void close() override;

  CRect size;
  std::function<void(CFrame*)> populate;
  int setParameterCalls = 0;
  void setParameter(VstInt32 index, float value) override { ++setParameterCalls; }
};

}  // namespace viewtest
