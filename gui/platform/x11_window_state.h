// Inside of a PlatformWindow, shared by the window and event sources of the
// X11 binding. Nothing outside gui/platform includes this.
#pragma once

#include <X11/Xlib.h>
#include <cairo/cairo.h>

#include "gui/platform/platform_window.h"

struct PlatformWindow {
  Display* display = nullptr;
  Window window = 0;
  Window parent = 0;
  Visual* visual = nullptr;
  int depth = 0;
  long width = 1;
  long height = 1;
  PlatformWindowSink* sink = nullptr;

  // Presents the back buffer: straight copies of its pixels when the window
  // stores pixels the same way, else through cairo. Made on first use.
  GC gc = nullptr;
  cairo_surface_t* target = nullptr;
  Cursor cursor = 0;

  bool mapped = false;
  bool parentMapped = true;
  // The server destroyed the window (with the host's window): nothing may
  // touch it any more.
  bool destroyed = false;

  // Exposures arrive in series; the series is drawn once, as one rectangle.
  bool exposePending = false;
  long exposeLeft = 0, exposeTop = 0, exposeRight = 0, exposeBottom = 0;
};

// Hands one event to the window's sink (x11_events.cpp).
void x11DispatchEvent(PlatformWindow* window, XEvent& event);
// Lets go of what presenting made (x11_present.cpp); before the window goes.
void x11ReleasePresentation(PlatformWindow* window);
// Follows a change of the window's size.
void x11ResizePresentation(PlatformWindow* window);
