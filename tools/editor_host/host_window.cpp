#include "tools/editor_host/host_window.h"

#include <X11/Xutil.h>

#include <algorithm>

namespace junkyard::editorhost {

HostWindow::HostWindow(int width, int height, const char* title)
    : width_(std::clamp(width, 1, 32767)), height_(std::clamp(height, 1, 32767)) {
  display_ = XOpenDisplay(nullptr);
  if (!display_) return;
  const int screen = DefaultScreen(display_);
  window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0,
                                static_cast<unsigned>(width_), static_cast<unsigned>(height_), 0,
                                BlackPixel(display_, screen), BlackPixel(display_, screen));
  XStoreName(display_, window_, title);
  XClassHint classHint{const_cast<char*>("junkyard-editor"), const_cast<char*>("JunkyardEditor")};
  XSetClassHint(display_, window_, &classHint);

  // The editor's pictures do not stretch: the window keeps the editor's size.
  XSizeHints* hints = XAllocSizeHints();
  hints->flags = PMinSize | PMaxSize | PBaseSize;
  hints->min_width = hints->max_width = hints->base_width = width_;
  hints->min_height = hints->max_height = hints->base_height = height_;
  XSetWMNormalHints(display_, window_, hints);
  XFree(hints);

  deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display_, window_, &deleteWindow_, 1);
  XSelectInput(display_, window_, StructureNotifyMask);
  XMapRaised(display_, window_);
  // The editor's child window is drawn once ours is on screen.
  XEvent event;
  do XWindowEvent(display_, window_, StructureNotifyMask, &event);
  while (event.type != MapNotify);
}

HostWindow::~HostWindow() {
  if (display_) {
    if (window_) XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }
}

bool HostWindow::pumpEvents() {
  while (display_ && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
      closeRequested_ = true;
  }
  return closeRequested_;
}

int HostWindow::connectionFd() const { return display_ ? ConnectionNumber(display_) : -1; }

}  // namespace junkyard::editorhost
