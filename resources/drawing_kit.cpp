// The drawing kit: see drawing_kit.h.
#include "drawing_kit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace pictures {
namespace {

double lattice(int64_t x, int64_t y, uint64_t seed) {
  uint64_t h = splitmix(seed ^ splitmix(static_cast<uint64_t>(x) * 0x632BE59BD9B4E019ull ^
                                        static_cast<uint64_t>(y) * 0x85157AF5ull));
  return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

// Smooth value noise in 0..1.
double valueNoise(double x, double y, uint64_t seed) {
  double fx = std::floor(x), fy = std::floor(y);
  auto ix = static_cast<int64_t>(fx), iy = static_cast<int64_t>(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
  double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Several octaves of value noise, still 0..1 (mostly near the middle).
double fractalNoise(double x, double y, uint64_t seed, int octaves) {
  double sum = 0, amplitude = 0.5, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * valueNoise(x, y, seed + static_cast<uint64_t>(i) * 101);
    total += amplitude;
    x *= 2.03;
    y *= 2.03;
    amplitude *= 0.5;
  }
  return sum / total;
}

uint32_t packPixel(Rgb c) {
  auto channel = [](double v) {
    return static_cast<uint32_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5);
  };
  return (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

}  // namespace

void paintWornMetal(cairo_surface_t* surface, const Wear& wear) {
  cairo_surface_flush(surface);
  int w = cairo_image_surface_get_width(surface);
  int h = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      double grain = lattice(x, y, wear.seed + 7) - 0.5;
      double mottle = fractalNoise(x / 70.0, y / 70.0, wear.seed + 1, 4) - 0.5;
      double edgeDistance = std::min({x, y, w - 1 - x, h - 1 - y}) * 1.0;
      double chipField = fractalNoise(x / 16.0, y / 16.0, wear.seed + 2, 5) +
                         wear.edgeChips * std::exp(-edgeDistance / 9.0);
      double grime = 1.0 - 0.10 * y / h - 0.12 * std::exp(-edgeDistance / 25.0);

      // The enamel is smooth: grain there would be invisible yet cost the
      // compressed pictures (and the plug-in's size) a third more.
      Rgb c = scale(wear.paint, (1.0 + 0.16 * mottle) * grime);
      double t = wear.chipThreshold;
      if (chipField > t) {
        // Bare metal, brushed along x, rusting where a second field says so.
        double brush = valueNoise(x / 45.0, y / 1.3, wear.seed + 3) - 0.5;
        Rgb metal = scale(kSteel, 1.0 + 0.18 * brush + grain * 0.12);
        double rust = fractalNoise(x / 7.0, y / 7.0, wear.seed + 4, 4);
        double rustAmount = std::clamp((rust - 0.44) * 4.0, 0.0, 0.85);
        c = mix(metal, scale(kRust, 0.85 + 0.4 * (rust - 0.5) + grain * 0.2), rustAmount);
        // A lighter lip where the enamel broke away.
        if (chipField < t + 0.010) c = mix(c, Rgb{0.80, 0.80, 0.75}, 0.22);
      } else if (chipField > t - 0.018) {
        // The lifted paint edge throws a small shadow.
        c = scale(c, 0.62 + 0.25 * (t - chipField) / 0.018);
      }
      row[x] = packPixel(c);
    }
  }
  cairo_surface_mark_dirty(surface);
}

namespace {

void scratch(cairo_t* cr, Random& random, double x0, double y0, double x1, double y1) {
  double length = random.range(8, 70);
  double angle = random.range(0, 2 * kPi);
  // Most scratches run roughly along the panel, the way things slide over it.
  // (One draw per statement: the order in which a compiler evaluates the
  // operands must not change the picture.)
  if (random.uniform() < 0.6) {
    angle = random.range(-0.35, 0.35);
    if (random.uniform() < 0.5) angle += kPi;
  }
  double x = random.range(x0, x1), y = random.range(y0, y1);
  double dx = std::cos(angle) * length, dy = std::sin(angle) * length;
  double bend = random.range(-6, 6);
  double width = random.range(0.5, 1.3);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int pass = 0; pass < 2; ++pass) {
    double offset = pass == 0 ? 0.9 : 0.0;
    cairo_move_to(cr, x + offset, y + offset);
    cairo_curve_to(cr, x + dx / 3 - dy / length * bend + offset, y + dy / 3 + dx / length * bend + offset,
                   x + 2 * dx / 3 - dy / length * bend + offset,
                   y + 2 * dy / 3 + dx / length * bend + offset, x + dx + offset, y + dy + offset);
    if (pass == 0)
      cairo_set_source_rgba(cr, 0, 0, 0, random.range(0.10, 0.22));
    else
      cairo_set_source_rgba(cr, 0.9, 0.9, 0.86, random.range(0.12, 0.32));
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
  }
}

}  // namespace

