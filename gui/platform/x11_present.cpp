// Showing the frame's back buffer in its window. The back buffer holds
// 32-bit pixels, alpha-red-green-blue from the high byte down; a window of
// depth 24 or 32 with a true-colour visual stores the same bits, so the
// pixels go to the server as they are. Any other window goes through cairo,
// which converts.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo/cairo-xlib.h>
#include <cairo/cairo.h>

#include <algorithm>

#include "gui/platform/platform_drawing.h"
#include "gui/platform/x11_window_state.h"

namespace {

bool storesPixelsLikeTheBackBuffer(const PlatformWindow* w) {
  const Visual* v = w->visual;
  return v && (w->depth == 24 || w->depth == 32) && v->red_mask == 0xff0000 &&
         v->green_mask == 0x00ff00 && v->blue_mask == 0x0000ff;
}

void putPixels(PlatformWindow* w, PlatformSurface* surface, long left, long top, long right,
               long bottom) {
  if (!w->gc) w->gc = XCreateGC(w->display, w->window, 0, nullptr);
  XImage* image = XCreateImage(
      w->display, w->visual, static_cast<unsigned>(w->depth), ZPixmap, 0,
      reinterpret_cast<char*>(platformSurfaceData(surface)),
      static_cast<unsigned>(platformSurfaceWidth(surface)),
      static_cast<unsigned>(platformSurfaceHeight(surface)), 32,
      static_cast<int>(platformSurfaceStride(surface)));
  if (!image) return;
  // The pixels are 32-bit words in this machine's order; Xlib swaps them
  // for a server that wants the other.
  const unsigned int probe = 1;
  image->byte_order = *reinterpret_cast<const unsigned char*>(&probe) ? LSBFirst : MSBFirst;
  XPutImage(w->display, w->window, w->gc, image, static_cast<int>(left), static_cast<int>(top),
            static_cast<int>(left), static_cast<int>(top), static_cast<unsigned>(right - left),
            static_cast<unsigned>(bottom - top));
  image->data = nullptr;  // the back buffer's, not ours to free
  XDestroyImage(image);
}

void drawWithCairo(PlatformWindow* w, PlatformSurface* surface, long left, long top, long right,
                   long bottom) {
  if (!w->target) {
    w->target = cairo_xlib_surface_create(w->display, w->window, w->visual,
                                          static_cast<int>(w->width), static_cast<int>(w->height));
  }
  cairo_surface_t* source = cairo_image_surface_create_for_data(
      platformSurfaceData(surface), CAIRO_FORMAT_ARGB32,
      static_cast<int>(platformSurfaceWidth(surface)),
      static_cast<int>(platformSurfaceHeight(surface)),
      static_cast<int>(platformSurfaceStride(surface)));
  cairo_t* cr = cairo_create(w->target);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, source, 0, 0);
  cairo_rectangle(cr, static_cast<double>(left), static_cast<double>(top),
                  static_cast<double>(right - left), static_cast<double>(bottom - top));
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(source);
  cairo_surface_flush(w->target);
}

}  // namespace

void platformWindowPresent(PlatformWindow* w, PlatformSurface* surface, long x, long y,
                           long width, long height) {
  if (!w || w->destroyed || !surface) return;
  const long left = std::max(x, 0L), top = std::max(y, 0L);
  const long right = std::min({x + width, platformSurfaceWidth(surface), w->width});
  const long bottom = std::min({y + height, platformSurfaceHeight(surface), w->height});
  if (right <= left || bottom <= top) return;
  platformSurfaceBeginAccess(surface);
  if (storesPixelsLikeTheBackBuffer(w))
    putPixels(w, surface, left, top, right, bottom);
  else
    drawWithCairo(w, surface, left, top, right, bottom);
  XFlush(w->display);
}

void x11ReleasePresentation(PlatformWindow* w) {
  if (w->gc) XFreeGC(w->display, w->gc);
  w->gc = nullptr;
  if (w->target) {
    // cairo keeps a record per connection; it must go before the connection.
    cairo_device_t* device = cairo_device_reference(cairo_surface_get_device(w->target));
    cairo_surface_destroy(w->target);
    cairo_device_finish(device);
    cairo_device_destroy(device);
  }
  w->target = nullptr;
}

void x11ResizePresentation(PlatformWindow* w) {
  if (w->target)
    cairo_xlib_surface_set_size(w->target, static_cast<int>(w->width), static_cast<int>(w->height));
}
