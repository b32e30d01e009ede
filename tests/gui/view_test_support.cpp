#include "view_test_support.h"

#include <algorithm>

namespace viewtest {

PaintView::PaintView(const CRect& size, CColor color, int* destroyed)
    : CView(size), color(color), destroyed(destroyed) {}

PaintView::~PaintView() {
  if (destroyed) ++*destroyed;
}

void PaintView::draw(CDrawContext* context) {
  ++draws;
  if (context) {
    context->setFillColor(color);
    context->fillRect(viewSize);
  }
  setDirty(false);
}

void PaintView::mouse(CDrawContext* context, CPoint& where, long buttons) {
  presses.push_back(Press{where, buttons});
  if (onPress) onPress(context, where, buttons);
}

long PaintView::onKeyDown(VstKeyCode& key) {
  keysDown.push_back(key);
  return handlesKeys ? 1 : -1;
}

long PaintView::onKeyUp(VstKeyCode& key) {
  keysUp.push_back(key);
  return handlesKeys ? 1 : -1;
}

bool PaintView::onWheel(CDrawContext* context, const CPoint& where, const CMouseWheelAxis axis,
                        float distance) {
  wheels.push_back(Wheel{where, axis, distance});
  return true;
}

void PaintView::looseFocus(CDrawContext* context) { ++focusLost; }

bool ScriptedPointer::pointerPosition(CPoint& where) {
  if (steps.empty()) return false;
  where = steps[index].where;
  return true;
}

long ScriptedPointer::pointerButtons() { return steps.empty() ? 0 : steps[index].buttons; }

void ScriptedPointer::waitForEvents(unsigned milliseconds) {
  ++waits;
  if (index + 1 < steps.size()) ++index;
}

HostLog& hostLog() {
  static HostLog log;
  return log;
}

std::vector<VstInt32> HostLog::opcodes() const {
  std::vector<VstInt32> out;
  for (const Call& call : calls) out.push_back(call.opcode);
  return out;
}

int HostLog::count(VstInt32 opcode) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [opcode](const Call& c) { return c.opcode == opcode; }));
}

VstIntPtr recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt) {
  HostLog& log = hostLog();
  log.calls.push_back(HostLog::Call{opcode, index});
  if (opcode == audioMasterVersion) return 2400;
  if (opcode == audioMasterIdle && log.onIdle) log.onIdle();
  return 0;
}

TestEditor::TestEditor(AudioEffect* effect, const CRect& size) : AEffGUIEditor(effect), size(size) {
  rect.left = static_cast<int16_t>(size.left);
  rect.top = static_cast<int16_t>(size.top);
  rect.right = static_cast<int16_t>(size.right);
  rect.bottom = static_cast<int16_t>(size.bottom);
}

bool TestEditor::open(void* window) {
  AEffEditor::open(window);
  frame = new CFrame(size, window, this);
  if (populate) populate(frame);
  return true;
}

void TestEditor::close() {
  if (frame) frame->forget();
  frame = nullptr;
  AEffEditor::close();
}

}  // namespace viewtest
