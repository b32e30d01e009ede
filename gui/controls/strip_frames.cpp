#include "gui/controls/strip_frames.h"

#include <algorithm>
#include <cmath>

#include "editor/control_numeric.h"
#include "gui/cbitmap.h"

namespace stripframes {

long saneLength(long x) { return std::clamp(x, -kPixelLimit, kPixelLimit); }

CPoint sanePoint(const CPoint& p) { return CPoint(saneLength(p.x), saneLength(p.y)); }

long frameOffset(long frame, long frameHeight) {
  frame = saneLength(frame);
  frameHeight = saneLength(frameHeight);
  const long long y = static_cast<long long>(frame) * frameHeight;
  return static_cast<long>(std::clamp<long long>(y, -kPixelLimit, kPixelLimit));
}

long clampToLong(float x, long low, long high) {
  if (std::isnan(x)) return low;
  const long t = truncateToPixel(x);
  return std::clamp(t, low, high);
}

long frameForValue(float value, long frames) {
  if (frames <= 1 || !(value > 0.0f)) return 0;
  if (value > 1.0f) value = 1.0f;
  const long frame = truncateToPixel(static_cast<float>(frames - 1) * value + 0.5f);
  return std::clamp(frame, 0L, frames - 1);
}

void drawFrame(CDrawContext* context, CBitmap* picture, const CRect& view, const CPoint& offset,
               long frame, long frameHeight, bool transparent) {
  if (!context || !picture || frameHeight <= 0) return;
  CRect dest = view;
  if (dest.height() > frameHeight) dest.bottom = dest.top + frameHeight;
  const CPoint start = sanePoint(offset);
  const CPoint source(start.x, start.y + frameOffset(frame, frameHeight));
  if (transparent)
    picture->drawTransparent(context, dest, source);
  else
    picture->draw(context, dest, source);
}

void drawPart(CDrawContext* context, CBitmap* picture, const CRect& area, const CPoint& source,
              bool transparent) {
  if (!context || !picture || area.isEmpty()) return;
  CRect dest = area;
  if (transparent)
    picture->drawTransparent(context, dest, source);
  else
    picture->draw(context, dest, source);
}

}  // namespace stripframes
