#include "editor/clinearknob.h"

#include "gui/cbuttons.h"

namespace {

// Pixels of travel that cover the whole range without shift.
constexpr float kFullRangePixels = 200.0f;

}  // namespace

CLinearKnob::CLinearKnob(const CRect& size, CControlListener* listener, long tag, long frameCount,
                         long frameHeight, int dragVertical, CBitmap* background, CPoint& offset)
    : CAnimKnob(size, listener, tag, frameCount, frameHeight, background, offset),
      dragVertical(dragVertical) {}

CLinearKnob::~CLinearKnob() = default;

void CLinearKnob::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (!(buttons & kMouseLeft)) return;
  if (offerModifierClick(context, buttons)) return;
  if (checkDefaultValue(context, buttons)) return;

  const float range = vmax - vmin;
  // A zoom factor that is no factor would make the step infinite.
  const float zoom = zoomFactor > 0.0f ? zoomFactor : 1.0f;
  auto stepFor = [&](long state) {
    const float pixels = (state & kModShift) ? kFullRangePixels * zoom : kFullRangePixels;
    return range / pixels;
  };

  float base = value;
  float step = stepFor(buttons);
  const CPoint origin = where;
  CPoint last(-1, -1);
  long lastButtons = buttons;

  beginEdit();
  long now;
  do {
    now = currentButtons(context);
    if (where.x != last.x || where.y != last.y) {
      last = where;
      const long travel = dragVertical ? origin.y - where.y : where.x - origin.x;
      const float delta = static_cast<float>(travel);
      if (now != lastButtons) {
        // A modifier changed mid-drag: the travel so far keeps the rate it
        // was made at, only what follows gets the new one, so the value
        // does not jump at the switch.
        const float newStep = stepFor(now);
        base = base + (step - newStep) * delta;
        step = newStep;
        lastButtons = now;
      }
      value = delta * step + base;
      // The base stays where it is when the value hits an end: the pointer
      // must come back to where the end was reached before the knob moves.
      bounceValue();
      if (isDirty() && listener) listener->valueChanged(context, this);
    }
    getMouseLocation(context, where);
    doIdleStuff();
  } while (now & kMouseLeft);
  endEdit();
}
