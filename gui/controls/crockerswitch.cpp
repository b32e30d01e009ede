#include "gui/controls/crockerswitch.h"

#include <cmath>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/controls/cstyles.h"
#include "gui/controls/strip_frames.h"

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, long tag,
                             CBitmap* background, CPoint& offset, long style)
    : CRockerSwitch(size, listener, tag, size.height(), background, offset, style) {}

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, long tag,
                             long frameHeight, CBitmap* background, CPoint& offset, long style)
    : CControl(size, listener, tag, background),
      offset(offset),
      frameHeight(frameHeight),
      style(style) {
  setMin(-1.0f);
  setMax(1.0f);
  setDefaultValue(0.0f);
  setWheelInc(1.0f);
}

CRockerSwitch::~CRockerSwitch() = default;

bool CRockerSwitch::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CRockerSwitch") == 0) return true;
  return CControl::isTypeOf(type);
}

long CRockerSwitch::currentFrame() const {
  if (value < 0.0f) return 0;
  if (value > 0.0f) return 2;
  return 1;  // 0 and NaN: at rest
}

void CRockerSwitch::draw(CDrawContext* context) {
  stripframes::drawFrame(context, background, viewSize, offset, currentFrame(), frameHeight,
                         transparency);
  setDirty(false);
}

float CRockerSwitch::valueAt(const CPoint& where) const {
  if (!viewSize.pointInside(where)) return 0.0f;
  if (style & kVertical) {
    // Twice the offset against the size: no rounding of an odd size's middle.
    return 2 * (where.y - viewSize.top) < viewSize.height() ? 1.0f : -1.0f;
  }
  return 2 * (where.x - viewSize.left) < viewSize.width() ? -1.0f : 1.0f;
}

void CRockerSwitch::report(CDrawContext* context) {
  if (listener) listener->valueChanged(context, this);
}

void CRockerSwitch::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;

  beginEdit();
  // Compared with what the listener last heard (the rest position before
  // the press), not with the last drawing: the idle pass draws every change.
  float reported = 0.0f;
  do {
    value = valueAt(where);
    if (value != reported) {
      report(context);
      reported = value;
    }
    // Position and buttons of the same moment: the next pass uses both.
    doIdleStuff();
    getMouseLocation(context, where);
  } while (currentButtons(context) & kMouseLeft);
  value = 0.0f;
  report(context);
  endEdit();
}

bool CRockerSwitch::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  if (!getMouseEnabled()) return false;
  // No direction (0 or NaN): nothing to rock.
  if (!(distance > 0.0f) && !(distance < 0.0f)) return false;
  beginEdit();
  value = distance > 0.0f ? 1.0f : -1.0f;
  report(context);
  doIdleStuff();
  value = 0.0f;
  report(context);
  endEdit();
  return true;
}
