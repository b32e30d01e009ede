#include "gui/controls/cslider.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/control_numeric.h"
#include "gui/cbitmap.h"
#include "gui/controls/cstyles.h"
#include "gui/controls/strip_frames.h"
#include "gui/vstkeys.h"

namespace {

long horizontalStyle(long style) { return (style & ~kVertical) | kHorizontal; }
long verticalStyle(long style) { return (style & ~kHorizontal) | kVertical; }

}  // namespace

CSlider::CSlider(const CRect& size, CControlListener* listener, long tag, long iMinPos,
                 long iMaxPos, CBitmap* handle, CBitmap* background, CPoint& offset, long style)
    : CControl(size, listener, tag, background),
      offset(offset),
      minPos(stripframes::saneLength(iMinPos)),
      maxPos(stripframes::saneLength(iMaxPos)),
      style(style) {
  setHandle(handle);
  // Centred across the track.
  if (isVertical())
    offsetHandle = CPoint((size.width() - widthOfSlider) / 2, minPos);
  else
    offsetHandle = CPoint(minPos, (size.height() - heightOfSlider) / 2);
  setWantsFocus(true);
}

CSlider::CSlider(const CRect& size, CControlListener* listener, long tag, CPoint& offsetHandle,
                 long range, CBitmap* handle, CBitmap* background, CPoint& offset, long style)
    : CControl(size, listener, tag, background),
      offset(offset),
      offsetHandle(stripframes::sanePoint(offsetHandle)),
      minPos(0),
      maxPos(0),
      style(style) {
  setHandle(handle);
  minPos = isVertical() ? this->offsetHandle.y : this->offsetHandle.x;
  maxPos = minPos + stripframes::saneLength(range);
  setWantsFocus(true);
}

CSlider::~CSlider() {
  if (pHandle) pHandle->forget();
  pHandle = nullptr;
}

bool CSlider::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CSlider") == 0) return true;
  return CControl::isTypeOf(type);
}

void CSlider::setHandle(CBitmap* handle) {
  // The new reference first: it may be the same picture.
  if (handle) handle->remember();
  if (pHandle) pHandle->forget();
  pHandle = handle;
  widthOfSlider = pHandle ? pHandle->getWidth() : 0;
  heightOfSlider = pHandle ? pHandle->getHeight() : 0;
  setDirty(true);
}

bool CSlider::isVertical() const { return (style & kVertical) != 0; }

bool CSlider::isMinimumAtFarEnd() const {
  return isVertical() ? (style & kTop) == 0 : (style & kRight) != 0;
}

long CSlider::handleLength() const { return isVertical() ? heightOfSlider : widthOfSlider; }

long CSlider::travel() const {
  const long long t = static_cast<long long>(maxPos) - minPos - handleLength();
  return t > 0 ? static_cast<long>(std::min<long long>(t, 1L << 28)) : 0;
}

long CSlider::axisOf(const CPoint& where) const {
  return isVertical() ? where.y - viewSize.top : where.x - viewSize.left;
}

long CSlider::edgeForValue(float v) const {
  const long t = travel();
  const float range = vmax - vmin;
  float fraction = range != 0.0f ? (v - vmin) / range : 0.0f;
  // NaN (from the value or the bounds) stays at the minimum.
  if (!(fraction >= 0.0f)) fraction = 0.0f;
  if (fraction > 1.0f) fraction = 1.0f;
  if (isMinimumAtFarEnd()) fraction = 1.0f - fraction;
  return minPos + stripframes::clampToLong(fraction * static_cast<float>(t) + 0.5f, 0, t);
}

float CSlider::valueForEdge(float edge) const {
  const long t = travel();
  // A handle that fills its track has nowhere to go.
  if (t <= 0) return value;
  float fraction = (edge - static_cast<float>(minPos)) / static_cast<float>(t);
  if (!(fraction >= 0.0f)) fraction = 0.0f;
  if (fraction > 1.0f) fraction = 1.0f;
  if (isMinimumAtFarEnd()) fraction = 1.0f - fraction;
  return vmin + fraction * (vmax - vmin);
}

CRect CSlider::handleRect() const {
  if (!pHandle) return CRect();
  const long edge = edgeForValue(value);
  CRect r = isVertical() ? CRect(offsetHandle.x, edge, offsetHandle.x + widthOfSlider,
                                 edge + heightOfSlider)
                         : CRect(edge, offsetHandle.y, edge + widthOfSlider,
                                 offsetHandle.y + heightOfSlider);
  r.offset(viewSize.left, viewSize.top);
  return r;
}

void CSlider::draw(CDrawContext* context) {
  if (context) {
    if (background) stripframes::drawPart(context, background, viewSize, offset, transparency);
    if (pHandle) {
      const CRect whole = handleRect();
      // Never over the neighbours, whatever the geometry says.
      CRect visible = whole;
      visible.bound(viewSize);
      const CPoint source(visible.left - whole.left, visible.top - whole.top);
      stripframes::drawPart(context, pHandle, visible, source, drawTransparentHandle);
    }
  }
  setDirty(false);
}

