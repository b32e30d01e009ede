#include "gui/controls/cmoviebitmap.h"

#include <cstring>

#include "gui/cbitmap.h"
#include "gui/controls/strip_frames.h"

namespace {

long framesInPicture(const CBitmap* picture, long frameHeight) {
  if (!picture || frameHeight <= 0) return 0;
  return picture->getHeight() / frameHeight;
}

}  // namespace

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, long tag,
                           CBitmap* background, CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      frameCount(framesInPicture(background, size.height())),
      frameHeight(size.height()) {}

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, long tag,
                           long frameCount, long frameHeight, CBitmap* background, CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      frameCount(frameCount),
      frameHeight(frameHeight) {}

CMovieBitmap::~CMovieBitmap() = default;

bool CMovieBitmap::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CMovieBitmap") == 0) return true;
  return CControl::isTypeOf(type);
}

long CMovieBitmap::currentFrame() const { return stripframes::frameForValue(value, frameCount); }

void CMovieBitmap::draw(CDrawContext* context) {
  if (value > 1.0f) value = 1.0f;
  if (frameCount > 0)
    stripframes::drawFrame(context, background, viewSize, offset, currentFrame(), frameHeight,
                           transparency);
  setDirty(false);
}

void CMovieBitmap::mouse(CDrawContext* context, CPoint& where, long buttons) {}
