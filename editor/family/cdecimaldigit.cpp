#include "editor/family/cdecimaldigit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/controls/strip_frames.h"

namespace {

// Far beyond any digit picture; keeps every cell position well inside long.
constexpr long kMaxCellPixels = 1L << 20;

// 10^n for the small n used here, exactly.
double powerOfTen(int n) {
  double p = 1.0;
  while (n-- > 0) p *= 10.0;
  return p;
}

}  // namespace

CDecimalDigit::CDecimalDigit(const CRect& size, CControlListener* listener, long tag,
                             long initialValue, int digits, int spacing, long digitWidth,
                             long digitHeight, CBitmap* digitStrip)
    : CControl(size, listener, tag, digitStrip),
      digits(std::clamp(digits, 1, kMaxDigits)),
      spacing(std::clamp(static_cast<long>(spacing), 0L, kMaxCellPixels)),
      digitWidth(std::clamp(digitWidth, 0L, kMaxCellPixels)),
      digitHeight(std::clamp(digitHeight, 0L, kMaxCellPixels)) {
  const long limit = static_cast<long>(powerOfTen(this->digits)) - 1;
  vmin = static_cast<float>(-limit);
  vmax = static_cast<float>(limit);
  value = static_cast<float>(std::clamp(initialValue, -limit, limit));
}

CDecimalDigit::~CDecimalDigit() = default;

bool CDecimalDigit::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CDecimalDigit") == 0) return true;
  return CControl::isTypeOf(type);
}

void CDecimalDigit::setFracDigits(int count) {
  fracDigits = std::clamp(count, 0, kMaxFracDigits);
  setDirty(true);
}

void CDecimalDigit::useSign(bool state) {
  signShown = state;
  setDirty(true);
}

int CDecimalDigit::cellCount() const {
  return (signShown ? 1 : 0) + digits + (fracDigits > 0 ? 1 + fracDigits : 0);
}

int CDecimalDigit::cellFrames(int* frames, int capacity) const {
  // Everything in double: 15 decimal digits are exact there.
  const double limit = powerOfTen(digits) - 1.0;
  const double v = std::isnan(value) ? 0.0 : std::clamp(static_cast<double>(value), -limit, limit);
  // |v| ≤ limit, so the rounded number has at most digits + fracDigits digits.
  const double shown = std::round(std::fabs(v) * powerOfTen(fracDigits));
  long long number = static_cast<long long>(shown);

  int cells[1 + kMaxDigits + 1 + kMaxFracDigits];
  const int n = cellCount();
  int k = n;
  for (int i = 0; i < fracDigits; ++i, number /= 10) cells[--k] = static_cast<int>(number % 10);
  if (fracDigits > 0) cells[--k] = kPointFrame;
  for (int i = 0; i < digits; ++i, number /= 10) cells[--k] = static_cast<int>(number % 10);
  if (signShown) cells[--k] = v < 0.0 && shown > 0.0 ? kMinusFrame : kPlusFrame;

  const int count = std::min(n, std::max(capacity, 0));
  if (frames) std::copy(cells, cells + count, frames);
  return count;
}

CRect CDecimalDigit::cellRect(int k) const {
  const long x = viewSize.left + k * (digitWidth + spacing);
  return CRect(x, viewSize.top, x + digitWidth, viewSize.top + digitHeight);
}

void CDecimalDigit::draw(CDrawContext* context) {
  if (context && background && digitWidth > 0 && digitHeight > 0) {
    int frames[1 + kMaxDigits + 1 + kMaxFracDigits];
    const int n = cellFrames(frames, static_cast<int>(sizeof frames / sizeof frames[0]));
    const long framesInStrip = background->getHeight() / digitHeight;
    for (int k = 0; k < n; ++k) {
      if (frames[k] >= framesInStrip) continue;  // the strip has no such picture
      stripframes::drawFrame(context, background, cellRect(k), CPoint(0, 0), frames[k], digitHeight,
                             transparency);
    }
  }
  setDirty(false);
}
