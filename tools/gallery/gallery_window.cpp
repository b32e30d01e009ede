#include "tools/gallery/gallery_window.h"

#include <X11/Xutil.h>
#include <cairo.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "gui/cframe.h"
#include "tools/gallery/gallery_panel.h"

namespace gallery {

GalleryWindow::GalleryWindow(int width, int height, const char* title)
    : width_(width), height_(height) {
  display_ = XOpenDisplay(nullptr);
  if (!display_) return;
  const int screen = DefaultScreen(display_);
  window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0,
                                static_cast<unsigned>(width_), static_cast<unsigned>(height_), 0,
                                BlackPixel(display_, screen), BlackPixel(display_, screen));
  // The title carries an em dash: set it as UTF-8 for window managers that
  // read _NET_WM_NAME, and as the plain name for those that do not.
  XStoreName(display_, window_, title);
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
  XChangeProperty(display_, window_, netName, utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title),
                  static_cast<int>(std::char_traits<char>::length(title)));
  XClassHint classHint{const_cast<char*>("junkyard-gallery"), const_cast<char*>("JunkyardGallery")};
  XSetClassHint(display_, window_, &classHint);

  // The panel's pictures do not stretch: the window keeps the panel's size.
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
  // The frame's child window is drawn once ours is on screen.
  XEvent event;
  do XWindowEvent(display_, window_, StructureNotifyMask, &event);
  while (event.type != MapNotify);
}

GalleryWindow::~GalleryWindow() {
  if (display_) {
    if (window_) XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }
}

bool GalleryWindow::pumpEvents() {
  while (display_ && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
      closeRequested_ = true;
  }
  return closeRequested_;
}

int GalleryWindow::connectionFd() const { return display_ ? ConnectionNumber(display_) : -1; }

void runLoop(GalleryWindow& window, CFrame& frame, Panel& panel, std::optional<int> runForMs) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kIdlePeriod = std::chrono::microseconds(16667);
  const auto start = Clock::now();
  auto nextIdle = start;
  for (;;) {
    if (window.pumpEvents()) return;
    const auto now = Clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - start);
    if (runForMs && elapsed.count() >= *runForMs) return;
    if (now >= nextIdle) {
      panel.animate(static_cast<long>(elapsed.count()));
      // A control held by the mouse keeps this call busy until released; the
      // frame serves its own window meanwhile.
      frame.idle();
      // Late calls are not made up for: a slow redraw must not cause a burst.
      nextIdle = std::max(nextIdle + kIdlePeriod, Clock::now());
      continue;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextIdle - now).count();
    pollfd fd{window.connectionFd(), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(wait) + 1);
  }
}

namespace {

// One colour channel of an X pixel, scaled to 8 bits whatever the visual's depth.
uint32_t channel(unsigned long pixel, unsigned long mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const unsigned long max = mask >> shift;
  return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

bool saveWindowPng(GalleryWindow& window, const std::string& path, std::string& error) {
  Display* display = window.display();
  // Only the part of the window on the screen can be read.
  const int screen = DefaultScreen(display);
  const int width = std::min(window.width(), DisplayWidth(display, screen));
  const int height = std::min(window.height(), DisplayHeight(display, screen));
  XSync(display, False);
  XImage* image = XGetImage(display, window.window(), 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!image) {
    error = "cannot read the window's pixels";
    return false;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<long>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      row[x] = channel(pixel, image->red_mask) << 16 | channel(pixel, image->green_mask) << 8 |
               channel(pixel, image->blue_mask);
    }
  }
  XDestroyImage(image);
  cairo_surface_mark_dirty(surface);
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    error = "cannot write " + path + ": " + cairo_status_to_string(status);
    return false;
  }
  return true;
}

}  // namespace gallery
