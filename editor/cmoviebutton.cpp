#include "editor/cmoviebutton.h"

#include <cstring>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"

CMovieButton::CMovieButton(const CRect& size, CControlListener* listener, long tag,
                           long frameHeight, CBitmap* background, CPoint& offset)
    : CControl(size, listener, tag, background),
      backgroundOffset(offset),
      frameHeight(frameHeight),
      pressState(value) {}

CMovieButton::~CMovieButton() = default;

bool CMovieButton::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CMovieButton") == 0) return true;
  return CControl::isTypeOf(type);
}

void CMovieButton::draw(CDrawContext* context) {
  bounceValue();
  if (context && background) {
    CRect dest = viewSize;
    const CPoint source(0, value != 0.0f ? frameHeight : 0);
    if (transparency)
      background->drawTransparent(context, dest, source);
    else
      background->draw(context, dest, source);
  }
  pressState = value;
  setDirty(false);
}

void CMovieButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;

  const float entry = value;
  const float toggled = entry == 0.0f ? 1.0f : 0.0f;
  beginEdit();
  if (currentButtons(context) & kMouseButtonMask) {
    // Follow the pointer until the buttons (or modifiers) change.
    do {
      value = viewSize.pointInsideClosed(where) ? toggled : entry;
      if (isDirty() && listener) listener->valueChanged(context, this);
      getMouseLocation(context, where);
      doIdleStuff();
    } while (currentButtons(context) == buttons);
  } else {
    // Released before we looked: a plain click.
    value = toggled;
    if (listener) listener->valueChanged(context, this);
  }
  endEdit();
  pressState = value;
}
