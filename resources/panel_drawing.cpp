// The panel: worn enamel on riveted sheet metal, with the engraved labels and
// scales, the fixed bezels of the switches, the name plate and the about
// badge. The controls' strips are cut out of this picture.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "drawing_kit.h"
#include "picture_layout.h"
#include "picture_parts.h"

namespace pictures {
namespace {

void panelEdges(cairo_t* cr) {
  // The sheet is folded back at its edges: a bright top and left lip, a dark
  // bottom and right one.
  const double w = kPanelWidth, h = kPanelHeight;
  cairo_set_line_width(cr, 2);
  cairo_set_source_rgba(cr, 1, 1, 0.95, 0.35);
  cairo_move_to(cr, 1, h - 1);
  cairo_line_to(cr, 1, 1);
  cairo_line_to(cr, w - 1, 1);
  cairo_stroke(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_move_to(cr, w - 1, 1);
  cairo_line_to(cr, w - 1, h - 1);
  cairo_line_to(cr, 1, h - 1);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
  cairo_rectangle(cr, 6.5, 6.5, w - 13, h - 13);
  cairo_stroke(cr);
  cairo_set_source_rgba(cr, 1, 1, 0.95, 0.18);
  cairo_rectangle(cr, 7.5, 7.5, w - 13, h - 13);
  cairo_stroke(cr);
}

void louvres(cairo_t* cr, double x, double y, double w) {
  for (int i = 0; i < 4; ++i) recess(cr, x, y + i * 13, w, 6, 3);
}

void knobScale(cairo_t* cr, double cx, double cy) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i <= 10; ++i) {
    double degrees = kKnobMinDegrees - kKnobSweepDegrees * i / 10.0;
    double a = degrees * kPi / 180.0;
    bool major = i % 5 == 0;
    double r0 = 34, r1 = major ? 41 : 38;
    double c = std::cos(a), s = -std::sin(a);
    for (int pass = 0; pass < 2; ++pass) {
      double d = pass == 0 ? -0.6 : 0;
      cairo_move_to(cr, cx + c * r0 + d, cy + s * r0 + d);
      cairo_line_to(cr, cx + c * r1 + d, cy + s * r1 + d);
      if (pass == 0)
        cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
      else
        setColour(cr, kLabelInk);
      cairo_set_line_width(cr, major ? 2.2 : 1.4);
      cairo_stroke(cr);
    }
  }
  selectFont(cr, true, 9);
  double r = 44;
  double a0 = kKnobMinDegrees * kPi / 180.0, a1 = (kKnobMinDegrees - kKnobSweepDegrees) * kPi / 180.0;
  engrave(cr, "0", cx + std::cos(a0) * r - 3, cy - std::sin(a0) * r + 9, 0, Align::centre, kLabelInk);
  engrave(cr, "10", cx + std::cos(a1) * r + 3, cy - std::sin(a1) * r + 9, 0, Align::centre, kLabelInk);
}

void selectorPlate(cairo_t* cr) {
  double ox = kSelectorBox.left, oy = kSelectorBox.top;
  selectFont(cr, true, 10.5);
  engrave(cr, "INPUT", ox + kSelectorBox.width() / 2.0, oy + 17, 2.0, Align::centre, kLabelInk);
  recess(cr, ox + kSlotLeft, oy + kSlotTop, kSlotRight - kSlotLeft, kSlotBottom - kSlotTop, 4);
  selectFont(cr, true, 12);
  engrave(cr, "MIC", ox + kSlotLeft - 8, oy + 42, 1.0, Align::right, kLabelInk);
  engrave(cr, "LINE", ox + kSlotRight + 8, oy + 42, 1.0, Align::left, kLabelInk);
  chromeRing(cr, ox + kMicLampX, oy + kLampY, 7, 4.5);
  chromeRing(cr, ox + kLineLampX, oy + kLampY, 7, 4.5);
}

void powerPlate(cairo_t* cr) {
  double ox = kPowerBox.left, oy = kPowerBox.top;
  selectFont(cr, true, 10.5);
  engrave(cr, "POWER", ox - 8, oy + 19, 1.5, Align::right, kLabelInk);
  // The rocker's bezel.
  roundedRect(cr, ox + kRockerLeft - 1, oy + kRockerTop - 1, kRockerRight - kRockerLeft + 2,
              kRockerBottom - kRockerTop + 2, 4);
  cairo_set_source_rgba(cr, 1, 1, 0.95, 0.25);
  cairo_fill(cr);
  roundedRect(cr, ox + kRockerLeft, oy + kRockerTop, kRockerRight - kRockerLeft,
              kRockerBottom - kRockerTop, 3.5);
  cairo_set_source_rgb(cr, 0.07, 0.07, 0.07);
  cairo_fill(cr);
  chromeRing(cr, ox + kPowerLampX, oy + kPowerLampY, 13, 9);
}

void namePlate(cairo_t* cr, Random& random) {
  const double x = 24, y = 310, w = 318, h = 70;
  cairo_save(cr);
  cairo_translate(cr, 2, 3);
  roundedRect(cr, x, y, w, h, 5);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_fill(cr);
  cairo_restore(cr);
  roundedRect(cr, x, y, w, h, 5);
  cairo_pattern_t* brushed = cairo_pattern_create_linear(x, y, x + w * 0.3, y + h * 1.6);
  cairo_pattern_add_color_stop_rgb(brushed, 0.0, 0.80, 0.79, 0.74);
  cairo_pattern_add_color_stop_rgb(brushed, 0.55, 0.64, 0.63, 0.59);
  cairo_pattern_add_color_stop_rgb(brushed, 1.0, 0.50, 0.49, 0.46);
  cairo_set_source(cr, brushed);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(brushed);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Brushing marks.
  cairo_save(cr);
  roundedRect(cr, x, y, w, h, 5);
  cairo_clip(cr);
  for (int i = 0; i < 140; ++i) {
    double ly = random.range(y, y + h);
    double lx = random.range(x - 40, x + w);
    cairo_move_to(cr, lx, ly);
    double length = random.range(30, 160);
    double drift = random.range(-0.6, 0.6);
    cairo_line_to(cr, lx + length, ly + drift);
    bool bright = random.uniform() < 0.5;
    cairo_set_source_rgba(cr, bright, bright, bright, random.range(0.04, 0.10));
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  for (double rx : {x + 9, x + w - 9})
    for (double ry : {y + 9, y + h - 9}) rivet(cr, rx, ry, 3.2, random.range(0.0, 0.5));

  // Stamped into the plate: the letters are dark and sunken.
  cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 33);
  engrave(cr, "Junkyard Reverb", x + w / 2, y + 40, 0.5, Align::centre, kDarkInk);
  selectFont(cr, true, 9.5);
  engrave(cr, "MIREFIELD AUDIO", x + w / 2, y + 59, 3.0, Align::centre, rgb(60, 56, 50));
}

// A perforated grille over the echo tank.
void grille(cairo_t* cr, double x, double y, double w, double h) {
  roundedRect(cr, x - 3, y - 3, w + 6, h + 6, 4);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  for (int row = 0; row * 8.0 <= h - 4; ++row)
    for (int col = 0; col * 8.0 + (row % 2) * 4.0 <= w - 4; ++col) {
      double hx = x + 2 + col * 8.0 + (row % 2) * 4.0, hy = y + 2 + row * 8.0;
      cairo_arc(cr, hx + 0.6, hy + 0.6, 2.6, 0, 2 * kPi);
      cairo_set_source_rgba(cr, 1, 1, 0.95, 0.25);
      cairo_fill(cr);
      cairo_arc(cr, hx, hy, 2.5, 0, 2 * kPi);
      cairo_set_source_rgb(cr, 0.04, 0.04, 0.04);
      cairo_fill(cr);
    }
}

void aboutBadge(cairo_t* cr) {
  const Box& b = kAboutSpot;
  roundedRect(cr, b.left + 1, b.top + 1.5, b.width(), b.height(), 3);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_fill(cr);
  roundedRect(cr, b.left + 0.5, b.top + 0.5, b.width() - 1, b.height() - 1, 3);
  cairo_pattern_t* brass = cairo_pattern_create_linear(0, b.top, 0, b.bottom);
  cairo_pattern_add_color_stop_rgb(brass, 0.0, 0.93, 0.80, 0.45);
  cairo_pattern_add_color_stop_rgb(brass, 1.0, 0.62, 0.47, 0.18);
  cairo_set_source(cr, brass);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(brass);
  cairo_set_source_rgba(cr, 0.25, 0.17, 0.05, 0.9);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  selectFont(cr, true, 8);
  spacedPath(cr, "ABOUT", b.left + (b.width() - spacedWidth(cr, "ABOUT", 0.5)) / 2, b.top + 10.5, 0.5);
  cairo_set_source_rgb(cr, 0.22, 0.14, 0.04);
  cairo_fill(cr);
}

}  // namespace

