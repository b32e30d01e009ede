// The top-level window that plays the host's editor window: fixed to the
// editor's size, titled, and closable from the window manager.
#pragma once

#include <X11/Xlib.h>

namespace junkyard::editorhost {

class HostWindow {
 public:
  // Opens its own connection to the display; ok() says whether it worked.
  HostWindow(int width, int height, const char* title);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  bool ok() const { return window_ != 0; }
  Display* display() const { return display_; }
  Window window() const { return window_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Handles every event already queued; true once the user asked to close.
  bool pumpEvents();
  // File descriptor to wait on for further events.
  int connectionFd() const;

 private:
  Display* display_ = nullptr;
  Window window_ = 0;
  Atom deleteWindow_ = 0;
  int width_;
  int height_;
  bool closeRequested_ = false;
};

}  // namespace junkyard::editorhost
