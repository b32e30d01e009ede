// What moves: the knobs, the input selector's handle and lamps, and the
// power rocker with its pilot lamp.
#include <cmath>

#include "drawing_kit.h"
#include "picture_layout.h"
#include "picture_parts.h"

namespace pictures {

// A black bakelite knob with a knurled rim on an aluminium skirt; `degrees`
// is the pointer's direction (counter-clockwise from the positive x axis).
void drawKnob(cairo_t* cr, double cx, double cy, double degrees) {
  double a = degrees * kPi / 180.0;
  double px = std::cos(a), py = -std::sin(a);

  cairo_pattern_t* shadow = cairo_pattern_create_radial(cx + 3, cy + 4, 20, cx + 3, cy + 4, 34);
  cairo_pattern_add_color_stop_rgba(shadow, 0.0, 0, 0, 0, 0.6);
  cairo_pattern_add_color_stop_rgba(shadow, 1.0, 0, 0, 0, 0.0);
  cairo_set_source(cr, shadow);
  cairo_arc(cr, cx + 3, cy + 4, 34, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(shadow);

  // Skirt.
  cairo_pattern_t* skirt = cairo_pattern_create_linear(cx - 30, cy - 30, cx + 30, cy + 30);
  cairo_pattern_add_color_stop_rgb(skirt, 0.0, 0.86, 0.86, 0.82);
  cairo_pattern_add_color_stop_rgb(skirt, 1.0, 0.33, 0.33, 0.31);
  cairo_set_source(cr, skirt);
  cairo_arc(cr, cx, cy, 30, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(skirt);
  cairo_set_line_width(cr, 0.6);
  for (int i = 0; i < 48; ++i) {  // turned grooves: they show the rotation
    double g = a + i * 2 * kPi / 48;
    cairo_move_to(cr, cx + std::cos(g) * 26.5, cy - std::sin(g) * 26.5);
    cairo_line_to(cr, cx + std::cos(g) * 29.5, cy - std::sin(g) * 29.5);
  }
  cairo_set_source_rgba(cr, 0, 0, 0, 0.28);
  cairo_stroke(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.75);
  cairo_set_line_width(cr, 1);
  cairo_arc(cr, cx, cy, 30, 0, 2 * kPi);
  cairo_stroke(cr);

  // Knurled body.
  for (int i = 0; i <= 360; ++i) {
    double t = i * 2 * kPi / 360;
    double r = 23 + 1.1 * std::cos(28 * (t - a));
    double x = cx + std::cos(t) * r, y = cy - std::sin(t) * r;
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
  cairo_pattern_t* body = cairo_pattern_create_radial(cx - 9, cy - 10, 2, cx, cy, 30);
  cairo_pattern_add_color_stop_rgb(body, 0.0, 0.36, 0.35, 0.33);
  cairo_pattern_add_color_stop_rgb(body, 0.6, 0.10, 0.10, 0.10);
  cairo_pattern_add_color_stop_rgb(body, 1.0, 0.03, 0.03, 0.03);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.9);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);

  // Slightly dished top.
  cairo_pattern_t* top = cairo_pattern_create_linear(cx - 16, cy - 16, cx + 16, cy + 16);
  cairo_pattern_add_color_stop_rgb(top, 0.0, 0.06, 0.06, 0.06);
  cairo_pattern_add_color_stop_rgb(top, 1.0, 0.24, 0.24, 0.23);
  cairo_set_source(cr, top);
  cairo_arc(cr, cx, cy, 17, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_t* lip = cairo_pattern_create_linear(cx - 17, cy - 17, cx + 17, cy + 17);
  cairo_pattern_add_color_stop_rgba(lip, 0.0, 1, 1, 1, 0.05);
  cairo_pattern_add_color_stop_rgba(lip, 1.0, 1, 1, 1, 0.35);
  cairo_set_source(cr, lip);
  cairo_set_line_width(cr, 1);
  cairo_arc(cr, cx, cy, 17, 0, 2 * kPi);
  cairo_stroke(cr);
  cairo_pattern_destroy(lip);
  cairo_pattern_destroy(top);

  // Pointer: a painted line from the centre over the rim and the skirt.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, cx + px * 6, cy + py * 6);
  cairo_line_to(cr, cx + px * 29, cy + py * 29);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  cairo_move_to(cr, cx + px * 6, cy + py * 6);
  cairo_line_to(cr, cx + px * 29, cy + py * 29);
  setColour(cr, kLabelInk);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
}

namespace {

// The slide switch's handle; `line` puts it at the right end.
void selectorFrame(cairo_t* cr, double oy, bool line) {
  double hw = 30, hh = 28;
  double hx = line ? kSlotRight - hw + 3 : kSlotLeft - 3;
  double hy = oy + (kSlotTop + kSlotBottom) / 2 - hh / 2;
  roundedRect(cr, hx + 2, hy + 3, hw, hh, 4);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
  cairo_fill(cr);
  roundedRect(cr, hx, hy, hw, hh, 4);
  cairo_pattern_t* metal = cairo_pattern_create_linear(0, hy, 0, hy + hh);
  cairo_pattern_add_color_stop_rgb(metal, 0.0, 0.90, 0.90, 0.86);
  cairo_pattern_add_color_stop_rgb(metal, 0.5, 0.62, 0.62, 0.59);
  cairo_pattern_add_color_stop_rgb(metal, 1.0, 0.36, 0.36, 0.34);
  cairo_set_source(cr, metal);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(metal);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  for (int i = 0; i < 5; ++i) {  // finger grip
    double gx = hx + 7.5 + i * 3.8;
    cairo_move_to(cr, gx, hy + 6);
    cairo_line_to(cr, gx, hy + hh - 6);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_move_to(cr, gx + 1.2, hy + 6);
    cairo_line_to(cr, gx + 1.2, hy + hh - 6);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
  }
}

constexpr Rgb kGreenLamp = rgb(120, 240, 90);
constexpr Rgb kRedLamp = rgb(255, 70, 30);

void selectorLamps(cairo_t* cr, double oy, bool line) {
  lamp(cr, kMicLampX, oy + kLampY, 4.5, kGreenLamp, !line);
  lamp(cr, kLineLampX, oy + kLampY, 4.5, kGreenLamp, line);
}

}  // namespace

void drawSelector(cairo_t* cr, double top, bool line) {
  selectorFrame(cr, top, line);
  selectorLamps(cr, top, line);
}

// The rocker: the side that is pushed down is dark and flat, the other side
// stands up into the light. Pressed, the whole rocker sinks into its bezel.
void drawPowerSwitch(cairo_t* cr, double oy, bool on, bool pressed) {
  double inset = pressed ? 3.0 : 2.0;
  double sink = pressed ? 2.0 : 0.0;
  double x0 = kRockerLeft + inset, x1 = kRockerRight - inset;
  double y0 = oy + kRockerTop + inset + sink, y1 = oy + kRockerBottom - inset + sink * 0.5;
  double mid = (x0 + x1) / 2;
  for (int side = 0; side < 2; ++side) {  // 0: "O" (off) half, 1: "I" (on) half
    bool down = (side == 1) == on;
    double l = side == 0 ? x0 : mid, r = side == 0 ? mid : x1;
    cairo_rectangle(cr, l, y0, r - l, y1 - y0);
    cairo_pattern_t* face = cairo_pattern_create_linear(l, 0, r, 0);
    double bright = down ? 0.10 : 0.34, dim = down ? 0.05 : 0.16;
    if (pressed) {
      bright *= 0.6;
      dim *= 0.6;
    }
    // A raised half is lit toward the middle ridge; a pushed-down one is flat.
    double atLeft = side == 0 ? (down ? bright : dim) : bright;
    double atRight = side == 0 ? bright : (down ? bright : dim);
    cairo_pattern_add_color_stop_rgb(face, 0.0, atLeft, atLeft, atLeft * 0.97);
    cairo_pattern_add_color_stop_rgb(face, 1.0, atRight, atRight, atRight * 0.97);
    cairo_set_source(cr, face);
    cairo_fill(cr);
    cairo_pattern_destroy(face);
    double sx = (l + r) / 2, sy = (y0 + y1) / 2;
    setColour(cr, kLabelInk, 0.9);
    cairo_set_line_width(cr, 2);
    if (side == 0) {
      cairo_arc(cr, sx, sy, 4.5, 0, 2 * kPi);
    } else {
      cairo_move_to(cr, sx, sy - 5);
      cairo_line_to(cr, sx, sy + 5);
    }
    cairo_stroke(cr);
  }
  cairo_move_to(cr, mid, y0);  // the ridge between the halves
  cairo_line_to(cr, mid, y1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.9);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  if (pressed) {
    // The bezel's walls shade the sunken rocker, the upper one most.
    cairo_rectangle(cr, kRockerLeft, oy + kRockerTop, kRockerRight - kRockerLeft, 4.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_fill(cr);
    roundedRect(cr, kRockerLeft + 1.5, oy + kRockerTop + 1.5, kRockerRight - kRockerLeft - 3,
                kRockerBottom - kRockerTop - 3, 3);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
  lamp(cr, kPowerLampX, oy + kPowerLampY, 9, kRedLamp, on);
}

}  // namespace pictures
