#include "gui/aeffguieditor.h"

#include "gui/cdrawcontext.h"
#include "gui/cframe.h"
#include "gui/platform/platform_time.h"
#include "host/audioeffectx.h"
#include "host/plugin_location.h"

VstInt32 AEffGUIEditor::knobMode = kCircularMode;

namespace {

// Edit gestures are a level-2 request of the host; a level-1 effect has none.
AudioEffectX* effectX(AudioEffect* effect) { return dynamic_cast<AudioEffectX*>(effect); }

// The millisecond clock wraps after 49 days; comparing by difference keeps
// the pacing going across the wrap.
bool isBefore(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }

}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect) {
  nextIdleTime = getTicks();
  if (effect) effect->setEditor(this);
  InitMachOLibrary();
}

AEffGUIEditor::~AEffGUIEditor() { ExitMachOLibrary(); }

bool AEffGUIEditor::getRect(ERect** out) {
  if (out) *out = &rect;
  return true;
}

void AEffGUIEditor::idle() {
  if (!idleBusy && frame) frame->idle();
}

void AEffGUIEditor::draw(ERect* area) {
  if (!frame) return;
  if (!area) {
    frame->draw(static_cast<CView*>(nullptr));
    return;
  }
  CDrawContext* context = frame->createDrawContext();
  frame->drawRect(context, CRect(area->left, area->top, area->right, area->bottom));
  context->forget();
}

VstInt32 AEffGUIEditor::mouse(VstInt32 x, VstInt32 y) {
  if (frame) {
    CDrawContext* context = frame->createDrawContext();
    CPoint where(x, y);
    frame->mouse(context, where, -1);
    context->forget();
  }
  return 1;
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) {
  return frame ? frame->onKeyDown(keyCode) == 1 : false;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) {
  return frame ? frame->onKeyUp(keyCode) == 1 : false;
}

bool AEffGUIEditor::onWheel(float distance) {
  if (!frame) return false;
  CDrawContext* context = frame->createDrawContext();
  CPoint where(0, 0);
  context->getMouseLocation(where);
  bool result = frame->onWheel(context, where, distance);
  context->forget();
  return result;
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode) {
  knobMode = mode;
  return true;
}

void AEffGUIEditor::beginEdit(VstInt32 index) {
  if (AudioEffectX* x = effectX(effect)) x->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index) {
  if (AudioEffectX* x = effectX(effect)) x->endEdit(index);
}

void AEffGUIEditor::doIdleStuff() {
  uint32_t now = getTicks();
  if (isBefore(now, nextIdleTime)) {
    // Serve the window for a moment instead of spinning.
    if (frame)
      frame->waitForEvents(4);
    else
      wait(4);
    now += 4;
    // A redraw is due every 100 ms, and early by up to 50 ms inside loops.
    if (isBefore(now, nextIdleTime - 50)) return;
  }
  idle();
  if (frame) frame->dispatchEvents();
  nextIdleTime = now + 100;
  idleBusy = true;
  if (effect) effect->masterIdle();
  idleBusy = false;
}

uint32_t AEffGUIEditor::getTicks() const { return platformTicks(); }

void AEffGUIEditor::wait(uint32_t milliseconds) { platformSleep(milliseconds); }
