// The top-level window a tool shows a panel in, the way a host shows an
// editor: fixed to the panel's size, titled, and closable from the window
// manager.
#pragma once

#include <X11/Xlib.h>

namespace junkyard::toolwindow {

// What window managers and their rules know the tool's windows by
// (WM_CLASS: instance name and class).
struct WindowClass {
  const char* name;
  const char* className;
};

class ToolWindow {
 public:
  // Opens its own connection to the display and waits until the window is
  // mapped; ok() says whether it worked. `title` is UTF-8.
  ToolWindow(int width, int height, const char* title, WindowClass windowClass);
  ~ToolWindow();
  ToolWindow(const ToolWindow&) = delete;
  ToolWindow& operator=(const ToolWindow&) = delete;

  bool ok() const { return window_ != 0; }
  Display* display() const { return display_; }
  Window window() const { return window_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Handles every event already queued for our own window; true once the
  // user asked to close it.
  bool pumpEvents();
  // File descriptor to wait on for further events; -1 without a display.
  int connectionFd() const;

 private:
  Display* display_ = nullptr;
  Window window_ = 0;
  Atom deleteWindow_ = 0;
  int width_;
  int height_;
  bool closeRequested_ = false;
};

}  // namespace junkyard::toolwindow
