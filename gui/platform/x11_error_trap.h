// Xlib reports protocol errors through one process-wide handler, whose
// default ends the process. The host has its own; while our windows exist we
// put a handler in front of it that keeps the errors of our own connections
// (remembering the last code) and passes every other on.
#pragma once

#include <X11/Xlib.h>

// Starts trapping the errors of `display`.
void x11TrapErrors(Display* display);
// Stops trapping them (before the display is closed).
void x11ReleaseErrors(Display* display);
// The code of the last error on `display` since the last call (0 for none);
// clears it.
int x11TakeError(Display* display);
