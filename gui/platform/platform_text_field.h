// A one-line text field the user edits over part of the frame's window, run
// as a modal loop on the user-interface thread. The caret logic is plain
// code (PlatformTextEditor) so it is testable without a display; the field
// itself needs the frame's window.
#pragma once

#include <cstddef>
#include <string>

#include "gui/platform/platform_drawing.h"

struct PlatformWindow;

// The text being edited, as UTF-8, with the caret between two characters
// (a byte offset that never splits a character).
class PlatformTextEditor {
 public:
  explicit PlatformTextEditor(std::string initial = {}, size_t maxBytes = 255);

  const std::string& text() const { return content; }
  size_t caret() const { return caretAt; }

  // Typed text goes in at the caret, as far as the length limit lets whole
  // characters in; control characters are dropped. Invalid UTF-8 is read as
  // Latin-1, the way the drawing reads it.
  void insert(const std::string& typed);
  void backspace();      // removes the character before the caret
  void deleteForward();  // removes the character after the caret
  void left();
  void right();
  void home();
  void end();

 private:
  std::string content;
  size_t caretAt = 0;
  size_t limit;
};

struct PlatformTextFieldStyle {
  double fontSize = 12.0;
  bool bold = false;
  bool italic = false;
  PlatformColor text{0, 0, 0, 255};
  PlatformColor back{255, 255, 255, 255};
  PlatformColor frame{0, 0, 0, 255};
};

enum class PlatformTextFieldOutcome {
  committed,    // Return, Tab, a click outside the field or the focus moving away
  cancelled,    // Escape
  unavailable,  // no window to put the field in: nothing was shown
};

// Shows the field over (x, y, width, height) of `window` (window
// coordinates), holding `text`, and lets the user edit it until the edit is
// committed or cancelled. `text` receives the edited text only when
// committed. The window's own exposures are served meanwhile; its presses
// end the edit (committing) and are not passed on.
PlatformTextFieldOutcome platformTextFieldRun(PlatformWindow* window, long x, long y, long width,
                                              long height, const PlatformTextFieldStyle& style,
                                              std::string& text);

// Draws the field as the user sees it into `surface` (its whole area):
// back, frame, the text scrolled so that the caret shows, and the caret.
// `scroll` is the text's horizontal scroll in pixels, updated to keep the
// caret inside.
void platformTextFieldPaint(PlatformSurface* surface, const PlatformTextEditor& editor,
                            const PlatformTextFieldStyle& style, double& scroll);
