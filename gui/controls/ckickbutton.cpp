#include "gui/controls/ckickbutton.h"

#include <cstring>

#include "gui/cbitmap.h"
#include "gui/controls/strip_frames.h"

CKickButton::CKickButton(const CRect& size, CControlListener* listener, long tag,
                         CBitmap* background, CPoint& offset)
    : CKickButton(size, listener, tag, size.height(), background, offset) {}

CKickButton::CKickButton(const CRect& size, CControlListener* listener, long tag,
                         long frameHeight, CBitmap* background, CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset), frameHeight(frameHeight) {}

CKickButton::~CKickButton() = default;

bool CKickButton::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CKickButton") == 0) return true;
  return CControl::isTypeOf(type);
}

void CKickButton::draw(CDrawContext* context) {
  stripframes::drawFrame(context, background, viewSize, offset, value != 0.0f ? 1 : 0,
                         frameHeight, transparency);
  setDirty(false);
}

void CKickButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;

  const float entry = value;
  const float opposite = entry == 0.0f ? 1.0f : 0.0f;
  beginEdit();
  // Compared with what the listener last heard, not with the last drawing:
  // a value set from outside and not drawn yet must not hide the press.
  float reported = entry;
  do {
    value = viewSize.pointInside(where) ? opposite : entry;
    if (!(value == reported) && listener) listener->valueChanged(context, this);
    reported = value;
    // Position and buttons of the same moment: the next pass uses both.
    doIdleStuff();
    getMouseLocation(context, where);
  } while (currentButtons(context) & kMouseLeft);
  value = 0.0f;
  if (listener) listener->valueChanged(context, this);
  endEdit();
}
