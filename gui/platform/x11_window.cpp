// The frame's child window inside the host's X11 window, on a connection of
// its own: nobody else delivers X events to a plug-in, so the frame drains
// this connection itself.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>

#include "gui/platform/platform_time.h"
#include "gui/platform/platform_window.h"
#include "gui/platform/x11_error_trap.h"
#include "gui/platform/x11_keys.h"
#include "gui/platform/x11_window_state.h"

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | KeyPressMask | KeyReleaseMask | FocusChangeMask |
                            EnterWindowMask | LeaveWindowMask | StructureNotifyMask;

// X has no windows of zero size.
unsigned int windowExtent(long extent) {
  return static_cast<unsigned int>(std::clamp(extent, 1L, 32767L));
}

// A busy server may turn a connection away for a moment (the socket's queue
// of pending connections is full); Xlib does not try again by itself.
Display* openConnection() {
  for (int attempt = 0;; ++attempt) {
    errno = 0;
    if (Display* display = XOpenDisplay(nullptr)) return display;
    if (errno != EAGAIN || attempt == 20) return nullptr;
    platformSleep(5);
  }
}

void closeConnection(Display* display) {
  x11ReleaseErrors(display);
  XCloseDisplay(display);
}

// The server destroyed our window with the host's; a queued notice says so.
void noticeDestruction(PlatformWindow* w) {
  XEvent event;
  if (XCheckTypedWindowEvent(w->display, w->window, DestroyNotify, &event)) w->destroyed = true;
}

}  // namespace

PlatformWindow* platformWindowCreate(uintptr_t parent, long width, long height,
                                     PlatformWindowSink* sink, int* errorCode) {
  auto fail = [errorCode](int code) -> PlatformWindow* {
    if (errorCode) *errorCode = code;
    return nullptr;
  };
  if (!parent) return fail(kPlatformWindowNoParent);
  Display* display = openConnection();
  if (!display) return fail(kPlatformWindowNoDisplay);
  x11TrapErrors(display);

  XSetWindowAttributes attributes{};
  attributes.event_mask = kEventMask;
  // No background: the server leaves exposed areas alone until we copy the
  // back buffer there, so nothing flickers.
  attributes.background_pixmap = None;
  attributes.bit_gravity = NorthWestGravity;
  Window window =
      XCreateWindow(display, static_cast<Window>(parent), 0, 0, windowExtent(width),
                    windowExtent(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWEventMask | CWBackPixmap | CWBitGravity, &attributes);
  XSync(display, False);
  XWindowAttributes created{};
  int code = x11TakeError(display);
  if (!code && !XGetWindowAttributes(display, window, &created)) code = BadWindow;
  XWindowAttributes host{};
  if (!code) {
    // Minimising the host's window unmaps it: watching it tells the frame
    // when drawing is pointless.
    XSelectInput(display, static_cast<Window>(parent), StructureNotifyMask);
    XGetWindowAttributes(display, static_cast<Window>(parent), &host);
    XMapWindow(display, window);
    XSync(display, False);
    code = x11TakeError(display);
  }
  if (code) {
    if (window) XDestroyWindow(display, window);
    XSync(display, False);
    closeConnection(display);
    return fail(code);
  }

  auto* w = new PlatformWindow;
  w->display = display;
  w->window = window;
  w->parent = static_cast<Window>(parent);
  w->visual = created.visual;
  w->depth = created.depth;
  w->width = windowExtent(width);
  w->height = windowExtent(height);
  w->sink = sink;
  w->parentMapped = host.map_state != IsUnmapped;
  if (errorCode) *errorCode = 0;
  return w;
}

int platformWindowDestroy(PlatformWindow* w) {
  if (!w) return 0;
  Display* display = w->display;
  x11ReleasePresentation(w);
  XSync(display, False);
  noticeDestruction(w);
  x11TakeError(display);
  if (!w->destroyed) {
    if (w->cursor) XUndefineCursor(display, w->window);
    XDestroyWindow(display, w->window);
  }
  if (w->cursor) XFreeCursor(display, w->cursor);
  XSync(display, False);
  int code = x11TakeError(display);
  closeConnection(display);
  delete w;
  return code;
}

uintptr_t platformWindowId(const PlatformWindow* w) { return w ? static_cast<uintptr_t>(w->window) : 0; }

void platformWindowResize(PlatformWindow* w, long width, long height) {
  if (!w || w->destroyed) return;
  w->width = windowExtent(width);
  w->height = windowExtent(height);
  XResizeWindow(w->display, w->window, static_cast<unsigned>(w->width),
                static_cast<unsigned>(w->height));
  x11ResizePresentation(w);
  XFlush(w->display);
}

int platformWindowDispatchEvents(PlatformWindow* w) {
  if (!w) return 0;
  int handled = 0;
  while (XPending(w->display) > 0) {
    XEvent event;
    XNextEvent(w->display, &event);
    x11DispatchEvent(w, event);
    ++handled;
  }
  return handled;
}

int platformWindowWaitEvents(PlatformWindow* w, unsigned milliseconds) {
  if (!w) return 0;
  if (XPending(w->display) == 0) {
    pollfd wait{ConnectionNumber(w->display), POLLIN, 0};
    poll(&wait, 1, static_cast<int>(milliseconds));
  }
  return platformWindowDispatchEvents(w);
}

bool platformWindowPointer(PlatformWindow* w, long& x, long& y, long& buttons) {
  if (!w || w->destroyed) return false;
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(w->display, w->window, &root, &child, &rootX, &rootY, &windowX, &windowY,
                     &mask))
    return false;
  x = windowX;
  y = windowY;
  buttons = x11ButtonState(mask);
  return true;
}

bool platformWindowIsHidden(const PlatformWindow* w) {
  return !w || w->destroyed || !w->mapped || !w->parentMapped;
}

void platformWindowSetCursor(PlatformWindow* w, int cursorType) {
  if (!w || w->destroyed) return;
  // Default, wait, horizontal, vertical and all-way sizing, the two diagonal
  // sizings, copy, not allowed, hand.
  static constexpr unsigned int kShapes[] = {0,          XC_watch,     XC_sb_h_double_arrow,
                                             XC_sb_v_double_arrow, XC_fleur,
                                             XC_bottom_left_corner, XC_bottom_right_corner,
                                             XC_plus,    XC_X_cursor,  XC_hand2};
  if (w->cursor) {
    XUndefineCursor(w->display, w->window);
    XFreeCursor(w->display, w->cursor);
    w->cursor = 0;
  }
  if (cursorType > 0 && cursorType < static_cast<int>(sizeof(kShapes) / sizeof(kShapes[0]))) {
    w->cursor = XCreateFontCursor(w->display, kShapes[cursorType]);
    XDefineCursor(w->display, w->window, w->cursor);
  }
  XFlush(w->display);
}
