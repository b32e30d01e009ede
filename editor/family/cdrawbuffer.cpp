#include "editor/family/cdrawbuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dsp/qmx.h"
#include "gui/cdrawcontext.h"
#include "gui/controls/strip_frames.h"

namespace {

// Wider than any screen; keeps a nonsense rectangle from asking for gigabytes.
constexpr long kMaxColumns = 1L << 16;

}  // namespace

CDrawBuffer::CDrawBuffer(const CRect& size, CControlListener* listener, long tag,
                         CBitmap* background)
    : CControl(size, listener, tag, background) {
  const long width = std::clamp(size.width(), 0L, kMaxColumns);
  if (width > 0) ring = static_cast<int*>(qmx_mem_alloc(static_cast<size_t>(width) * sizeof(int)));
  if (ring) {
    ringSize = static_cast<size_t>(width);
    const int rest = static_cast<int>(rowForSample(0.0f));
    std::fill(ring, ring + ringSize, rest);
  }
}

CDrawBuffer::~CDrawBuffer() {
  if (ring) qmx_mem_free(ring, ringSize * sizeof(int));
}

bool CDrawBuffer::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CDrawBuffer") == 0) return true;
  return CControl::isTypeOf(type);
}

long CDrawBuffer::rowForSample(float sample) const {
  const float halfHeight = static_cast<float>(viewSize.height() / 2 - 1);
  const long bottomRow = std::max(viewSize.bottom - 1, viewSize.top);
  const float offset = (1.0f - sample) * halfHeight;
  return viewSize.top + stripframes::clampToLong(offset, 0, bottomRow - viewSize.top);
}

void CDrawBuffer::setData(float* data, long count) {
  if (!data || count < 1 || !ring) return;
  for (long i = 0; i < count; i += sampleInterval) {
    ring[next] = static_cast<int>(rowForSample(data[i]));
    next = (next + 1) % ringSize;
  }
  setDirty(true);
}

void CDrawBuffer::setSampleInterval(int interval) { sampleInterval = std::max(interval, 1); }

void CDrawBuffer::setWaveColor(CColor& color) {
  waveColor = color;
  setDirty(true);
}

long CDrawBuffer::rowAt(long column) const {
  if (!ring || column < 0 || column >= columns()) return -1;
  return ring[(next + static_cast<size_t>(column)) % ringSize];
}

void CDrawBuffer::draw(CDrawContext* context) {
  CView::draw(context);  // the background
  if (context && ring) {
    const CColor savedFill = context->getFillColor();
    context->setFillColor(waveColor);
    long previous = rowAt(0);
    for (long k = 0; k < columns(); ++k) {
      const long row = rowAt(k);
      const long x = viewSize.left + k;
      context->fillRect(CRect(x, std::min(row, previous), x + 1, std::max(row, previous) + 1));
      previous = row;
    }
    context->setFillColor(savedFill);
  }
  setDirty(false);
}
