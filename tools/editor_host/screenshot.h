// The window's pixels as a PNG file.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace junkyard::editorhost {

// Reads what the window shows (its children's drawing included); false with
// a message in `error` when the pixels cannot be read or written.
bool saveWindowPng(Display* display, Window window, int width, int height,
                   const std::string& path, std::string& error);

}  // namespace junkyard::editorhost
