#include "editor/family/cslidergroup.h"

#include <algorithm>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/controls/strip_frames.h"

CSliderGroup::CSliderGroup(const CRect& size, CControlListener* listener, long tag, long count,
                           CBitmap* handle, CBitmap* background)
    : CControl(size, listener, tag, background),
      values(static_cast<size_t>(std::clamp(count, 1L, kMaxSliders)), 0.0f),
      handle(handle) {
  if (handle) handle->remember();
}

CSliderGroup::~CSliderGroup() {
  if (handle) handle->forget();
}

bool CSliderGroup::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CSliderGroup") == 0) return true;
  return CControl::isTypeOf(type);
}

float CSliderGroup::getValue(long index) const {
  if (index < 0 || index >= getCount()) return 0.0f;
  return values[static_cast<size_t>(index)];
}

void CSliderGroup::setValue(long index, float newValue) {
  if (index < 0 || index >= getCount()) return;
  values[static_cast<size_t>(index)] = newValue;
  if (index == currentSlider) value = newValue;
  setDirty(true);
}

CRect CSliderGroup::trackRect(long index) const {
  const long width = std::max(viewSize.width(), 0L);
  const long n = getCount();
  return CRect(viewSize.left + index * width / n, viewSize.top,
               viewSize.left + (index + 1) * width / n, viewSize.bottom);
}

CRect CSliderGroup::handleRect(long index) const {
  const CRect track = trackRect(index);
  const long handleWidth = handle ? handle->getWidth() : 0;
  const long handleHeight = handle ? handle->getHeight() : 0;
  const long travel = std::max(viewSize.height() - handleHeight, 0L);
  const float v = getValue(index);
  // NaN counts as 0; anything beyond the ends is drawn at them.
  const float clamped = v > 1.0f ? 1.0f : (v > 0.0f ? v : 0.0f);
  const long y = viewSize.top +
                 stripframes::clampToLong((1.0f - clamped) * static_cast<float>(travel), 0, travel);
  const long x = track.left + (track.width() - handleWidth) / 2;
  return CRect(x, y, x + handleWidth, y + handleHeight);
}

long CSliderGroup::inSliderTrack(CPoint where) const {
  if (!viewSize.pointInsideClosed(where) || viewSize.width() <= 0) return -1;
  for (long k = 0; k < getCount(); ++k)
    if (where.x < trackRect(k).right) return k;
  return getCount() - 1;  // the right edge
}

void CSliderGroup::drawOneSlider(CDrawContext* context, long index) {
  if (!context || index < 0 || index >= getCount()) return;
  const CRect track = trackRect(index);
  stripframes::drawPart(context, background, track, CPoint(track.left - viewSize.left, 0),
                        transparency);
  if (handle) {
    CRect dest = handleRect(index);
    if (transparency)
      handle->drawTransparent(context, dest, CPoint(0, 0));
    else
      handle->draw(context, dest, CPoint(0, 0));
  }
}

void CSliderGroup::draw(CDrawContext* context) {
  for (long k = 0; k < getCount(); ++k) drawOneSlider(context, k);
  setDirty(false);
}

float CSliderGroup::valueFromRow(long y) const {
  const long handleHeight = handle ? handle->getHeight() : 0;
  // A handle as tall as the control leaves no travel: every row is then a
  // one-pixel travel, top half 1, bottom half 0.
  const long travel = std::max(viewSize.height() - handleHeight, 1L);
  const long fromTop = y - viewSize.top - handleHeight / 2;
  const float v = 1.0f - static_cast<float>(fromTop) / static_cast<float>(travel);
  return std::clamp(v, 0.0f, 1.0f);
}

void CSliderGroup::report(CDrawContext* context, long index, float newValue) {
  currentSlider = index;
  const bool changed = !(values[static_cast<size_t>(index)] == newValue);
  values[static_cast<size_t>(index)] = newValue;
  value = newValue;
  if (!changed) return;
  setDirty(true);
  if (listener) listener->valueChanged(context, this);
}

void CSliderGroup::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  const long index = inSliderTrack(where);
  if (index < 0) return;
  if (buttons == (kMouseLeft | kModCommand)) {
    beginEdit();
    report(context, index, defaultValue);
    endEdit();
    return;
  }
  if (!(buttons & kMouseLeft)) return;

  beginEdit();
  report(context, index, valueFromRow(where.y));
  // The pointer is read after each idle pass, so the last place it reached
  // with the button held counts; it keeps moving the slider it started on.
  for (;;) {
    doIdleStuff();
    if (currentButtons(context) != buttons) break;
    getMouseLocation(context, where);
    report(context, index, valueFromRow(where.y));
  }
  endEdit();
}
