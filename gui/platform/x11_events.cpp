// X events of our window in the toolkit's terms. The pointer is not tracked
// here: while a button is held, controls ask for the pointer and buttons
// themselves (platformWindowPointer), so motion and release only reach the
// sink for whoever wants them.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

#include "gui/cbuttons.h"
#include "gui/platform/x11_keys.h"
#include "gui/platform/x11_window_state.h"

namespace {

void collectExposure(PlatformWindow* w, const XExposeEvent& e) {
  long left = e.x, top = e.y, right = e.x + e.width, bottom = e.y + e.height;
  if (!w->exposePending) {
    w->exposeLeft = left;
    w->exposeTop = top;
    w->exposeRight = right;
    w->exposeBottom = bottom;
    w->exposePending = true;
  } else {
    w->exposeLeft = std::min(w->exposeLeft, left);
    w->exposeTop = std::min(w->exposeTop, top);
    w->exposeRight = std::max(w->exposeRight, right);
    w->exposeBottom = std::max(w->exposeBottom, bottom);
  }
  // More of the same series follow.
  if (e.count > 0) return;
  w->exposePending = false;
  w->sink->onExpose(w->exposeLeft, w->exposeTop, w->exposeRight, w->exposeBottom);
}

void pressButton(PlatformWindow* w, const XButtonEvent& e) {
  const long modifiers = x11ButtonState(e.state) & kModifierMask;
  switch (e.button) {
    // Wheel clicks: 4 up, 5 down, 6 left, 7 right.
    case 4: w->sink->onWheel(e.x, e.y, kMouseWheelAxisY, 1.0f, modifiers); return;
    case 5: w->sink->onWheel(e.x, e.y, kMouseWheelAxisY, -1.0f, modifiers); return;
    case 6: w->sink->onWheel(e.x, e.y, kMouseWheelAxisX, 1.0f, modifiers); return;
    case 7: w->sink->onWheel(e.x, e.y, kMouseWheelAxisX, -1.0f, modifiers); return;
    default: break;
  }
  // The state in the event is the one before the press: the word names the
  // button pressed and the modifiers, not other buttons already held.
  if (long bit = x11ButtonBit(e.button)) w->sink->onButtonPress(e.x, e.y, bit | modifiers);
}

void releaseButton(PlatformWindow* w, const XButtonEvent& e) {
  if (long bit = x11ButtonBit(e.button))
    w->sink->onButtonRelease(e.x, e.y, bit | (x11ButtonState(e.state) & kModifierMask));
}

// Auto-repeat sends a release and a press with the same time stamp: the key
// is still down, so the release is none.
bool isAutoRepeatRelease(PlatformWindow* w, const XKeyEvent& e) {
  if (XEventsQueued(w->display, QueuedAlready) == 0) return false;
  XEvent next;
  XPeekEvent(w->display, &next);
  return next.type == KeyPress && next.xkey.keycode == e.keycode && next.xkey.time == e.time;
}

void key(PlatformWindow* w, XKeyEvent& e, bool down) {
  if (!down && isAutoRepeatRelease(w, e)) return;
  // The character comes from the layout with shift (and caps and num lock)
  // only: Ctrl+A is still an "a", the Ctrl travels in the modifiers.
  XKeyEvent plain = e;
  plain.state &= ShiftMask | LockMask | Mod2Mask;
  char text[8] = {};
  KeySym keysym = NoSymbol;
  int length = XLookupString(&plain, text, sizeof(text), &keysym, nullptr);
  int character = length > 0 ? static_cast<unsigned char>(text[0]) : 0;
  KeySym base = XLookupKeysym(&e, 0);
  VstKeyCode code = x11KeyCode(keysym, base, character, e.state);
  w->sink->onKey(down, code);
}

// Focus that only follows the pointer, or moves inside our window, changes
// nothing for the frame; neither do the grabs of window managers.
bool isRealFocusChange(const XFocusChangeEvent& e) {
  return e.mode == NotifyNormal && e.detail != NotifyPointer && e.detail != NotifyInferior;
}

}  // namespace

void x11DispatchEvent(PlatformWindow* w, XEvent& event) {
  const Window about = event.xany.window;
  switch (event.type) {
    case MapNotify:
      if (event.xmap.window == w->window) w->mapped = true;
      if (event.xmap.window == w->parent) w->parentMapped = true;
      return;
    case UnmapNotify:
      if (event.xunmap.window == w->window) w->mapped = false;
      if (event.xunmap.window == w->parent) w->parentMapped = false;
      return;
    case DestroyNotify:
      if (event.xdestroywindow.window == w->window) w->destroyed = true;
      return;
    default:
      break;
  }
  if (about != w->window || w->destroyed || !w->sink) return;
  switch (event.type) {
    case Expose: collectExposure(w, event.xexpose); break;
    case ButtonPress: pressButton(w, event.xbutton); break;
    case ButtonRelease: releaseButton(w, event.xbutton); break;
    case MotionNotify:
      w->sink->onMotion(event.xmotion.x, event.xmotion.y, x11ButtonState(event.xmotion.state));
      break;
    case KeyPress: key(w, event.xkey, true); break;
    case KeyRelease: key(w, event.xkey, false); break;
    case FocusIn:
      if (isRealFocusChange(event.xfocus)) w->sink->onFocus(true);
      break;
    case FocusOut:
      if (isRealFocusChange(event.xfocus)) w->sink->onFocus(false);
      break;
    case EnterNotify:
      if (event.xcrossing.mode == NotifyNormal) w->sink->onCrossing(true);
      break;
    case LeaveNotify:
      if (event.xcrossing.mode == NotifyNormal) w->sink->onCrossing(false);
      break;
    default: break;
  }
}
