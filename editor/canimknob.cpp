#include "editor/canimknob.h"

#include <cstring>

#include "editor/control_numeric.h"
#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, long tag, long frameCount,
                     long frameHeight, CBitmap* background, CPoint& offset)
    : CKnob(size, listener, tag, background, nullptr, offset),
      frameCount(frameCount),
      frameHeight(frameHeight) {
  // The handle point only serves to notice motion, so it may reach the rim.
  insetValue = 0;
}

CAnimKnob::~CAnimKnob() = default;

bool CAnimKnob::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CAnimKnob") == 0) return true;
  return CKnob::isTypeOf(type);
}

long CAnimKnob::frameOffset() const {
  // NaN and negative values show the first frame.
  if (!(value >= 0.0f)) return 0;
  const long long span = static_cast<long long>(frameCount - 1) * frameHeight;
  // A strip without frames to choose from (one frame, or nonsense sizes).
  if (span <= 0 || frameHeight <= 0) return 0;
  const float fraction = inverseBitmap ? 1.0f - value : value;
  const long long y = truncateToPixel(fraction * static_cast<float>(span));
  // Down to the top of the frame holding y; past the last frame's top y is
  // left alone (and then shows nothing of the strip).
  if (y < 0) return 0;
  const long long top = y / frameHeight * frameHeight;
  return top + frameHeight <= span ? static_cast<long>(top) : static_cast<long>(y);
}

void CAnimKnob::draw(CDrawContext* context) {
  if (context && background) {
    CRect dest = viewSize;
    const CPoint source(0, frameOffset());
    if (transparency)
      background->drawTransparent(context, dest, source);
    else
      background->draw(context, dest, source);
  }
  valueToPoint(lastDrawnPoint);
  setDirty(false);
}

bool CAnimKnob::isDirty() const {
  if (!dirty) {
    CPoint point;
    valueToPoint(point);
    if (point == lastDrawnPoint) return false;
  }
  return !(oldValue == value) || dirty;
}
