// The about box: an enamel plate with the name, the maker, the version and
// how to link and reset controls.
#include "drawing_kit.h"
#include "picture_layout.h"
#include "picture_parts.h"

namespace pictures {

cairo_surface_t* drawAboutBox() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kAboutWidth, kAboutHeight);
  paintWornMetal(surface, Wear{kAboutEnamel, 2002, 0.76, 0.40});
  cairo_t* cr = cairo_create(surface);
  Random random(777);
  const double w = kAboutWidth, h = kAboutHeight;

  cairo_set_line_width(cr, 3);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
  cairo_rectangle(cr, 1.5, 1.5, w - 3, h - 3);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_rectangle(cr, 10.5, 10.5, w - 21, h - 21);
  cairo_stroke(cr);

  // A dark band carries the name.
  cairo_rectangle(cr, 11, 11, w - 22, 86);
  cairo_set_source_rgb(cr, 0.16, 0.20, 0.18);
  cairo_fill(cr);
  cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 40);
  engrave(cr, "Junkyard Reverb", w / 2, 66, 0.5, Align::centre, kLabelInk);

  for (double x : {22.0, w - 22}) {
    for (double y : {22.0, h - 22}) {
      if (random.uniform() < 0.6) rustStreak(cr, random, x, y + 2);
      rivet(cr, x, y, 4.2, random.range(0.1, 0.7));
    }
  }
  scratches(cr, random, 45, 12, 100, w - 12, h - 12);

  selectFont(cr, true, 17);
  engrave(cr, "Mirefield Audio, Inc.", w / 2, 132, 0.3, Align::centre, kDarkInk);
  selectFont(cr, false, 13);
  engrave(cr, "Version 1.0.0", w / 2, 152, 0.3, Align::centre, kDarkInk);

  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 60, 172.5);
  cairo_line_to(cr, w - 60, 172.5);
  cairo_stroke(cr);

  const char* const help[] = {
      "Ctrl+Shift+click a control, then move a MIDI",
      "controller to link it.",
      "Ctrl+Shift+click it again to unlink.",
      "",
      "Ctrl+click a control to reset it.",
  };
  selectFont(cr, false, 14.5);
  double y = 200;
  for (const char* line : help) {
    if (*line) engrave(cr, line, w / 2, y, 0.0, Align::centre, kDarkInk);
    y += *line ? 21 : 10;
  }
  selectFont(cr, true, 13);
  engrave(cr, "Click anywhere to close.", w / 2, h - 34, 0.5, Align::centre, rgb(120, 40, 24));
  cairo_destroy(cr);
  return surface;
}

}  // namespace pictures
