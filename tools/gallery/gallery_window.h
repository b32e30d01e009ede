// The gallery's top-level X11 window, its event/idle loop and its screenshot.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>

class CFrame;

namespace gallery {

class Panel;

class GalleryWindow {
 public:
  GalleryWindow(int width, int height, const char* title);
  ~GalleryWindow();
  GalleryWindow(const GalleryWindow&) = delete;
  GalleryWindow& operator=(const GalleryWindow&) = delete;

  bool ok() const { return window_ != 0; }
  Display* display() const { return display_; }
  Window window() const { return window_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Handles our own window's events; true once the user closed it.
  bool pumpEvents();
  int connectionFd() const;

 private:
  Display* display_ = nullptr;
  Window window_ = 0;
  Atom deleteWindow_ = 0;
  int width_;
  int height_;
  bool closeRequested_ = false;
};

// Idles `frame` about 60 times a second and animates `panel`, until the
// window is closed or, with `runForMs`, that much time has passed.
void runLoop(GalleryWindow& window, CFrame& frame, Panel& panel,
             std::optional<int> runForMs);

// Writes the window's pixels (children included) as a PNG.
bool saveWindowPng(GalleryWindow& window, const std::string& path, std::string& error);

}  // namespace gallery
