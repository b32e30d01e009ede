#include "gui/platform/x11_error_trap.h"

#include <vector>

namespace {

struct Trapped {
  Display* display;
  int lastError;
};

std::vector<Trapped> gTrapped;
XErrorHandler gPrevious = nullptr;

int onError(Display* display, XErrorEvent* error) {
  for (Trapped& entry : gTrapped) {
    if (entry.display == display) {
      entry.lastError = error->error_code;
      return 0;
    }
  }
  return gPrevious ? gPrevious(display, error) : 0;
}

}  // namespace

void x11TrapErrors(Display* display) {
  if (gTrapped.empty()) gPrevious = XSetErrorHandler(onError);
  gTrapped.push_back(Trapped{display, 0});
}

void x11ReleaseErrors(Display* display) {
  for (auto it = gTrapped.begin(); it != gTrapped.end(); ++it) {
    if (it->display == display) {
      gTrapped.erase(it);
      break;
    }
  }
  if (!gTrapped.empty()) return;
  // Whoever installed a handler after ours keeps theirs.
  XErrorHandler current = XSetErrorHandler(gPrevious);
  if (current != onError) XSetErrorHandler(current);
  gPrevious = nullptr;
}

int x11TakeError(Display* display) {
  for (Trapped& entry : gTrapped) {
    if (entry.display == display) {
      int code = entry.lastError;
      entry.lastError = 0;
      return code;
    }
  }
  return 0;
}
