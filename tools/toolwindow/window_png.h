// A window's pixels as a PNG file.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "tools/toolwindow/tool_window.h"

namespace junkyard::toolwindow {

// Reads what the window shows (its children's drawing included) from its top
// left corner, at most `width` x `height` and no more than the screen holds;
// false with a message in `error` when the pixels cannot be read or written.
bool saveWindowPng(Display* display, Window window, int width, int height,
                   const std::string& path, std::string& error);

// The whole of `window`, as far as it is on the screen.
bool saveWindowPng(const ToolWindow& window, const std::string& path, std::string& error);

}  // namespace junkyard::toolwindow