void scratches(cairo_t* cr, Random& random, int count, double x0, double y0, double x1, double y1) {
  for (int i = 0; i < count; ++i) scratch(cr, random, x0, y0, x1, y1);
}

// --- small parts ----------------------------------------------------------------

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void rivet(cairo_t* cr, double x, double y, double r, double rustiness) {
  cairo_pattern_t* shadow = cairo_pattern_create_radial(x + 1.2, y + 1.6, 0, x + 1.2, y + 1.6, r + 2.5);
  cairo_pattern_add_color_stop_rgba(shadow, 0.0, 0, 0, 0, 0.65);
  cairo_pattern_add_color_stop_rgba(shadow, 1.0, 0, 0, 0, 0.0);
  cairo_set_source(cr, shadow);
  cairo_arc(cr, x + 1.2, y + 1.6, r + 2.5, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(shadow);

  cairo_pattern_t* dome = cairo_pattern_create_radial(x - r * 0.4, y - r * 0.45, 0, x, y, r);
  Rgb light = mix(rgb(222, 220, 210), rgb(190, 120, 70), rustiness);
  Rgb dark = mix(rgb(72, 72, 68), rgb(80, 40, 20), rustiness);
  cairo_pattern_add_color_stop_rgb(dome, 0.0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(dome, 1.0, dark.r, dark.g, dark.b);
  cairo_set_source(cr, dome);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(dome);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
  cairo_set_line_width(cr, 0.7);
  cairo_stroke(cr);
}

// A dent knocked into the sheet: its far wall catches the light.
void dent(cairo_t* cr, double x, double y, double r) {
  cairo_pattern_t* shade = cairo_pattern_create_linear(x - r, y - r, x + r, y + r);
  cairo_pattern_add_color_stop_rgba(shade, 0.0, 0, 0, 0, 0.28);
  cairo_pattern_add_color_stop_rgba(shade, 0.5, 0, 0, 0, 0.0);
  cairo_pattern_add_color_stop_rgba(shade, 1.0, 1, 1, 0.95, 0.22);
  cairo_pattern_t* falloff = cairo_pattern_create_radial(x, y, r * 0.5, x, y, r);
  cairo_pattern_add_color_stop_rgba(falloff, 0.0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(falloff, 1.0, 0, 0, 0, 0);
  cairo_set_source(cr, shade);
  cairo_mask(cr, falloff);
  cairo_pattern_destroy(falloff);
  cairo_pattern_destroy(shade);
}

// Rust that ran down the panel from a rivet in the rain.
void rustStreak(cairo_t* cr, Random& random, double x, double y) {
  int strands = 3 + static_cast<int>(random.uniform() * 3);
  for (int i = 0; i < strands; ++i) {
    double sx = x + random.range(-2.5, 2.5);
    double length = random.range(10, 34);
    cairo_pattern_t* run = cairo_pattern_create_linear(sx, y, sx, y + length);
    cairo_pattern_add_color_stop_rgba(run, 0.0, kRust.r, kRust.g, kRust.b, random.range(0.35, 0.6));
    cairo_pattern_add_color_stop_rgba(run, 1.0, kRust.r, kRust.g, kRust.b, 0.0);
    cairo_set_source(cr, run);
    cairo_set_line_width(cr, random.range(0.8, 2.2));
    cairo_move_to(cr, sx, y);
    cairo_line_to(cr, sx + random.range(-1.5, 1.5), y + length);
    cairo_stroke(cr);
    cairo_pattern_destroy(run);
  }
}

void selectFont(cairo_t* cr, bool bold, double size, const char* family) {
  cairo_select_font_face(cr, family, CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

double spacedWidth(cairo_t* cr, const std::string& text, double spacing) {
  double width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char glyph[2] = {text[i], 0};
    cairo_text_extents_t e;
    cairo_text_extents(cr, glyph, &e);
    width += e.x_advance + (i + 1 < text.size() ? spacing : 0);
  }
  return width;
}

void spacedPath(cairo_t* cr, const std::string& text, double x, double baseline, double spacing) {
  for (char ch : text) {
    char glyph[2] = {ch, 0};
    cairo_text_extents_t e;
    cairo_text_extents(cr, glyph, &e);
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, glyph);
    x += e.x_advance + spacing;
  }
}

// Letters cut into the metal and filled with paint: a dark wall on the upper
// left of each stroke, a bright one on the lower right.
void engrave(cairo_t* cr, const std::string& text, double x, double baseline, double spacing,
             Align align, Rgb ink) {
  double width = spacedWidth(cr, text, spacing);
  if (align == Align::centre) x -= width / 2;
  if (align == Align::right) x -= width;
  struct Pass {
    double dx, dy;
    double r, g, b, a;
  };
  const Pass passes[] = {{0.9, 0.9, 1, 1, 0.95, 0.22}, {-0.7, -0.7, 0, 0, 0, 0.75}};
  for (const Pass& p : passes) {
    spacedPath(cr, text, x + p.dx, baseline + p.dy, spacing);
    cairo_set_source_rgba(cr, p.r, p.g, p.b, p.a);
    cairo_fill(cr);
  }
  spacedPath(cr, text, x, baseline, spacing);
  setColour(cr, ink);
  cairo_fill(cr);
}

// A slot punched through the sheet, its far wall lit from the upper left.
void recess(cairo_t* cr, double x, double y, double w, double h, double r) {
  roundedRect(cr, x - 1, y - 1, w + 2, h + 2, r + 1);
  cairo_set_source_rgba(cr, 1, 1, 0.95, 0.25);
  cairo_fill(cr);
  roundedRect(cr, x, y, w, h, r);
  cairo_pattern_t* depth = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(depth, 0.0, 0.02, 0.02, 0.02);
  cairo_pattern_add_color_stop_rgb(depth, 1.0, 0.13, 0.13, 0.12);
  cairo_set_source(cr, depth);
  cairo_fill(cr);
  cairo_pattern_destroy(depth);
}

void chromeRing(cairo_t* cr, double x, double y, double outer, double inner) {
  cairo_pattern_t* ring = cairo_pattern_create_linear(x - outer, y - outer, x + outer, y + outer);
  cairo_pattern_add_color_stop_rgb(ring, 0.0, 0.95, 0.95, 0.92);
  cairo_pattern_add_color_stop_rgb(ring, 0.5, 0.55, 0.55, 0.53);
  cairo_pattern_add_color_stop_rgb(ring, 1.0, 0.22, 0.22, 0.21);
  cairo_set_source(cr, ring);
  cairo_arc(cr, x, y, outer, 0, 2 * kPi);
  cairo_arc_negative(cr, x, y, inner, 2 * kPi, 0);
  cairo_fill(cr);
  cairo_pattern_destroy(ring);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_set_line_width(cr, 0.8);
  cairo_arc(cr, x, y, outer, 0, 2 * kPi);
  cairo_stroke(cr);
}

// A pilot lamp's glass, dark or lit.
void lamp(cairo_t* cr, double x, double y, double r, Rgb lit, bool on) {
  if (on) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, r, x, y, r + 5);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, lit.r, lit.g, lit.b, 0.45);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, lit.r, lit.g, lit.b, 0.0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, x, y, r + 5, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
  }
  cairo_pattern_t* glass = cairo_pattern_create_radial(x - r * 0.25, y - r * 0.3, 0, x, y, r);
  Rgb core = on ? mix(lit, Rgb{1, 1, 0.85}, 0.45) : scale(lit, 0.38);
  Rgb edge = on ? scale(lit, 0.75) : scale(lit, 0.12);
  cairo_pattern_add_color_stop_rgb(glass, 0.0, core.r, core.g, core.b);
  cairo_pattern_add_color_stop_rgb(glass, 1.0, edge.r, edge.g, edge.b);
  cairo_set_source(cr, glass);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(glass);
  cairo_arc(cr, x - r * 0.35, y - r * 0.4, r * 0.3, 0, 2 * kPi);
  cairo_set_source_rgba(cr, 1, 1, 1, on ? 0.5 : 0.28);
  cairo_fill(cr);
}

}  // namespace pictures
