#include "editor/cmovietoggle.h"

#include "gui/cbitmap.h"
#include "gui/cbuttons.h"
#include "gui/cdrawcontext.h"

CMovieToggle::CMovieToggle(const CRect& size, CControlListener* listener, long tag,
                           long frameHeight, CBitmap* background, CPoint& offset)
    : CMovieButton(size, listener, tag, frameHeight, background, offset) {
  // Nothing is held yet: the first drawing shows a plain frame.
  pressState = 0.0f;
}

CMovieToggle::~CMovieToggle() = default;

long CMovieToggle::frameOffset() const {
  long offset = pressState != 0.0f ? 2 * frameHeight : 0;
  if (value != 0.0f) offset += frameHeight;
  return offset;
}

void CMovieToggle::draw(CDrawContext* context) {
  bounceValue();
  if (context && background) {
    CRect dest = viewSize;
    const CPoint source(0, frameOffset());
    if (transparency)
      background->drawTransparent(context, dest, source);
    else
      background->draw(context, dest, source);
  }
  setDirty(false);
}

void CMovieToggle::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (!(buttons & kMouseLeft)) return;
  if (offerModifierClick(context, buttons)) return;
  if (checkDefaultValue(context, buttons)) return;

  const float was = value;
  if (currentButtons(context) != 0) {
    beginEdit();
    value = was == 0.0f ? 1.0f : 0.0f;
    pressState = 1.0f;
    // The switch acts on press: the effect hears of it before the release.
    if (listener) listener->valueChanged(context, this);
    // Any change of buttons or modifiers ends the hold, as a release does.
    do {
      getMouseLocation(context, where);
      doIdleStuff();
    } while (currentButtons(context) == buttons);
    pressState = 0.0f;
    setDirty(true);
    endEdit();
  } else {
    // Released before we looked: a plain click, no gesture to group.
    value = value == 0.0f ? 1.0f : 0.0f;
    if (listener) listener->valueChanged(context, this);
  }
}
