// The PNG files of this folder, embedded byte for byte and handed to the
// picture registry. The bytes live in read-only data for the life of the
// process, as the registry requires.
#include "resources/bramble_pictures.h"

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "gui/platform/platform_picture.h"

// Each file goes into read-only data between two labels, by the assembler's
// .incbin inside this C++ file: the compiler then marks the object's stack
// non-executable as for any other source, the build needs no assembler
// language of its own, and the folder's path (JUNKYARD_PICTURE_DIR, set by
// the build) reaches the directive as an ordinary string literal. The labels
// are not .globl, so they stay local to this object.
#define JUNKYARD_EMBED_PICTURE(id)                                                   \
  asm(".pushsection .rodata.junkyard_pictures,\"a\",@progbits\n"                     \
      ".balign 16\n"                                                                 \
      "junkyard_picture_" #id ":\n"                                                  \
      ".incbin \"" JUNKYARD_PICTURE_DIR "/bmp" #id ".png\"\n"                        \
      "junkyard_picture_" #id "_end:\n"                                              \
      ".popsection\n");                                                              \
  extern "C" __attribute__((visibility("hidden"))) const unsigned char               \
      junkyard_picture_##id[];                                                       \
  extern "C" __attribute__((visibility("hidden"))) const unsigned char               \
      junkyard_picture_##id##_end[];

JUNKYARD_EMBED_PICTURE(10000)
JUNKYARD_EMBED_PICTURE(10001)
JUNKYARD_EMBED_PICTURE(10002)
JUNKYARD_EMBED_PICTURE(10003)
JUNKYARD_EMBED_PICTURE(10004)
JUNKYARD_EMBED_PICTURE(10005)
JUNKYARD_EMBED_PICTURE(10006)
JUNKYARD_EMBED_PICTURE(10007)

namespace {

struct EmbeddedPicture {
  long id;
  const unsigned char* begin;
  const unsigned char* end;
};

const EmbeddedPicture kPictures[] = {
    {10000, junkyard_picture_10000, junkyard_picture_10000_end},
    {10001, junkyard_picture_10001, junkyard_picture_10001_end},
    {10002, junkyard_picture_10002, junkyard_picture_10002_end},
    {10003, junkyard_picture_10003, junkyard_picture_10003_end},
    {10004, junkyard_picture_10004, junkyard_picture_10004_end},
    {10005, junkyard_picture_10005, junkyard_picture_10005_end},
    {10006, junkyard_picture_10006, junkyard_picture_10006_end},
    {10007, junkyard_picture_10007, junkyard_picture_10007_end},
};

// Begin and end are two separate symbols, not one array: their distance is
// taken as addresses.
size_t byteCount(const EmbeddedPicture& picture) {
  return static_cast<size_t>(reinterpret_cast<uintptr_t>(picture.end) -
                             reinterpret_cast<uintptr_t>(picture.begin));
}

}  // namespace

void registerBramblePictures() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (const EmbeddedPicture& picture : kPictures)
      registerBuiltinPicture(picture.id, picture.begin, byteCount(picture));
  });
}
