#include "gui/controls/cdigitstrip.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/controls/strip_frames.h"

namespace {

// Positions and sizes far beyond any picture are cut down, so that adding
// them to the control's corner cannot overflow.
constexpr long kPixelLimit = 1L << 28;
long sanePixels(long x) { return std::clamp(x, -kPixelLimit, kPixelLimit); }

long long powerOfTen(long exponent) {
  long long p = 1;
  for (long i = 0; i < exponent; ++i) p *= 10;
  return p;
}

}  // namespace

CSpecialDigit::CSpecialDigit(const CRect& size, CControlListener* listener, long tag, long dwPos,
                             long numbers, long* xpos, long* ypos, long width, long height,
                             CBitmap* background)
    : CControl(size, listener, tag, background),
      numbers(std::clamp(numbers, 0L, kMaxDigits)),
      width(sanePixels(width)),
      height(sanePixels(height)) {
  for (long i = 0; i < kMaxDigits; ++i) {
    this->xpos[i] = xpos && i < this->numbers ? sanePixels(xpos[i]) : i * std::max(this->width, 0L);
    this->ypos[i] = ypos && i < this->numbers ? sanePixels(ypos[i]) : 0;
  }
  setMin(0.0f);
  setMax(static_cast<float>(powerOfTen(this->numbers) - 1));
  value = static_cast<float>(dwPos);
}

CSpecialDigit::~CSpecialDigit() = default;

bool CSpecialDigit::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CSpecialDigit") == 0) return true;
  return CControl::isTypeOf(type);
}

CPoint CSpecialDigit::getPosition(long index) const {
  if (index < 0 || index >= kMaxDigits) return CPoint(0, 0);
  return CPoint(xpos[index], ypos[index]);
}

long long CSpecialDigit::shownNumber() const {
  const long long largest = powerOfTen(numbers) - 1;
  if (!(value > 0.0f)) return 0;
  // Compared as doubles: the largest number need not be a float.
  const double rounded = std::floor(static_cast<double>(value) + 0.5);
  if (rounded >= static_cast<double>(largest)) return largest;
  return static_cast<long long>(rounded);
}

long CSpecialDigit::digitAt(long index) const {
  if (index < 0 || index >= numbers) return -1;
  return static_cast<long>(shownNumber() / powerOfTen(numbers - 1 - index) % 10);
}

void CSpecialDigit::draw(CDrawContext* context) {
  if (context && background && width > 0 && height > 0) {
    for (long i = 0; i < numbers; ++i) {
      CRect place(viewSize.left + xpos[i], viewSize.top + ypos[i], viewSize.left + xpos[i] + width,
                  viewSize.top + ypos[i] + height);
      // Never outside the control, even with odd positions.
      CRect visible = place;
      visible.bound(viewSize);
      const CPoint source(visible.left - place.left,
                          visible.top - place.top + digitAt(i) * height);
      stripframes::drawPart(context, background, visible, source, transparency);
    }
  }
  setDirty(false);
}

void CSpecialDigit::mouse(CDrawContext* context, CPoint& where, long buttons) {}
