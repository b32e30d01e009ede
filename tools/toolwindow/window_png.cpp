#include "tools/toolwindow/window_png.h"

#include <X11/Xutil.h>
#include <cairo.h>

#include <algorithm>
#include <cstdint>

namespace junkyard::toolwindow {

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

bool saveWindowPng(Display* display, Window window, int width, int height,
                   const std::string& path, std::string& error) {
  if (!display || !window) {
    error = "no window to read";
    return false;
  }
  // Only the part of the window on the screen can be read: asking X for more
  // is an error that ends the program.
  const int screen = DefaultScreen(display);
  width = std::min(width, DisplayWidth(display, screen));
  height = std::min(height, DisplayHeight(display, screen));
  if (width <= 0 || height <= 0) {
    error = "the window has no pixels to read";
    return false;
  }
  XSync(display, False);
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!image) {
    error = "cannot read the window's pixels";
    return false;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  if (!data) {
    XDestroyImage(image);
    cairo_surface_destroy(surface);
    error = "cannot hold the window's pixels";
    return false;
  }
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

bool saveWindowPng(const ToolWindow& window, const std::string& path, std::string& error) {
  return saveWindowPng(window.display(), window.window(), window.width(), window.height(), path, error);
}

}  // namespace junkyard::toolwindow
