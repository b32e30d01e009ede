// The editor's pictures as the plug-in carries them inside itself: each one
// found without any files beside the module, at the size the panel layout
// needs, byte for byte the PNG files of the source tree, and with control
// strips that meet the panel without a visible seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/platform/platform_drawing.h"
#include "gui/platform/platform_picture.h"
#include "gui_test_support.h"
#include "resources/bramble_pictures.h"

namespace {

struct PictureShape {
  long id;
  long width;
  long height;
  long frames;  // pictures stacked one below the other
};

const PictureShape kPictures[] = {
    {10000, 500, 400, 1},  {10001, 87, 5796, 36}, {10002, 87, 5796, 36}, {10003, 87, 5796, 36},
    {10004, 87, 5796, 36}, {10005, 243, 128, 2},  {10006, 106, 120, 4},  {10007, 500, 377, 1},
};

// Where each control's strip lies on the panel (left, top of its rectangle).
struct Placement {
  long id;
  long left;
  long top;
};

const Placement kControls[] = {
    {10001, 55, 130}, {10002, 162, 133}, {10003, 264, 134},
    {10004, 369, 135}, {10005, 120, 0},  {10006, 315, 97},
};

const PictureShape& shapeOf(long id) {
  for (const PictureShape& shape : kPictures)
    if (shape.id == id) return shape;
  throw std::invalid_argument("no such picture");
}

struct Forget {
  void operator()(CBitmap* bitmap) const { bitmap->forget(); }
};
using BitmapPtr = std::unique_ptr<CBitmap, Forget>;

// A decoded picture's pixels, copied out as 0xAARRGGBB words.
struct Pixels {
  long width = 0;
  long height = 0;
  std::vector<uint32_t> words;

  explicit Pixels(CBitmap& bitmap) {
    PlatformSurface* surface = bitmap.getHandle();
    if (!surface) return;
    width = platformSurfaceWidth(surface);
    height = platformSurfaceHeight(surface);
    platformSurfaceBeginAccess(surface);
    const unsigned char* data = platformSurfaceData(surface);
    long stride = platformSurfaceStride(surface);
    words.resize(static_cast<size_t>(width * height));
    for (long y = 0; y < height; ++y)
      std::memcpy(&words[static_cast<size_t>(y * width)], data + y * stride,
                  static_cast<size_t>(width) * 4);
    platformSurfaceEndAccess(surface);
  }
  uint32_t at(long x, long y) const { return words[static_cast<size_t>(y * width + x)]; }
};

// Every test sees only the compiled-in copies: the lookup is pointed at an
// empty directory, so no files beside the test executable can stand in.
class BramblePicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerBramblePictures();
    CBitmap::setResourceDirectoryOverride(emptyDirectory.path().c_str());
  }
  void TearDown() override { CBitmap::setResourceDirectoryOverride(nullptr); }

  static BitmapPtr load(long id) { return BitmapPtr(new CBitmap(id)); }

  guitest::TempDir emptyDirectory;
};

TEST_F(BramblePicturesTest, EveryPictureLoadsFromTheCompiledInCopyAtItsLayoutSize) {
  for (const PictureShape& shape : kPictures) {
    SCOPED_TRACE("picture " + std::to_string(shape.id));
    BitmapPtr bitmap = load(shape.id);
    ASSERT_TRUE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), shape.width);
    EXPECT_EQ(bitmap->getHeight(), shape.height);
  }
}

TEST_F(BramblePicturesTest, CompiledInBytesAreTheFilesOfTheResourcesFolder) {
  // Catches a picture embedded under the wrong number (the four knob strips
  // share one size) and a wrong length taken from the embedded data.
  for (const PictureShape& shape : kPictures) {
    SCOPED_TRACE("picture " + std::to_string(shape.id));
    char name[32];
    std::snprintf(name, sizeof name, "/resources/bmp%05ld.png", shape.id);
    std::ifstream file(std::string(JUNKYARD_SOURCE_DIR) + name, std::ios::binary);
    ASSERT_TRUE(file.is_open());
    std::vector<unsigned char> onDisk((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
    const unsigned char* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(findBuiltinPicture(shape.id, data, size));
    ASSERT_EQ(size, onDisk.size());
    EXPECT_EQ(std::memcmp(data, onDisk.data(), size), 0);
  }
}

TEST_F(BramblePicturesTest, EveryControlFrameMeetsThePanelWithoutASeam) {
  // The controls are drawn opaque over the panel: the outline of each frame
  // must be exactly the panel's pixels under the control's rectangle.
  BitmapPtr panelBitmap = load(10000);
  Pixels panel(*panelBitmap);
  ASSERT_EQ(panel.width, 500);
  for (const Placement& control : kControls) {
    const PictureShape& shape = shapeOf(control.id);
    BitmapPtr stripBitmap = load(control.id);
    Pixels strip(*stripBitmap);
    ASSERT_EQ(strip.height, shape.height) << control.id;
    long frameHeight = shape.height / shape.frames;
    for (long frame = 0; frame < shape.frames; ++frame) {
      long mismatches = 0;
      for (long y = 0; y < frameHeight; ++y)
        for (long x = 0; x < shape.width; ++x) {
          bool outline = x == 0 || y == 0 || x == shape.width - 1 || y == frameHeight - 1;
          if (outline &&
              strip.at(x, frame * frameHeight + y) != panel.at(control.left + x, control.top + y))
            ++mismatches;
        }
      EXPECT_EQ(mismatches, 0) << "picture " << control.id << ", frame " << frame;
    }
  }
}

TEST_F(BramblePicturesTest, NeighbouringFramesOfAStripShowDifferentStates) {
  // Two equal neighbours would leave a step of the control without a
  // visible change (a knob that seems stuck, a switch that does not move).
  for (const Placement& control : kControls) {
    const PictureShape& shape = shapeOf(control.id);
    BitmapPtr bitmap = load(control.id);
    Pixels strip(*bitmap);
    ASSERT_EQ(strip.height, shape.height) << control.id;
    long frameWords = shape.width * (shape.height / shape.frames);
    for (long frame = 0; frame + 1 < shape.frames; ++frame) {
      auto first = strip.words.begin() + frame * frameWords;
      EXPECT_FALSE(std::equal(first, first + frameWords, first + frameWords))
          << "picture " << control.id << ", frames " << frame << " and " << frame + 1;
    }
  }
}

}  // namespace
