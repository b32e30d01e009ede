#include "gui/controls/conoffbutton.h"

#include <cstring>

#include "gui/cbitmap.h"
#include "gui/controls/strip_frames.h"

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, long tag,
                           CBitmap* background, long style)
    : CControl(size, listener, tag, background), style(style) {}

COnOffButton::~COnOffButton() = default;

bool COnOffButton::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "COnOffButton") == 0) return true;
  return CControl::isTypeOf(type);
}

void COnOffButton::draw(CDrawContext* context) {
  if (background) {
    // Two halves; with an odd height the last row belongs to neither.
    const long half = background->getHeight() / 2;
    stripframes::drawFrame(context, background, viewSize, CPoint(0, 0), isOn() ? 1 : 0, half,
                           transparency);
  }
  setDirty(false);
}

void COnOffButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;

  beginEdit();
  // Every press changes the state, so every press is reported, even when
  // the value it replaces was set from outside and never drawn (then the
  // drawn value may already equal the new one).
  value = isOn() ? 0.0f : 1.0f;
  if (style & kPreListenerUpdate) {
    if (listener) listener->valueChanged(context, this);
    doIdleStuff();
  } else {
    doIdleStuff();
    if (listener) listener->valueChanged(context, this);
  }
  endEdit();
}
