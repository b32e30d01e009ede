#include "gui/controls/cautoanimation.h"

#include <cstring>

#include "gui/cbitmap.h"
#include "gui/controls/strip_frames.h"

namespace {

long framesFitting(const CBitmap* picture, long frameHeight) {
  if (!picture || frameHeight <= 0) return 0;
  return picture->getHeight() / frameHeight;
}

}  // namespace

CAutoAnimation::CAutoAnimation(const CRect& size, CControlListener* listener, long tag,
                               CBitmap* background, CPoint& offset)
    : CAutoAnimation(size, listener, tag, framesFitting(background, size.height()),
                     size.height(), background, offset) {}

CAutoAnimation::CAutoAnimation(const CRect& size, CControlListener* listener, long tag,
                               long frameCount, long frameHeight, CBitmap* background,
                               CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      frameCount(frameCount),
      frameHeight(frameHeight) {
  setMax(static_cast<float>(lastFrameOffset()));
}

CAutoAnimation::~CAutoAnimation() = default;

bool CAutoAnimation::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CAutoAnimation") == 0) return true;
  return CControl::isTypeOf(type);
}

long CAutoAnimation::lastFrameOffset() const {
  if (frameCount <= 1 || frameHeight <= 0) return 0;
  // Strips beyond any real picture height are cut at a harmless size.
  return stripframes::frameOffset(frameCount - 1, frameHeight);
}

long CAutoAnimation::currentOffset() const {
  if (!windowOpened) return 0;
  return stripframes::clampToLong(value, 0, lastFrameOffset());
}

void CAutoAnimation::draw(CDrawContext* context) {
  if (frameCount > 0 && frameHeight > 0) {
    // One frame's height, from the offset: a value between two frames shows
    // parts of both, as the strip scrolls past.
    CPoint source = stripframes::sanePoint(offset);
    source.y += currentOffset();
    stripframes::drawFrame(context, background, viewSize, source, 0, frameHeight, transparency);
  }
  setDirty(false);
}

void CAutoAnimation::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;

  beginEdit();
  if (windowOpened)
    closeWindow();
  else
    openWindow();
  if (listener) listener->valueChanged(context, this);
  endEdit();
}

void CAutoAnimation::openWindow() {
  windowOpened = true;
  value = 0.0f;
  setDirty(true);
}

void CAutoAnimation::closeWindow() {
  windowOpened = false;
  setDirty(true);
}

void CAutoAnimation::nextPixmap() {
  const long last = lastFrameOffset();
  const long step = stripframes::saneLength(frameHeight);
  const long next = stripframes::clampToLong(value, 0, last) + step;
  value = static_cast<float>(next > last || step <= 0 ? 0 : next);
}

void CAutoAnimation::previousPixmap() {
  const long last = lastFrameOffset();
  const long step = stripframes::saneLength(frameHeight);
  const long previous = stripframes::clampToLong(value, 0, last) - step;
  value = static_cast<float>(previous < 0 || step <= 0 ? last : previous);
}
