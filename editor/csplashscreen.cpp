#include "editor/csplashscreen.h"

#include <cstring>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"

CSplashScreen::CSplashScreen(const CRect& size, CControlListener* listener, long tag,
                             CBitmap* background, CRect& displayRect, CPoint& offset)
    : CControl(size, listener, tag, background), displayRect(displayRect), displayOffset(offset) {}

CSplashScreen::~CSplashScreen() = default;

bool CSplashScreen::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CSplashScreen") == 0) return true;
  return CControl::isTypeOf(type);
}

void CSplashScreen::setBitmapTransparency(unsigned char alpha) {
  bitmapTransparency = alpha;
  setTransparency(alpha != 255);
}

bool CSplashScreen::hitTest(const CPoint& where, const long buttons) {
  return mouseableArea.pointInsideClosed(where) && (buttons == -1 || (buttons & kMouseLeft));
}

void CSplashScreen::draw(CDrawContext* context) {
  if (value != 0.0f && background && context) {
    CRect dest = displayRect;
    if (!transparency)
      background->draw(context, dest, displayOffset);
    else if (bitmapTransparency != 0)
      background->drawAlphaBlend(context, dest, displayOffset, bitmapTransparency);
    else
      background->drawTransparent(context, dest, displayOffset);
  }
  setDirty(false);
}

void CSplashScreen::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;

  if (value == 0.0f) {
    value = 1.0f;
    // Shown only as the frame's modal view: every press then comes here.
    if (frame && frame->setModalView(this)) {
      savedSize = viewSize;
      sizeSaved = true;
      CRect shown = displayRect;
      setViewSize(shown);
      setMouseableArea(shown);
      if (listener) listener->valueChanged(context, this);
    }
    setDirty(true);
  } else {
    value = 0.0f;
    close(context, true);
  }
}

void CSplashScreen::unSplash() {
  if (value == 0.0f && !sizeSaved) return;
  value = 0.0f;
  close(nullptr, false);
  setDirty(true);
}

void CSplashScreen::close(CDrawContext* context, bool report) {
  // Only a splash that really grew has a hot spot to go back to; one the
  // frame refused as modal view kept its own rectangle all along.
  if (sizeSaved) {
    CRect hotSpot = savedSize;
    setViewSize(hotSpot);
    setMouseableArea(hotSpot);
    sizeSaved = false;
  }
  if (report && listener) listener->valueChanged(context, this);
  if (frame) {
    // The picture covered other views: the whole window is due.
    frame->setDirty(true);
    // Another view may be modal (the one that refused us): leave it be.
    if (frame->getModalView() == this) frame->setModalView(nullptr);
  }
}
