// The text field as a child window of the frame's window, on the frame's own
// connection. The frame's window keeps being drawn while the field is open;
// a press anywhere in it ends the edit.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

#include "gui/platform/platform_text_field.h"
#include "gui/platform/x11_error_trap.h"
#include "gui/platform/x11_overlay.h"
#include "gui/platform/x11_window_state.h"

namespace {

constexpr long kFieldEvents =
    ExposureMask | KeyPressMask | ButtonPressMask | FocusChangeMask | StructureNotifyMask;

// The focus moved somewhere else for real: not into a window inside the
// field, not only after the pointer, not a window manager's grab.
bool focusLeft(const XFocusChangeEvent& e) {
  return e.mode == NotifyNormal && e.detail != NotifyInferior && e.detail != NotifyPointer;
}

enum class KeyAction { none, changed, commit, cancel };

KeyAction pressKey(XKeyEvent& event, PlatformTextEditor& editor) {
  char typed[16] = {};
  KeySym keysym = NoSymbol;
  const int length = XLookupString(&event, typed, sizeof typed - 1, &keysym, nullptr);
  switch (keysym) {
    case XK_Return:
    case XK_KP_Enter:
    case XK_Tab:
    case XK_ISO_Left_Tab: return KeyAction::commit;
    case XK_Escape: return KeyAction::cancel;
    case XK_BackSpace: editor.backspace(); return KeyAction::changed;
    case XK_Delete:
    case XK_KP_Delete: editor.deleteForward(); return KeyAction::changed;
    case XK_Left:
    case XK_KP_Left: editor.left(); return KeyAction::changed;
    case XK_Right:
    case XK_KP_Right: editor.right(); return KeyAction::changed;
    case XK_Home:
    case XK_KP_Home: editor.home(); return KeyAction::changed;
    case XK_End:
    case XK_KP_End: editor.end(); return KeyAction::changed;
    default: break;
  }
  // Ctrl and Alt chords type nothing.
  if (length <= 0 || (event.state & (ControlMask | Mod1Mask))) return KeyAction::none;
  // XLookupString gives Latin-1, which the editor reads as such.
  editor.insert(std::string(typed, static_cast<size_t>(length)));
  return KeyAction::changed;
}

}  // namespace

PlatformTextFieldOutcome platformTextFieldRun(PlatformWindow* w, long x, long y, long width,
                                              long height, const PlatformTextFieldStyle& style,
                                              std::string& text) {
  if (!w || w->destroyed || !w->display || width < 1 || height < 1)
    return PlatformTextFieldOutcome::unavailable;
  width = std::min(width, 32767L);
  height = std::min(height, 32767L);
  PlatformSurface* picture = platformSurfaceCreate(width, height);
  if (!picture) return PlatformTextFieldOutcome::unavailable;
  Display* d = w->display;

  XSetWindowAttributes attributes{};
  attributes.event_mask = kFieldEvents;
  attributes.background_pixmap = None;  // our picture covers it all
  Window field =
      XCreateWindow(d, w->window, static_cast<int>(x), static_cast<int>(y),
                    static_cast<unsigned>(width), static_cast<unsigned>(height), 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWEventMask | CWBackPixmap, &attributes);
  Window previousFocus = None;
  int previousRevert = RevertToParent;
  XGetInputFocus(d, &previousFocus, &previousRevert);
  XMapRaised(d, field);
  XSync(d, False);
  if (x11TakeError(d)) {
    XDestroyWindow(d, field);
    XSync(d, False);
    x11TakeError(d);
    platformSurfaceRelease(picture);
    return PlatformTextFieldOutcome::unavailable;
  }

  PlatformTextEditor editor(text);
  double scroll = 0.0;
  auto repaint = [&] {
    platformTextFieldPaint(picture, editor, style, scroll);
    x11ShowSurface(d, field, w->visual, w->depth, picture);
  };

  bool hadFocus = false;
  bool fieldGone = false;
  PlatformTextFieldOutcome outcome = PlatformTextFieldOutcome::committed;
  for (bool done = false; !done;) {
    if (!x11WaitForEvent(d, 100)) continue;
    XEvent event;
    XNextEvent(d, &event);
    if (event.xany.window != field) {
      // A press in the frame's window is a click outside the field; wheel
      // clicks (buttons 4 to 7) leave the edit alone and go nowhere.
      if (event.type == ButtonPress && event.xany.window == w->window) {
        if (event.xbutton.button <= Button3) break;
        continue;
      }
      x11DispatchEvent(w, event);
      if (w->destroyed) {
        fieldGone = true;
        outcome = PlatformTextFieldOutcome::cancelled;
        break;
      }
      continue;
    }
    switch (event.type) {
      case MapNotify:
        // Only a mapped window can take the focus (a hidden host window
        // refuses it: the trap takes the error and typing cannot reach us).
        XSetInputFocus(d, field, RevertToParent, CurrentTime);
        break;
      case Expose:
        if (event.xexpose.count == 0) repaint();
        break;
      case FocusIn: hadFocus = true; break;
      case FocusOut:
        if (hadFocus && focusLeft(event.xfocus)) done = true;
        break;
      case KeyPress:
        switch (pressKey(event.xkey, editor)) {
          case KeyAction::changed: repaint(); break;
          case KeyAction::commit: done = true; break;
          case KeyAction::cancel:
            outcome = PlatformTextFieldOutcome::cancelled;
            done = true;
            break;
          case KeyAction::none: break;
        }
        break;
      case DestroyNotify:
        // Gone with the host's window: nobody saw the edit end.
        fieldGone = true;
        outcome = PlatformTextFieldOutcome::cancelled;
        done = true;
        break;
      default: break;
    }
  }

  if (!fieldGone && !w->destroyed) {
    // The keys go back where they went before the field opened.
    Window focus = None;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    if (focus == field) XSetInputFocus(d, previousFocus, previousRevert, CurrentTime);
    XDestroyWindow(d, field);
  }
  XSync(d, False);
  x11TakeError(d);
  platformSurfaceRelease(picture);
  if (outcome == PlatformTextFieldOutcome::committed) text = editor.text();
  return outcome;
}
