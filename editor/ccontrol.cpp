#include "editor/ccontrol.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"
#include "gui/platform/platform_time.h"

namespace {

// Below this the two presses of a double click come too fast for most people.
constexpr long kMinimumDoubleClickMilliseconds = 250;

}  // namespace

CControl::CControl(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CView(size),
      listener(listener),
      tag(tag),
      doubleClickDelta(
          std::max(static_cast<long>(platformDoubleClickTime()), kMinimumDoubleClickMilliseconds)) {
  setTransparency(false);
  setMouseEnabled(true);
  // Taken directly rather than through setBackground: a new control must
  // keep its first drawn value (1.0), which marking it dirty would replace.
  if (background) {
    background->remember();
    this->background = background;
  }
}

CControl::~CControl() = default;

bool CControl::isDirty() const {
  // Written as "not equal" so that a NaN on either side counts as a change.
  return !(oldValue == value) || CView::isDirty();
}

void CControl::setDirty(const bool state) {
  CView::setDirty(state);
  if (state)
    oldValue = value == -1.0f ? 0.0f : -1.0f;
  else
    oldValue = value;
}

bool CControl::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CControl") == 0) return true;
  return CView::isTypeOf(type);
}

void CControl::doIdleStuff() {
  if (frame) frame->doIdleStuff();
}

void CControl::beginEdit() {
  if (!frame) return;
  // The control being edited takes the keys too (arrows on a knob).
  frame->setFocusView(this);
  frame->beginEdit(tag);
}

void CControl::endEdit() {
  if (frame) frame->endEdit(tag);
}

void CControl::copyBackOffset() { backOffset = CPoint(viewSize.left, viewSize.top); }

void CControl::bounceValue() {
  if (value > vmax)
    value = vmax;
  else if (value < vmin)
    value = vmin;
}

bool CControl::checkDefaultValue(CDrawContext* context, long button) {
  // Only the bare command-click: with shift added it is the learn gesture.
  if (button != (kMouseLeft | kModCommand)) return false;
  beginEdit();
  value = getDefaultValue();
  if (isDirty() && listener) listener->valueChanged(context, this);
  endEdit();
  return true;
}

bool CControl::isDoubleClick() {
  const long now = frame ? frame->getTicks() : 0;
  // The clock is 32 bits of milliseconds: measure the gap modulo 2^32 so that
  // a wrap between the two presses does not make every press a double click.
  const uint32_t gap = static_cast<uint32_t>(now) - static_cast<uint32_t>(lastTicks);
  if (lastTicks > 0 && gap < static_cast<uint32_t>(doubleClickDelta)) {
    lastTicks = 0;
    return true;
  }
  lastTicks = now;
  return false;
}

long CControl::currentButtons(CDrawContext* context) {
  if (context) return context->getMouseButtons();
  return frame ? frame->getCurrentButtons() : 0;
}

bool CControl::offerModifierClick(CDrawContext* context, long buttons) {
  if (!listener || !(buttons & kModifierMask)) return false;
  return listener->controlModifierClicked(context, this, buttons) != 0;
}