cairo_surface_t* drawPanel() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPanelWidth, kPanelHeight);
  paintWornMetal(surface, Wear{kPaint, 1001, 0.72, 0.38});
  cairo_t* cr = cairo_create(surface);
  Random random(424242);

  panelEdges(cr);
  louvres(cr, 22, 22, 84);
  louvres(cr, 394, 22, 84);
  grille(cr, 368, 318, 100, 50);

  // Rivets along the edges, clear of the selector at the top.
  std::vector<std::pair<double, double>> rivets;
  for (double x : {14.0, 486.0})
    for (double y = 14; y < kPanelHeight - 10; y += 62) rivets.emplace_back(x, y);
  for (double x = 76; x < 440; x += 62) rivets.emplace_back(x, kPanelHeight - 10);
  for (auto [x, y] : rivets) {
    if (random.uniform() < 0.55) rustStreak(cr, random, x, y + 2);
  }
  for (auto [x, y] : rivets) rivet(cr, x, y, 3.6, random.range(0.0, 0.8));

  dent(cr, 168, 92, 16);
  dent(cr, 452, 250, 11);
  dent(cr, 30, 300, 13);
  scratches(cr, random, 110, 0, 0, kPanelWidth, kPanelHeight);

  for (int i = 0; i < 4; ++i) {
    const Box& b = kKnobBoxes[i];
    double cx = b.left + kKnobCentreX, cy = b.top + kKnobCentreY;
    knobScale(cr, cx, cy);
    selectFont(cr, true, 10.5);
    engrave(cr, kKnobLabels[i], cx, b.top + kKnobLabelBaseline, 1.2, Align::centre, kLabelInk);
  }
  selectorPlate(cr);
  powerPlate(cr);
  namePlate(cr, random);
  aboutBadge(cr);

  // A few fresh scratches across everything, labels included.
  scratches(cr, random, 25, 0, 0, kPanelWidth, kPanelHeight);
  cairo_destroy(cr);
  return surface;
}

}  // namespace pictures
