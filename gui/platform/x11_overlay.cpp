// Showing the field's and the menus' pictures: their pixels go to the server
// as they are when the window stores pixels the way the surface does (as the
// frame's back buffer does), else cairo converts them.
#include "gui/platform/x11_overlay.h"

#include <X11/Xutil.h>
#include <cairo/cairo-xlib.h>
#include <cairo/cairo.h>
#include <poll.h>

#include "gui/platform/platform_drawing.h"

void x11ShowSurface(Display* display, Window window, Visual* visual, int depth,
                    PlatformSurface* surface) {
  if (!display || !window || !surface) return;
  const long width = platformSurfaceWidth(surface), height = platformSurfaceHeight(surface);
  platformSurfaceBeginAccess(surface);
  if (visual && (depth == 24 || depth == 32) && visual->red_mask == 0xff0000 &&
      visual->green_mask == 0x00ff00 && visual->blue_mask == 0x0000ff) {
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(platformSurfaceData(surface)),
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32,
                                 static_cast<int>(platformSurfaceStride(surface)));
    if (!image) return;
    const unsigned int probe = 1;
    image->byte_order = *reinterpret_cast<const unsigned char*>(&probe) ? LSBFirst : MSBFirst;
    GC gc = XCreateGC(display, window, 0, nullptr);
    XPutImage(display, window, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    XFreeGC(display, gc);
    image->data = nullptr;  // the surface's, not ours to free
    XDestroyImage(image);
  } else {
    cairo_surface_t* target = cairo_xlib_surface_create(
        display, window, visual, static_cast<int>(width), static_cast<int>(height));
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        platformSurfaceData(surface), CAIRO_FORMAT_ARGB32, static_cast<int>(width),
        static_cast<int>(height), static_cast<int>(platformSurfaceStride(surface)));
    cairo_t* cr = cairo_create(target);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(source);
    cairo_surface_flush(target);
    cairo_surface_destroy(target);
  }
  XFlush(display);
}

bool x11WaitForEvent(Display* display, int milliseconds) {
  if (XPending(display) > 0) return true;
  pollfd wait{ConnectionNumber(display), POLLIN, 0};
  poll(&wait, 1, milliseconds);
  return XPending(display) > 0;
}
