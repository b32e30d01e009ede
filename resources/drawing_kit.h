// The drawing kit shared by the editor's pictures: colours, seeded
// randomness, the worn-metal texture, engraved letters and the small
// hardware (rivets, lamps, recesses) the panel and the about box are made of.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

namespace pictures {

constexpr double kPi = 3.14159265358979323846;

// --- colours ----------------------------------------------------------------

struct Rgb {
  double r, g, b;  // 0..1
};

constexpr Rgb rgb(int r, int g, int b) { return Rgb{r / 255.0, g / 255.0, b / 255.0}; }

constexpr Rgb kPaint = rgb(82, 104, 92);        // faded green-grey enamel
constexpr Rgb kSteel = rgb(124, 123, 116);      // bare metal under the chips
constexpr Rgb kRust = rgb(118, 62, 30);
constexpr Rgb kLabelInk = rgb(236, 228, 204);   // paint-filled engraving
constexpr Rgb kAboutEnamel = rgb(214, 204, 172);
constexpr Rgb kDarkInk = rgb(34, 32, 28);

inline void setColour(cairo_t* cr, Rgb c, double alpha = 1.0) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

inline Rgb mix(Rgb a, Rgb b, double t) {
  return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline Rgb scale(Rgb c, double f) { return Rgb{c.r * f, c.g * f, c.b * f}; }

// --- deterministic randomness -------------------------------------------------

inline uint64_t splitmix(uint64_t z) {
  z += 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// A seeded generator. Draw at most one number per expression: compilers
// evaluate operands in different orders, and the pictures must not change
// with the compiler.
class Random {
 public:
  explicit Random(uint64_t seed) : state(seed) {}
  double uniform() {
    state = splitmix(state);
    return static_cast<double>(state >> 11) * (1.0 / 9007199254740992.0);
  }
  double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

 private:
  uint64_t state;
};

// --- the worn metal texture ---------------------------------------------------

struct Wear {
  Rgb paint;
  uint64_t seed;
  double chipThreshold;  // higher: fewer chips
  double edgeChips;      // extra chipping near the sheet's edges
};

// Enamel over steel: mottled, chipped to bare metal (rusting in places),
// chipped most where hands and tools knock the edges.
void paintWornMetal(cairo_surface_t* surface, const Wear& wear);
// Fine scratches at random inside (x0, y0)-(x1, y1).
void scratches(cairo_t* cr, Random& random, int count, double x0, double y0, double x1, double y1);

// --- small parts ----------------------------------------------------------------

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void rivet(cairo_t* cr, double x, double y, double r, double rustiness);
// A dent knocked into the sheet: its far wall catches the light.
void dent(cairo_t* cr, double x, double y, double r);
// Rust that ran down the panel from a rivet in the rain.
void rustStreak(cairo_t* cr, Random& random, double x, double y);
// A slot punched through the sheet, its far wall lit from the upper left.
void recess(cairo_t* cr, double x, double y, double w, double h, double r);
void chromeRing(cairo_t* cr, double x, double y, double outer, double inner);
// A pilot lamp's glass, dark or lit.
void lamp(cairo_t* cr, double x, double y, double r, Rgb lit, bool on);

// --- letters ----------------------------------------------------------------------

void selectFont(cairo_t* cr, bool bold, double size, const char* family = "DejaVu Sans");
// Width of `text` set with `spacing` extra pixels between letters.
double spacedWidth(cairo_t* cr, const std::string& text, double spacing);
// Adds the letters' outlines to the current path.
void spacedPath(cairo_t* cr, const std::string& text, double x, double baseline, double spacing);
enum class Align { left, centre, right };

// Letters cut into the metal and filled with paint.
void engrave(cairo_t* cr, const std::string& text, double x, double baseline, double spacing,
             Align align, Rgb ink);

}  // namespace pictures
