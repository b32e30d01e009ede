// Pictures by number: files beside the plug-in first, compiled-in copies
// otherwise. Decoded once; drawn from cached surfaces.
#include "gui/cbitmap.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

#include "gui/cdrawcontext.h"
#include "gui/platform/platform_drawing.h"
#include "gui/platform/platform_picture.h"
#include "host/plugin_location.h"

namespace {

std::string gResourceDirectoryOverride;
bool gHasResourceDirectoryOverride = false;

// Tried in this order; the first file that exists is the one used.
const char* const kExtensions[] = {"png", "bmp", "jpg", "pict"};

// Coordinates far beyond any screen are refused rather than risking overflow.
constexpr long kCoordinateLimit = 1L << 40;
bool sane(long v) { return v > -kCoordinateLimit && v < kCoordinateLimit; }

bool sameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
      return false;
  return *a == *b;
}

// Pixels of the key colour lose their alpha; the rest stay as they are.
void keyOut(PlatformSurface* surface, CColor key) {
  platformSurfaceBeginAccess(surface);
  unsigned char* data = platformSurfaceData(surface);
  long stride = platformSurfaceStride(surface);
  long w = platformSurfaceWidth(surface), h = platformSurfaceHeight(surface);
  for (long y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (long x = 0; x < w; ++x) {
      uint32_t p = row[x];
      uint32_t a = p >> 24;
      if (a == 0) continue;
      uint32_t r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      if (a != 255) {  // compare the colour, not its premultiplied form
        r = (r * 255 + a / 2) / a;
        g = (g * 255 + a / 2) / a;
        b = (b * 255 + a / 2) / a;
      }
      if (r == key.red && g == key.green && b == key.blue) row[x] = 0;
    }
  }
  platformSurfaceEndAccess(surface);
}

}  // namespace

void CBitmap::setResourceDirectoryOverride(const char* directory) {
  gHasResourceDirectoryOverride = directory != nullptr;
  gResourceDirectoryOverride = directory ? directory : "";
}

CBitmap::CBitmap(long resourceId) : resourceId(resourceId) {
  loadFromResource(resourceId);
  setTransparentColor(kTransparentCColor);
}

CBitmap::CBitmap(CFrame& frame, long width, long height) {
  if (PlatformSurface* empty = platformSurfaceCreate(width, height)) adopt(empty, width, height, true);
}

CBitmap::CBitmap() = default;

CBitmap::~CBitmap() { dispose(); }

void CBitmap::dispose() {
  platformSurfaceRelease(pixels);
  platformSurfaceRelease(cachedImage);
  pixels = nullptr;
  cachedImage = nullptr;
  width = height = 0;
}

void CBitmap::adopt(PlatformSurface* picture, long w, long h, bool noAlphaChannel) {
  dispose();
  noAlpha = noAlphaChannel;
  if (noAlpha)
    pixels = picture;
  else
    cachedImage = picture;
  width = w;
  height = h;
}

bool CBitmap::isLoaded() const { return pixels != nullptr || cachedImage != nullptr; }

PlatformSurface* CBitmap::getHandle() const { return pixels ? pixels : cachedImage; }

bool CBitmap::loadFromResource(long id) {
  dispose();
  resourceId = id;
  const char* directory =
      gHasResourceDirectoryOverride ? gResourceDirectoryOverride.c_str() : junkyardPluginDirectory();
  bool loaded = false;
  if (directory) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp%05ld", id);
    for (const char* extension : kExtensions) {
      std::string path = std::string(directory) + "/resources/" + name + "." + extension;
      std::error_code error;
      if (!std::filesystem::is_regular_file(path, error)) continue;
      // Only the first file found is tried; if it cannot be read, the
      // compiled-in copy stands in.
      loaded = loadFromPath(path.c_str());
      break;
    }
  }
  if (!loaded) loaded = loadBuiltin(id);
  return loaded;
}

namespace {

// Compiled-in pictures decoded once per process: every instance of the
// effect loads its background when it is created, and decoding the PNG each
// time made creating instances (hosts scanning, sessions with many instances)
// slow. Each bitmap still gets its own copy of the pixels.
struct DecodedBuiltin {
  unsigned long registration = 0;
  PlatformPicture picture;
};

std::mutex& decodedBuiltinLock() {
  static std::mutex lock;
  return lock;
}

// Never destroyed: bitmaps may still be created while the process exits.
std::map<long, DecodedBuiltin>& decodedBuiltins() {
  static auto* decoded = new std::map<long, DecodedBuiltin>;
  return *decoded;
}

}  // namespace

