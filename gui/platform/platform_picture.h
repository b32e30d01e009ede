// Picture decoding and the pictures compiled into the library.
#pragma once

#include <cstddef>

struct PlatformSurface;

enum class PlatformPictureFormat { unknown, png, bmp, jpg };

struct PlatformPicture {
  PlatformSurface* surface = nullptr;  // premultiplied ARGB32, one reference
  long width = 0;
  long height = 0;
  bool hasAlpha = false;  // the encoded picture carried an alpha channel
  PlatformPictureFormat format = PlatformPictureFormat::unknown;
};

// Decodes PNG, BMP or JPEG bytes (the format is told by the content). False,
// with an empty result, when the bytes are not a picture we can read.
bool platformDecodePicture(const unsigned char* data, size_t size, PlatformPicture& out);
// Reads and decodes a file.
bool platformLoadPictureFile(const char* path, PlatformPicture& out);

// Pictures compiled into the library, by picture number. The bytes are not
// copied: they must stay valid for the life of the process (static arrays).
// Registering a number again replaces the earlier entry. Safe to call from
// static initializers of any library.
void registerBuiltinPicture(long id, const unsigned char* data, size_t size);
// The registered bytes, or false when the number has none. `registration`,
// when given, receives a number that differs for every registration made,
// so a decoded copy can tell that its bytes were replaced.
bool findBuiltinPicture(long id, const unsigned char*& data, size_t& size,
                        unsigned long* registration = nullptr);
// Forgets a registration (tests).
void unregisterBuiltinPicture(long id);
