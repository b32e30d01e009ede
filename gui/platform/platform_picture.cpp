// Picture decoding with stb_image, into premultiplied ARGB surfaces ready to draw.
#include "gui/platform/platform_picture.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "gui/platform/platform_drawing.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
// Our own private copy of the decoder: parts we do not call are fine unused.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace {

// Larger pictures than this are refused before decoding: the editor's
// pictures are a few hundred pixels, and a damaged header must not make us
// allocate gigabytes.
constexpr long kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = 16LL * 1024 * 1024;
// Files larger than this are not pictures of ours.
constexpr long kMaxFileBytes = 64L * 1024 * 1024;

PlatformPictureFormat sniff(const unsigned char* data, size_t size) {
  static const unsigned char png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (size >= sizeof png && std::memcmp(data, png, sizeof png) == 0) return PlatformPictureFormat::png;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return PlatformPictureFormat::bmp;
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return PlatformPictureFormat::jpg;
  return PlatformPictureFormat::unknown;
}

struct BuiltinPicture {
  const unsigned char* data = nullptr;
  size_t size = 0;
  unsigned long registration = 0;
};

// Function-local so that registrations from static initializers of other
// libraries find it constructed, whatever the initialisation order.
std::map<long, BuiltinPicture>& builtinPictures() {
  static std::map<long, BuiltinPicture> pictures;
  return pictures;
}

std::mutex& builtinLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

bool platformDecodePicture(const unsigned char* data, size_t size, PlatformPicture& out) {
  out = PlatformPicture{};
  if (!data || size == 0 || size > static_cast<size_t>(INT_MAX)) return false;
  PlatformPictureFormat format = sniff(data, size);
  if (format == PlatformPictureFormat::unknown) return false;
  int length = static_cast<int>(size);
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &w, &h, &channels)) return false;
  if (w < 1 || h < 1 || w > kMaxPictureSide || h > kMaxPictureSide ||
      static_cast<long long>(w) * h > kMaxPicturePixels)
    return false;
  unsigned char* rgba = stbi_load_from_memory(data, length, &w, &h, &channels, 4);
  if (!rgba) return false;
  PlatformSurface* surface = platformSurfaceCreate(w, h);
  if (!surface) {
    stbi_image_free(rgba);
    return false;
  }
  platformSurfaceBeginAccess(surface);
  unsigned char* pixels = platformSurfaceData(surface);
  long stride = platformSurfaceStride(surface);
  for (int y = 0; y < h; ++y) {
    const unsigned char* src = rgba + static_cast<size_t>(y) * w * 4;
    auto* dst = reinterpret_cast<uint32_t*>(pixels + y * stride);
    for (int x = 0; x < w; ++x, src += 4) {
      uint32_t a = src[3];
      auto mul = [a](uint32_t v) { return (v * a + 127) / 255; };
      dst[x] = (a << 24) | (mul(src[0]) << 16) | (mul(src[1]) << 8) | mul(src[2]);
    }
  }
  platformSurfaceEndAccess(surface);
  stbi_image_free(rgba);
  out.surface = surface;
  out.width = w;
  out.height = h;
  out.hasAlpha = channels == 2 || channels == 4;
  out.format = format;
  return true;
}

bool platformLoadPictureFile(const char* path, PlatformPicture& out) {
  out = PlatformPicture{};
  if (!path) return false;
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  std::vector<unsigned char> bytes;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  long length = ok ? std::ftell(file) : -1;
  ok = ok && length > 0 && length <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<size_t>(length));
    ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  return ok && platformDecodePicture(bytes.data(), bytes.size(), out);
}

void registerBuiltinPicture(long id, const unsigned char* data, size_t size) {
  if (!data || size == 0) return;
  std::lock_guard<std::mutex> guard(builtinLock());
  static unsigned long registrations = 0;
  BuiltinPicture& entry = builtinPictures()[id];
  entry.data = data;
  entry.size = size;
  entry.registration = ++registrations;
}

bool findBuiltinPicture(long id, const unsigned char*& data, size_t& size,
                        unsigned long* registration) {
  std::lock_guard<std::mutex> guard(builtinLock());
  auto found = builtinPictures().find(id);
  if (found == builtinPictures().end()) return false;
  data = found->second.data;
  size = found->second.size;
  if (registration) *registration = found->second.registration;
  return true;
}

void unregisterBuiltinPicture(long id) {
  std::lock_guard<std::mutex> guard(builtinLock());
  builtinPictures().erase(id);
}
