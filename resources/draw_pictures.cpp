// Draws the editor's pictures, bmp10000.png to bmp10007.png, into the
// directory named on the command line:
//   junkyard-draw-pictures <directory>
//
// Everything is drawn with cairo: a battered sheet-metal panel, its knobs,
// switches and labels, and the about box. Wear and scratches come from our
// own seeded generator, so the same program always writes the same files.
//
// The controls are drawn opaque over the panel, so every frame of a control's
// strip starts as the panel's own pixels under that control; the moving part
// is drawn on top. The strips therefore line up with the panel seamlessly.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "picture_layout.h"
#include "picture_parts.h"

namespace {

using namespace pictures;

// A strip of `frames` frames of the panel under `box`, each then finished by
// `drawFrame(cr, frameTop, index)`.
template <typename Draw>
cairo_surface_t* drawStrip(cairo_surface_t* panel, const Box& box, int frames, Draw drawFrame) {
  int w = box.width(), h = box.height();
  cairo_surface_t* strip = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h * frames);
  cairo_t* cr = cairo_create(strip);
  for (int k = 0; k < frames; ++k) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, k * h, w, h);
    cairo_clip(cr);
    cairo_set_source_surface(cr, panel, -box.left, k * h - box.top);
    cairo_paint(cr);
    drawFrame(cr, static_cast<double>(k * h), k);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  return strip;
}

// Writes and releases the surface.
bool save(cairo_surface_t* surface, const std::string& directory, int id) {
  char name[32];
  std::snprintf(name, sizeof name, "/bmp%05d.png", id);
  std::string path = directory + name;
  cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "junkyard-draw-pictures: cannot write %s: %s\n", path.c_str(),
                 cairo_status_to_string(status));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
    return 2;
  }
  std::string directory = argv[1];
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) {
    std::fprintf(stderr, "junkyard-draw-pictures: cannot create %s: %s\n", directory.c_str(),
                 error.message().c_str());
    return 1;
  }
  cairo_surface_t* panel = drawPanel();
  bool ok = true;

  for (int i = 0; i < 4; ++i) {
    auto knobFrame = [](cairo_t* cr, double top, int k) {
      double degrees = kKnobMinDegrees - kKnobSweepDegrees * k / (kKnobFrames - 1);
      drawKnob(cr, kKnobCentreX, top + kKnobCentreY, degrees);
    };
    ok = save(drawStrip(panel, kKnobBoxes[i], kKnobFrames, knobFrame), directory, 10001 + i) && ok;
  }
  // Selector: "MIC" for value 0, "LINE" otherwise.
  auto selectorFrame = [](cairo_t* cr, double top, int k) { drawSelector(cr, top, k != 0); };
  ok = save(drawStrip(panel, kSelectorBox, 2, selectorFrame), directory, 10005) && ok;
  // Power: off, on, off pressed, on pressed.
  auto powerFrame = [](cairo_t* cr, double top, int k) {
    drawPowerSwitch(cr, top, k % 2 == 1, k >= 2);
  };
  ok = save(drawStrip(panel, kPowerBox, 4, powerFrame), directory, 10006) && ok;
  ok = save(drawAboutBox(), directory, 10007) && ok;
  ok = save(panel, directory, 10000) && ok;
  // Hand back the font caches, so that leak checkers see a clean exit.
  cairo_debug_reset_static_data();
  FcFini();
  return ok ? 0 : 1;
}
