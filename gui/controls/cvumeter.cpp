#include "gui/controls/cvumeter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/coffscreen_context.h"
#include "gui/controls/cstyles.h"
#include "gui/controls/strip_frames.h"

namespace {

void swapIn(CBitmap*& slot, CBitmap* bitmap) {
  // The new reference first: it may be the same picture.
  if (bitmap) bitmap->remember();
  if (slot) slot->forget();
  slot = bitmap;
}

}  // namespace

CVuMeter::CVuMeter(const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, long nbLed,
                   long style)
    : CControl(size, nullptr, 0, nullptr), nbLed(nbLed), style(style) {
  swapIn(this->onBitmap, onBitmap);
  swapIn(this->offBitmap, offBitmap);
}

CVuMeter::~CVuMeter() {
  swapIn(onBitmap, nullptr);
  swapIn(offBitmap, nullptr);
}

bool CVuMeter::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CVuMeter") == 0) return true;
  return CControl::isTypeOf(type);
}

void CVuMeter::setOnBitmap(CBitmap* bitmap) {
  swapIn(onBitmap, bitmap);
  setDirty(true);
}

void CVuMeter::setOffBitmap(CBitmap* bitmap) {
  swapIn(offBitmap, bitmap);
  setDirty(true);
}

bool CVuMeter::isHorizontal() const { return (style & kHorizontal) != 0; }

float CVuMeter::targetLevel() const {
  if (!(value > 0.0f)) return 0.0f;
  return value > 1.0f ? 1.0f : value;
}

bool CVuMeter::isDirty() const {
  // Still falling toward the value, as far as it shows: float steps of 0.1
  // rarely land exactly on the value, and a drawing that lights the same
  // segments would change nothing.
  return CControl::isDirty() || litLength(shownLevel) > litLength(targetLevel());
}

long CVuMeter::litLength(float level) const {
  const long length = isHorizontal() ? viewSize.width() : viewSize.height();
  if (length <= 0) return 0;
  if (!(level > 0.0f)) return 0;
  if (level > 1.0f) level = 1.0f;
  const long segments = nbLed >= 1 ? std::min(nbLed, 1L << 20) : length;
  const long lit = stripframes::clampToLong(level * static_cast<float>(segments) + 0.5f, 0, segments);
  return static_cast<long>(static_cast<long long>(lit) * length / segments);
}

void CVuMeter::drawMeter(CDrawContext* context, const CRect& area, float level) {
  const long lit = litLength(level);
  CRect on = area;
  CRect off = area;
  if (isHorizontal()) {
    on.right = area.left + lit;
    off.left = on.right;
  } else {
    on.top = area.bottom - lit;
    off.bottom = on.top;
  }
  // Both pictures cover the whole meter: each part comes from the same place
  // in its picture as on the screen.
  stripframes::drawPart(context, onBitmap, on, CPoint(on.left - area.left, on.top - area.top),
                        transparency);
  stripframes::drawPart(context, offBitmap, off,
                        CPoint(off.left - area.left, off.top - area.top), transparency);
}

void CVuMeter::draw(CDrawContext* context) {
  // Up at once, down by a step per drawing (and never below the value).
  float level = shownLevel - (decreaseValue > 0.0f ? decreaseValue : 0.0f);
  if (!(level >= 0.0f)) level = 0.0f;
  level = std::max(level, targetLevel());
  if (context) {
    if (useOffscreen && !viewSize.isEmpty()) {
      auto* offscreen =
          new COffscreenContext(getFrame(), viewSize.width(), viewSize.height(), kBlackCColor);
      CRect whole(0, 0, viewSize.width(), viewSize.height());
      // Starts from what is under the meter, so transparent parts stay so.
      offscreen->copyTo(context, whole, CPoint(viewSize.left, viewSize.top));
      drawMeter(offscreen, whole, level);
      offscreen->copyFrom(context, viewSize);
      offscreen->forget();
    } else {
      drawMeter(context, viewSize, level);
    }
  }
  shownLevel = level;
  setDirty(false);
}

void CVuMeter::mouse(CDrawContext* context, CPoint& where, long buttons) {}
