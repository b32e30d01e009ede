#include "tools/editor_host/main_loop.h"

#include <poll.h>

#include <algorithm>
#include <chrono>

namespace junkyard::editorhost {

LoopEnd runEditor(vsthost::PluginInstance& effect, toolwindow::ToolWindow& window,
                  std::optional<int> runForMs) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kIdlePeriod = std::chrono::microseconds(16667);
  const auto start = Clock::now();
  auto nextIdle = start;
  for (;;) {
    if (window.pumpEvents()) return LoopEnd::closedByUser;
    const auto now = Clock::now();
    if (runForMs && now - start >= std::chrono::milliseconds(*runForMs)) return LoopEnd::timeUp;
    if (now >= nextIdle) {
      // A knob held by the mouse keeps this call busy until released: the
      // editor serves its own window meanwhile.
      effect.dispatch(effEditIdle);
      // Late calls are not made up for: a slow redraw must not cause a burst.
      nextIdle = std::max(nextIdle + kIdlePeriod, Clock::now());
      continue;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextIdle - now).count();
    pollfd fd{window.connectionFd(), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(wait) + 1);
  }
}

}  // namespace junkyard::editorhost
