// The frame's window in the host's window: the whole seam between the toolkit
// and the windowing system. No windowing-system type crosses it: the host's
// window is a plain integer id and our own window an opaque handle, so the
// toolkit above builds and runs in tests without a display.
//
// Coordinates are pixels of our window, (0, 0) its top-left corner: the
// frame's own coordinates, since the frame fills the window.
#pragma once

#include <cstdint>

#include "host/vst_abi.h"

struct PlatformSurface;
struct PlatformWindow;

// Receives what happens in the window, while the window's events are being
// dispatched (platformWindowDispatchEvents, platformWindowWaitEvents).
class PlatformWindowSink {
 public:
  // Part of the window must be drawn again; one call per series of exposures.
  virtual void onExpose(long left, long top, long right, long bottom) = 0;
  // `buttons` is the toolkit's button-state word: the button pressed (or
  // released) plus the modifier keys held.
  virtual void onButtonPress(long x, long y, long buttons) = 0;
  virtual void onButtonRelease(long x, long y, long buttons) = 0;
  // Buttons and modifiers held during the move.
  virtual void onMotion(long x, long y, long buttons) = 0;
  // axis 1 vertical, 0 horizontal; distance +1 up / left, -1 down / right.
  // `buttons` carries the modifiers held.
  virtual void onWheel(long x, long y, int axis, float distance, long buttons) = 0;
  virtual void onKey(bool down, VstKeyCode& key) = 0;
  virtual void onFocus(bool gained) = 0;
  virtual void onCrossing(bool entered) = 0;

 protected:
  ~PlatformWindowSink() = default;
};

// Result codes besides the windowing system's own error codes (which are
// positive).
constexpr int kPlatformWindowNoDisplay = -1;   // no connection to the display
constexpr int kPlatformWindowNoParent = -2;    // no host window given

// A child window of width × height inside `parent`, on a connection of its
// own, mapped, with `sink` receiving its events. Null on failure, with the
// reason in *errorCode (when given).
PlatformWindow* platformWindowCreate(uintptr_t parent, long width, long height,
                                     PlatformWindowSink* sink, int* errorCode);
// Destroys the window and closes its connection. 0, or the error code when
// the windowing system refused (the window is let go of all the same).
int platformWindowDestroy(PlatformWindow* window);

uintptr_t platformWindowId(const PlatformWindow* window);
void platformWindowResize(PlatformWindow* window, long width, long height);

// Hands every event already received to the sink, without waiting.
// Returns how many were handled.
int platformWindowDispatchEvents(PlatformWindow* window);
// Waits up to `milliseconds` for events to arrive, then dispatches them.
// Returns how many were handled.
int platformWindowWaitEvents(PlatformWindow* window, unsigned milliseconds);

// Pointer position in window coordinates and the button-state word (buttons
// and modifiers held); false when the pointer is on another screen.
bool platformWindowPointer(PlatformWindow* window, long& x, long& y, long& buttons);

// The window cannot be seen: it, or the host's window, is unmapped
// (minimised, hidden).
bool platformWindowIsHidden(const PlatformWindow* window);

// Copies the rectangle (x, y, width, height) of `surface` to the same place
// in the window.
void platformWindowPresent(PlatformWindow* window, PlatformSurface* surface, long x, long y,
                           long width, long height);

// Pointer shapes, by the toolkit's cursor type number (0 the default arrow).
void platformWindowSetCursor(PlatformWindow* window, int cursorType);
