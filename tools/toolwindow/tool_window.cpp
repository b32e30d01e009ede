#include "tools/toolwindow/tool_window.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>

namespace junkyard::toolwindow {

namespace {

// X sizes are 16-bit and a zero-sized window is an error.
int windowExtent(int size) { return std::clamp(size, 1, 32767); }

}  // namespace

ToolWindow::ToolWindow(int width, int height, const char* title, WindowClass windowClass)
    : width_(windowExtent(width)), height_(windowExtent(height)) {
  if (!title) title = "";
  display_ = XOpenDisplay(nullptr);
  if (!display_) return;
  const int screen = DefaultScreen(display_);
  window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0,
                                static_cast<unsigned>(width_), static_cast<unsigned>(height_), 0,
                                BlackPixel(display_, screen), BlackPixel(display_, screen));
  // Titles may carry more than ASCII (an em dash, say): set the UTF-8 name
  // for window managers that read _NET_WM_NAME, and the plain name for
  // those that do not.
  XStoreName(display_, window_, title);
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
  XChangeProperty(display_, window_, netName, utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title), static_cast<int>(std::strlen(title)));
  XClassHint classHint{const_cast<char*>(windowClass.name ? windowClass.name : ""),
                       const_cast<char*>(windowClass.className ? windowClass.className : "")};
  XSetClassHint(display_, window_, &classHint);

  // A panel's pictures do not stretch: the window keeps the panel's size.
  XSizeHints* hints = XAllocSizeHints();
  if (hints) {
    hints->flags = PMinSize | PMaxSize | PBaseSize;
    hints->min_width = hints->max_width = hints->base_width = width_;
    hints->min_height = hints->max_height = hints->base_height = height_;
    XSetWMNormalHints(display_, window_, hints);
    XFree(hints);
  }

  deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display_, window_, &deleteWindow_, 1);
  XSelectInput(display_, window_, StructureNotifyMask);
  XMapRaised(display_, window_);
  // The panel's child window is drawn once ours is on screen.
  XEvent event;
  do XWindowEvent(display_, window_, StructureNotifyMask, &event);
  while (event.type != MapNotify);
}

ToolWindow::~ToolWindow() {
  if (display_) {
    if (window_) XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }
}

bool ToolWindow::pumpEvents() {
  while (display_ && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
      closeRequested_ = true;
  }
  return closeRequested_;
}

int ToolWindow::connectionFd() const { return display_ ? ConnectionNumber(display_) : -1; }

}  // namespace junkyard::toolwindow
