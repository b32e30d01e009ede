// Serves an open editor the way a host does: idle about 60 times a second,
// with the host window's own events handled in between.
#pragma once

#include <optional>

#include "tools/toolwindow/tool_window.h"
#include "tools/vsthost/plugin_instance.h"

namespace junkyard::editorhost {

enum class LoopEnd { closedByUser, timeUp };

// Runs until the window is closed, or, with `runForMs`, until that much time
// has passed.
LoopEnd runEditor(vsthost::PluginInstance& effect, toolwindow::ToolWindow& window,
                  std::optional<int> runForMs);

}  // namespace junkyard::editorhost
