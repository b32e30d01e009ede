// The gallery's event and idle loop: the panel animates while the frame is
// idled the way a host idles an editor.
#pragma once

#include <optional>

#include "tools/toolwindow/tool_window.h"

class CFrame;

namespace gallery {

class Panel;

// Idles `frame` about 60 times a second and animates `panel`, until the
// window is closed or, with `runForMs`, that much time has passed.
void runLoop(junkyard::toolwindow::ToolWindow& window, CFrame& frame, Panel& panel,
             std::optional<int> runForMs);

}  // namespace gallery
