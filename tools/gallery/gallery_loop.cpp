#include "tools/gallery/gallery_loop.h"

#include <poll.h>

#include <algorithm>
#include <chrono>

#include "gui/cframe.h"
#include "tools/gallery/gallery_panel.h"

namespace gallery {

void runLoop(junkyard::toolwindow::ToolWindow& window, CFrame& frame, Panel& panel,
             std::optional<int> runForMs) {
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

}  // namespace gallery
