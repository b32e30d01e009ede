// The editor's pictures, piece by piece. Each strip frame starts as the panel
// under its control; these draw what moves on top of it.
#pragma once

#include <cairo.h>

namespace pictures {

// The whole panel, 500 × 400, with every fixed label, scale and bezel.
cairo_surface_t* drawPanel();
// A knob whose pointer points `degrees` counter-clockwise from the positive
// x axis, centred at (cx, cy).
void drawKnob(cairo_t* cr, double cx, double cy, double degrees);
// The input selector's frame whose top is at `top`: handle and lamps on
// "MIC" or on "LINE".
void drawSelector(cairo_t* cr, double top, bool line);
// The power switch's frame whose top is at `top`.
void drawPowerSwitch(cairo_t* cr, double top, bool on, bool pressed);
// The about box, 500 × 377.
cairo_surface_t* drawAboutBox();

}  // namespace pictures
