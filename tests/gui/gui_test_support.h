// Small helpers shared by the toolkit's drawing tests: in-memory surfaces,
// pixel reading and tiny encoded pictures made on the spot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/ccolor.h"
#include "gui/cgeometry.h"
#include "gui/platform/platform_drawing.h"

namespace guitest {

// An owned in-memory surface, cleared to `background`.
class Surface {
 public:
  Surface(long width, long height, CColor background = kBlackCColor);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  PlatformSurface* get() const { return surface; }
  CColor pixel(long x, long y) const;
  long width() const { return w; }
  long height() const { return h; }

 private:
  PlatformSurface* surface = nullptr;
  long w, h;
};

// A picture as rows of colours.
struct Image {
  long width = 0;
  long height = 0;
  std::vector<CColor> pixels;  // row by row

  Image(long w, long h, CColor fill) : width(w), height(h), pixels(w * h, fill) {}
  CColor& at(long x, long y) { return pixels[y * width + x]; }
  void fillRows(long top, long bottom, CColor c);
};

std::vector<unsigned char> encodePng(const Image& image);
// 24-bit uncompressed BMP (no alpha).
std::vector<unsigned char> encodeBmp(const Image& image);
// Baseline grey JPEG of one uniform grey level, at most 8 × 8 pixels.
std::vector<unsigned char> encodeGreyJpeg(long width, long height, unsigned char grey);

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes);

// A fresh directory under /tmp, removed on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return dir; }

 private:
  std::string dir;
};

bool near(CColor a, CColor b, int tolerance = 0);
std::string describe(CColor c);

}  // namespace guitest
