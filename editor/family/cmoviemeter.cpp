#include "editor/family/cmoviemeter.h"

#include <algorithm>
#include <cstring>

#include "gui/controls/strip_frames.h"

CMovieMeter::CMovieMeter(const CRect& size, CControlListener* listener, long tag, CBitmap* strip,
                         CPoint& offset, bool inactiveFrame, bool overloadFrame)
    : CMovieBitmap(size, listener, tag, strip, offset),
      hasInactiveFrame(inactiveFrame),
      hasOverloadFrame(overloadFrame) {}

CMovieMeter::~CMovieMeter() = default;

bool CMovieMeter::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CMovieMeter") == 0) return true;
  return CMovieBitmap::isTypeOf(type);
}

void CMovieMeter::setActive(bool state) {
  if (state == active) return;
  active = state;
  setDirty(true);
}

long CMovieMeter::getLevelFrames() const { return std::max(frameCount - getReservedFrames(), 0L); }

long CMovieMeter::frameToShow() const {
  const long levels = getLevelFrames();
  if (levels <= 0) return -1;
  if (!active) return hasInactiveFrame ? levels : 0;
  if (value > 1.0f && hasOverloadFrame) return frameCount - 1;
  return stripframes::frameForValue(value, levels);
}

void CMovieMeter::draw(CDrawContext* context) {
  const long frame = frameToShow();
  if (frame >= 0)
    stripframes::drawFrame(context, background, viewSize, offset, frame, frameHeight, transparency);
  setDirty(false);
}
