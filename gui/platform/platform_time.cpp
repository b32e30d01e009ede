#include "gui/platform/platform_time.h"

#include <cerrno>
#include <ctime>

uint32_t platformTicks() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

void platformSleep(unsigned milliseconds) {
  timespec pause{};
  pause.tv_sec = milliseconds / 1000u;
  pause.tv_nsec = static_cast<long>(milliseconds % 1000u) * 1000000L;
  // Sleep the whole span even when a signal interrupts it.
  while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
  }
}

// X11 has no system-wide double-click setting; desktop toolkits settle on
// values around this one.
unsigned platformDoubleClickTime() { return 250; }
