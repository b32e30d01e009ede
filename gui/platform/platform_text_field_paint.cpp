// The text field's picture, drawn in memory so the window only has to show it.
#include <algorithm>
#include <cmath>

#include "gui/platform/platform_text_field.h"

namespace {

// Room between the frame and the text.
constexpr double kPadding = 3.0;

void fillBox(PlatformContext* c, double x, double y, double width, double height) {
  platformNewPath(c);
  platformRectangle(c, x, y, width, height);
  platformFill(c);
}

}  // namespace

void platformTextFieldPaint(PlatformSurface* surface, const PlatformTextEditor& editor,
                            const PlatformTextFieldStyle& style, double& scroll) {
  PlatformContext* c = platformContextCreate(surface);
  if (!c) return;
  const double width = static_cast<double>(platformSurfaceWidth(surface));
  const double height = static_cast<double>(platformSurfaceHeight(surface));

  platformSetFillColor(c, style.back);
  fillBox(c, 0, 0, width, height);
  platformSetFillColor(c, style.frame);
  fillBox(c, 0, 0, width, 1);
  fillBox(c, 0, height - 1, width, 1);
  fillBox(c, 0, 0, 1, height);
  fillBox(c, width - 1, 0, 1, height);

  const std::string before = editor.text().substr(0, editor.caret());
  const double caretX =
      platformTextWidth(c, before.c_str(), style.fontSize, style.bold, style.italic);
  // The caret stays in sight: the text slides under it.
  const double room = std::max(1.0, width - 2.0 * kPadding);
  if (caretX - scroll > room - 1.0) scroll = caretX - room + 1.0;
  if (caretX - scroll < 0.0) scroll = caretX;
  if (!(scroll > 0.0)) scroll = 0.0;

  double ascent = 0.0, descent = 0.0;
  platformFontExtents(c, style.fontSize, style.bold, style.italic, ascent, descent);
  const double baseline = std::round((height + ascent - descent) / 2.0);

  platformSave(c);
  platformClipRect(c, 1, 1, static_cast<long>(width) - 2, static_cast<long>(height) - 2);
  platformDrawText(c, editor.text().c_str(), std::round(kPadding - scroll), baseline,
                   style.fontSize, style.bold, style.italic, style.text);
  platformSetFillColor(c, style.text);
  const double caretLeft = std::round(kPadding + caretX - scroll);
  const double caretTop = std::max(2.0, std::round(baseline - ascent));
  const double caretBottom = std::min(height - 2.0, std::round(baseline + descent));
  fillBox(c, caretLeft, caretTop, 1.0, std::max(1.0, caretBottom - caretTop));
  platformRestore(c);

  platformFlush(c);
  platformContextDestroy(c);
}