bool CBitmap::loadBuiltin(long id) {
  const unsigned char* data = nullptr;
  size_t size = 0;
  unsigned long registration = 0;
  if (!findBuiltinPicture(id, data, size, &registration)) return false;
  std::lock_guard<std::mutex> guard(decodedBuiltinLock());
  DecodedBuiltin& entry = decodedBuiltins()[id];
  // A number registered again is decoded afresh.
  if (!entry.picture.surface || entry.registration != registration) {
    PlatformPicture picture;
    if (!platformDecodePicture(data, size, picture)) return false;
    platformSurfaceRelease(entry.picture.surface);
    entry = DecodedBuiltin{registration, picture};
  }
  PlatformSurface* copy = platformSurfaceCopy(entry.picture.surface);
  if (!copy) return false;
  adopt(copy, entry.picture.width, entry.picture.height,
        entry.picture.format != PlatformPictureFormat::png);
  return true;
}

bool CBitmap::loadFromPath(const void* pathArgument) {
  const char* path = static_cast<const char*>(pathArgument);
  if (!path) return false;
  const char* dot = std::strrchr(path, '.');
  const char* slash = std::strrchr(path, '/');
  if (!dot || (slash && dot < slash)) return false;
  const char* extension = dot + 1;
  bool png = sameIgnoringCase(extension, "png");
  if (!png && !sameIgnoringCase(extension, "bmp") && !sameIgnoringCase(extension, "jpg"))
    return false;  // "pict" included: there is no decoder for it here
  PlatformPicture picture;
  if (!platformLoadPictureFile(path, picture)) return false;
  // A PNG file brings its own alpha; the others get the transparent colour.
  adopt(picture.surface, picture.width, picture.height, !png);
  return true;
}

void CBitmap::setTransparentColor(const CColor color) {
  if (color == transparentColor) return;
  transparentColor = color;
  if (noAlpha && cachedImage) {
    platformSurfaceRelease(cachedImage);
    cachedImage = nullptr;
  }
}

void CBitmap::pixelsChanged() {
  if (noAlpha && cachedImage) {
    platformSurfaceRelease(cachedImage);
    cachedImage = nullptr;
  }
}

PlatformSurface* CBitmap::createCGImage(bool transparent) {
  PlatformSurface* image = nullptr;
  if (!noAlpha) {
    image = cachedImage;
  } else if (!transparent) {
    image = pixels;
  } else if (pixels) {
    // The keyed copy is kept for the colour it was made with.
    if (cachedImage && cachedKey != transparentColor) {
      platformSurfaceRelease(cachedImage);
      cachedImage = nullptr;
    }
    if (!cachedImage) {
      cachedImage = platformSurfaceCopy(pixels);
      if (cachedImage) keyOut(cachedImage, transparentColor);
      cachedKey = transparentColor;
    }
    image = cachedImage;
  }
  platformSurfaceRetain(image);
  return image;
}

void CBitmap::draw(CDrawContext* context, CRect& dest, const CPoint& srcOffset) {
  drawAlphaBlend(context, dest, srcOffset, 255);
}

void CBitmap::drawTransparent(CDrawContext* context, CRect& dest, const CPoint& srcOffset) {
  PlatformSurface* image = createCGImage(true);
  drawImage(context, image, dest, srcOffset, 255);
  platformSurfaceRelease(image);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, CRect& dest, const CPoint& srcOffset,
                             unsigned char alpha) {
  PlatformSurface* image = createCGImage(false);
  drawImage(context, image, dest, srcOffset, alpha);
  platformSurfaceRelease(image);
}

void CBitmap::drawImage(CDrawContext* context, PlatformSurface* image, const CRect& dest,
                        const CPoint& srcOffset, unsigned char alpha) {
  if (!context || !image) return;
  if (!sane(dest.left) || !sane(dest.top) || !sane(dest.right) || !sane(dest.bottom) ||
      !sane(srcOffset.x) || !sane(srcOffset.y) || !sane(context->offset.x) || !sane(context->offset.y))
    return;
  CRect target = dest;
  target.offset(context->offset.x, context->offset.y);
  // The part of the picture that lands in dest, limited to the picture...
  CRect source(srcOffset.x, srcOffset.y, srcOffset.x + target.width(), srcOffset.y + target.height());
  source.bound(CRect(0, 0, width, height));
  // ...and to the clip, carried into picture coordinates.
  CRect clip = context->clipRect;
  if (!sane(clip.left) || !sane(clip.top) || !sane(clip.right) || !sane(clip.bottom)) return;
  clip.offset(srcOffset.x - target.left, srcOffset.y - target.top);
  source.bound(clip);
  if (source.isEmpty()) return;
  PlatformContext* platform = context->beginDrawing();
  if (!platform) return;
  long x = target.left + (source.left - srcOffset.x);
  long y = target.top + (source.top - srcOffset.y);
  platformDrawPicture(platform, image, source.left, source.top, source.width(), source.height(), x, y,
                      alpha);
  context->endDrawing();
  context->markDrawn(CRect(x, y, x + source.width(), y + source.height()));
}
