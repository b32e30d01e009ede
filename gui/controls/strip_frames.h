// Shared arithmetic of controls drawn from picture strips: frames stacked
// top to bottom, one frame per state. Values reach the controls unchecked
// (host automation, programs), so every index is clamped here and the
// drawn area never reaches into a neighbouring frame.
#pragma once

#include "gui/cgeometry.h"

class CBitmap;
class CDrawContext;

namespace stripframes {

// The frame shown for a fraction 0..1 of a strip of `frames` frames:
// truncate((frames - 1) × value + 0.5) for values above 0, else frame 0;
// values above 1 count as 1. Always within [0, frames - 1] (0 without frames).
long frameForValue(float value, long frames);

// A pixel count given as a float, clamped to [low, high]; NaN gives `low`.
long clampToLong(float x, long low, long high);

// Pixel coordinates and sizes beyond any real picture are cut down to this,
// so that adding a few of them together can never overflow.
constexpr long kPixelLimit = 1L << 28;
long saneLength(long x);         // [-kPixelLimit, kPixelLimit]
CPoint sanePoint(const CPoint& p);
// frame × frameHeight, both sane, without overflow (kPixelLimit at most).
long frameOffset(long frame, long frameHeight);

// Draws frame `frame` of a strip at `view`'s top-left corner, `frameHeight`
// pixels high at most: the source starts at (offset.x, offset.y + frame ×
// frameHeight). Nothing is drawn without a picture, context or frame height.
// `transparent` picks the keyed drawing.
void drawFrame(CDrawContext* context, CBitmap* picture, const CRect& view, const CPoint& offset,
               long frame, long frameHeight, bool transparent);

// Draws the part of `picture` that starts at `source` into `area` (the
// context's coordinates, as a view's rectangle), unscaled; nothing for an
// empty area.
void drawPart(CDrawContext* context, CBitmap* picture, const CRect& area, const CPoint& source,
              bool transparent);

}  // namespace stripframes