void CSlider::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;
  if (checkDefaultValue(context, buttons)) return;

  const long t = travel();
  // Value per pixel along the axis (toward the right or down).
  float perPixel = t > 0 ? (vmax - vmin) / static_cast<float>(t) : 0.0f;
  if (isMinimumAtFarEnd()) perPixel = -perPixel;
  const float zoom = zoomFactor > 0.0f ? zoomFactor : 1.0f;

  long pointer = axisOf(where);
  const long edge = edgeForValue(value);
  const long length = handleLength();
  // Where the handle is held, from its leading edge.
  long grab = pointer >= edge && pointer < edge + length ? pointer - edge : length / 2;
  bool fine = (buttons & kModShift) != 0;
  float fineBase = value;
  long fineOrigin = pointer;

  beginEdit();
  // Reports follow what the listener last heard: taking the focus at
  // beginEdit marks the slider for redrawing, which would otherwise pass
  // for a change of value.
  float reported = value;
  long now = buttons;
  do {
    pointer = axisOf(where);
    const bool shift = (now & kModShift) != 0;
    if (shift != fine) {
      if (shift) {
        fineBase = value;
        fineOrigin = pointer;
      } else {
        // Back to the full rate: hold the handle where it is now.
        grab = pointer - edgeForValue(value);
      }
      fine = shift;
    }
    if (fine)
      value = fineBase + static_cast<float>(pointer - fineOrigin) * perPixel / zoom;
    else
      value = valueForEdge(static_cast<float>(pointer - grab));
    bounceValue();
    if (!(value == reported) && listener) listener->valueChanged(context, this);
    reported = value;
    // Position and buttons of the same moment: the next pass uses both.
    doIdleStuff();
    getMouseLocation(context, where);
    now = currentButtons(context);
  } while (now & kMouseLeft);
  endEdit();
}

void CSlider::stepBy(CDrawContext* context, float units) {
  value += units * wheelInc;
  bounceValue();
  if (isDirty() && listener) {
    beginEdit();
    listener->valueChanged(context, this);
    endEdit();
  }
}

bool CSlider::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  if (!getMouseEnabled()) return false;
  // A wheel event without a number moves nothing (and must not make the value NaN).
  if (!std::isfinite(distance)) return true;
  stepBy(context, (currentButtons(context) & kModShift) ? distance * 0.1f : distance);
  return true;
}

long CSlider::onKeyDown(VstKeyCode& keyCode) {
  float units;
  switch (keyCode.virt) {
    case VKEY_LEFT:
    case VKEY_DOWN:
      units = -1.0f;
      break;
    case VKEY_UP:
    case VKEY_RIGHT:
      units = 1.0f;
      break;
    default:
      return -1;
  }
  if (keyCode.modifier & MODIFIER_SHIFT) units *= 0.1f;
  stepBy(nullptr, units);
  return 1;
}

// ---- fixed orientations ----

CHorizontalSlider::CHorizontalSlider(const CRect& size, CControlListener* listener, long tag,
                                     long iMinPos, long iMaxPos, CBitmap* handle,
                                     CBitmap* background, CPoint& offset, long style)
    : CSlider(size, listener, tag, iMinPos, iMaxPos, handle, background, offset,
              horizontalStyle(style)) {}

CHorizontalSlider::CHorizontalSlider(const CRect& size, CControlListener* listener, long tag,
                                     CPoint& offsetHandle, long range, CBitmap* handle,
                                     CBitmap* background, CPoint& offset, long style)
    : CSlider(size, listener, tag, offsetHandle, range, handle, background, offset,
              horizontalStyle(style)) {}

CHorizontalSlider::~CHorizontalSlider() = default;

bool CHorizontalSlider::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CHorizontalSlider") == 0) return true;
  return CSlider::isTypeOf(type);
}

CVerticalSlider::CVerticalSlider(const CRect& size, CControlListener* listener, long tag,
                                 long iMinPos, long iMaxPos, CBitmap* handle,
                                 CBitmap* background, CPoint& offset, long style)
    : CSlider(size, listener, tag, iMinPos, iMaxPos, handle, background, offset,
              verticalStyle(style)) {}

CVerticalSlider::CVerticalSlider(const CRect& size, CControlListener* listener, long tag,
                                 CPoint& offsetHandle, long range, CBitmap* handle,
                                 CBitmap* background, CPoint& offset, long style)
    : CSlider(size, listener, tag, offsetHandle, range, handle, background, offset,
              verticalStyle(style)) {}

CVerticalSlider::~CVerticalSlider() = default;

bool CVerticalSlider::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CVerticalSlider") == 0) return true;
  return CSlider::isTypeOf(type);
}
