// What the text field and the pop-up menu share: showing a surface drawn in
// memory in a window of their own, and waiting on the frame's connection.
// Nothing outside gui/platform includes this.
#pragma once

#include <X11/Xlib.h>

struct PlatformSurface;

// Copies the whole surface to (0, 0) of `window` (which has `visual` and `depth`).
void x11ShowSurface(Display* display, Window window, Visual* visual, int depth,
                    PlatformSurface* surface);
// Waits up to `milliseconds` for an event on the connection; true when one is queued.
bool x11WaitForEvent(Display* display, int milliseconds);
