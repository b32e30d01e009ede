#include "gui_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace guitest {

Surface::Surface(long width, long height, CColor background) : w(width), h(height) {
  surface = platformSurfaceCreate(width, height);
  if (!surface) throw std::runtime_error("no surface");
  PlatformContext* c = platformContextCreate(surface);
  platformSetFillColor(c, PlatformColor{background.red, background.green, background.blue, background.alpha});
  platformRectangle(c, 0, 0, static_cast<double>(width), static_cast<double>(height));
  platformFill(c);
  platformContextDestroy(c);
}

Surface::~Surface() { platformSurfaceRelease(surface); }

CColor Surface::pixel(long x, long y) const {
  PlatformColor c = platformSurfaceGetPixel(surface, x, y);
  return CColor{c.red, c.green, c.blue, c.alpha};
}

void Image::fillRows(long top, long bottom, CColor c) {
  for (long y = top; y < bottom; ++y)
    for (long x = 0; x < width; ++x) at(x, y) = c;
}

std::vector<unsigned char> encodePng(const Image& image) {
  PlatformSurface* s = platformSurfaceCreate(image.width, image.height);
  PlatformContext* c = platformContextCreate(s);
  for (long y = 0; y < image.height; ++y)
    for (long x = 0; x < image.width; ++x) {
      const CColor& p = image.pixels[y * image.width + x];
      platformSetPixel(c, x, y, PlatformColor{p.red, p.green, p.blue, p.alpha});
    }
  platformContextDestroy(c);
  std::vector<unsigned char> out;
  platformSurfaceEncodePNG(s, out);
  platformSurfaceRelease(s);
  return out;
}

namespace {
void put16(std::vector<unsigned char>& v, unsigned value) {
  v.push_back(value & 255);
  v.push_back((value >> 8) & 255);
}
void put32(std::vector<unsigned char>& v, unsigned long value) {
  for (int i = 0; i < 4; ++i) v.push_back((value >> (8 * i)) & 255);
}
void putBig16(std::vector<unsigned char>& v, unsigned value) {
  v.push_back((value >> 8) & 255);
  v.push_back(value & 255);
}
}  // namespace

std::vector<unsigned char> encodeBmp(const Image& image) {
  long rowBytes = (image.width * 3 + 3) / 4 * 4;
  unsigned long dataSize = rowBytes * image.height;
  std::vector<unsigned char> v;
  v.push_back('B');
  v.push_back('M');
  put32(v, 54 + dataSize);
  put32(v, 0);
  put32(v, 54);
  put32(v, 40);
  put32(v, image.width);
  put32(v, image.height);  // positive: rows stored bottom-up
  put16(v, 1);
  put16(v, 24);
  put32(v, 0);
  put32(v, dataSize);
  put32(v, 2835);
  put32(v, 2835);
  put32(v, 0);
  put32(v, 0);
  for (long y = image.height - 1; y >= 0; --y) {
    long written = 0;
    for (long x = 0; x < image.width; ++x) {
      const CColor& p = image.pixels[y * image.width + x];
      v.push_back(p.blue);
      v.push_back(p.green);
      v.push_back(p.red);
      written += 3;
    }
    for (; written < rowBytes; ++written) v.push_back(0);
  }
  return v;
}

std::vector<unsigned char> encodeGreyJpeg(long width, long height, unsigned char grey) {
  // One 8 × 8 block whose only coefficient is DC; quantisation 1 everywhere;
  // Huffman tables with a single one-bit code each.
  int diff = 8 * (static_cast<int>(grey) - 128);
  int magnitude = diff < 0 ? -diff : diff;
  int category = 0;
  while ((1 << category) <= magnitude) ++category;
  unsigned bitsValue = diff >= 0 ? static_cast<unsigned>(diff)
                                 : static_cast<unsigned>(diff + (1 << category) - 1);
  std::vector<unsigned char> v = {0xFF, 0xD8};
  v.insert(v.end(), {0xFF, 0xDB});
  putBig16(v, 67);
  v.push_back(0);
  for (int i = 0; i < 64; ++i) v.push_back(1);
  v.insert(v.end(), {0xFF, 0xC0});
  putBig16(v, 11);
  v.push_back(8);
  putBig16(v, static_cast<unsigned>(height));
  putBig16(v, static_cast<unsigned>(width));
  v.insert(v.end(), {1, 1, 0x11, 0});
  for (int table = 0; table < 2; ++table) {
    v.insert(v.end(), {0xFF, 0xC4});
    putBig16(v, 20);
    v.push_back(table == 0 ? 0x00 : 0x10);
    v.push_back(1);
    for (int i = 1; i < 16; ++i) v.push_back(0);
    v.push_back(table == 0 ? static_cast<unsigned char>(category) : 0x00);
  }
  v.insert(v.end(), {0xFF, 0xDA});
  putBig16(v, 8);
  v.insert(v.end(), {1, 1, 0x00, 0, 63, 0});
  std::vector<int> bits = {0};
  for (int i = category - 1; i >= 0; --i) bits.push_back((bitsValue >> i) & 1);
  bits.push_back(0);  // end of block
  while (bits.size() % 8) bits.push_back(1);
  for (size_t i = 0; i < bits.size(); i += 8) {
    unsigned char byte = 0;
    for (int b = 0; b < 8; ++b) byte = static_cast<unsigned char>((byte << 1) | bits[i + b]);
    v.push_back(byte);
    if (byte == 0xFF) v.push_back(0);
  }
  v.insert(v.end(), {0xFF, 0xD9});
  return v;
}

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

TempDir::TempDir() {
  char pattern[] = "/tmp/junkyard-gui-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
  dir = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

bool near(CColor a, CColor b, int tolerance) {
  auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
  return close(a.red, b.red) && close(a.green, b.green) && close(a.blue, b.blue) &&
         close(a.alpha, b.alpha);
}

std::string describe(CColor c) {
  char text[48];
  std::snprintf(text, sizeof text, "(%d, %d, %d, %d)", c.red, c.green, c.blue, c.alpha);
  return text;
}

}  // namespace guitest

// fontconfig keeps its configuration caches for the life of the process in a
// form the leak checker reports once the first text is drawn; they are not ours.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
