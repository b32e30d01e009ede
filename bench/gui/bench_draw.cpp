// Cost of redrawing one 87 × 161 strip control into the frame's back buffer:
// the part of the background picture under it, then one frame of its strip.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/platform/platform_drawing.h"
#include "gui/platform/platform_picture.h"

namespace {

constexpr long kControlWidth = 87;
constexpr long kControlHeight = 161;
constexpr long kFrames = 31;
constexpr long kBackWidth = 560;  // about the editor's size
constexpr long kBackHeight = 320;
constexpr long kStripPicture = 49001;
constexpr long kBackgroundPicture = 49002;

// A picture with varied, partly transparent pixels, encoded as PNG the way
// the editor's pictures are shipped.
std::vector<unsigned char> makePicture(long width, long height, bool translucent) {
  PlatformSurface* surface = platformSurfaceCreate(width, height);
  platformSurfaceBeginAccess(surface);
  unsigned char* data = platformSurfaceData(surface);
  long stride = platformSurfaceStride(surface);
  uint32_t seed = 12345;
  for (long y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (long x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      uint32_t a = translucent ? ((x + y) % 3 == 0 ? 0u : ((x * 7 + y) % 2 ? 255u : 128u)) : 255u;
      uint32_t r = (seed >> 8) & 255, g = (seed >> 16) & 255, b = (seed >> 24) & 255;
      row[x] = (a << 24) | ((r * a / 255) << 16) | ((g * a / 255) << 8) | (b * a / 255);
    }
  }
  platformSurfaceEndAccess(surface);
  std::vector<unsigned char> png;
  platformSurfaceEncodePNG(surface, png);
  platformSurfaceRelease(surface);
  return png;
}

struct Scene {
  std::vector<unsigned char> stripBytes = makePicture(kControlWidth, kControlHeight * kFrames, true);
  std::vector<unsigned char> backgroundBytes = makePicture(kBackWidth, kBackHeight, false);
  PlatformSurface* backBuffer = platformSurfaceCreate(kBackWidth, kBackHeight);
  CBitmap* strip;
  CBitmap* background;
  CDrawContext* context;

  Scene() {
    registerBuiltinPicture(kStripPicture, stripBytes.data(), stripBytes.size());
    registerBuiltinPicture(kBackgroundPicture, backgroundBytes.data(), backgroundBytes.size());
    strip = new CBitmap(kStripPicture);
    background = new CBitmap(kBackgroundPicture);
    context = new CDrawContext(nullptr, backBuffer);
  }
  ~Scene() {
    context->forget();
    strip->forget();
    background->forget();
    platformSurfaceRelease(backBuffer);
    unregisterBuiltinPicture(kStripPicture);
    unregisterBuiltinPicture(kBackgroundPicture);
  }
};

// One frame of the strip, nothing else.
void BM_StripFrame(benchmark::State& state) {
  Scene scene;
  CRect dest(200, 80, 200 + kControlWidth, 80 + kControlHeight);
  long frame = 0;
  for (auto _ : state) {
    scene.strip->draw(scene.context, dest, CPoint(0, frame * kControlHeight));
    frame = (frame + 1) % kFrames;
  }
  scene.context->synchronize();
}
BENCHMARK(BM_StripFrame);

// What a dirty knob costs at idle: clip to the control, the background
// under it, the strip frame over it, then the flush.
void BM_StripControlRedraw(benchmark::State& state) {
  Scene scene;
  CRect dest(200, 80, 200 + kControlWidth, 80 + kControlHeight);
  CRect whole(0, 0, kBackWidth, kBackHeight);
  long frame = 0;
  for (auto _ : state) {
    scene.context->setClipRect(dest);
    scene.background->draw(scene.context, whole, CPoint(0, 0));
    scene.strip->drawTransparent(scene.context, dest, CPoint(0, frame * kControlHeight));
    scene.context->synchronize();
    scene.context->resetClipRect();
    frame = (frame + 1) % kFrames;
  }
}
BENCHMARK(BM_StripControlRedraw);

}  // namespace
