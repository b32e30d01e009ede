// Pictures: where they are found, how strips, transparency and alpha draw.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/platform/platform_drawing.h"
#include "gui/cdrawcontext.h"
#include "gui/coffscreen_context.h"
#include "gui/platform/platform_picture.h"
#include "gui_test_support.h"

using guitest::describe;
using guitest::Image;
using guitest::near;
using guitest::Surface;
using guitest::TempDir;

namespace {

constexpr CColor kRed = {255, 0, 0, 255};
constexpr CColor kGreen = {0, 255, 0, 255};
constexpr CColor kBlue = {0, 0, 255, 255};
constexpr CColor kBackground = {10, 20, 30, 255};

// Picture numbers no test registers as compiled-in, unless it says so.
constexpr long kTestPicture = 42001;

// Points the lookup at a directory of our own for the test's lifetime.
class ResourceDir {
 public:
  ResourceDir() {
    std::filesystem::create_directory(dir.path() + "/resources");
    CBitmap::setResourceDirectoryOverride(dir.path().c_str());
  }
  ~ResourceDir() { CBitmap::setResourceDirectoryOverride(nullptr); }
  void add(long id, const char* extension, const std::vector<unsigned char>& bytes) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp%05ld.%s", id, extension);
    guitest::writeFile(dir.path() + "/resources/" + name, bytes);
  }
  void remove(long id, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp%05ld.%s", id, extension);
    std::filesystem::remove(dir.path() + "/resources/" + name);
  }

 private:
  TempDir dir;
};

// Registers compiled-in bytes for the test's lifetime; they must outlive the registration.
class Builtin {
 public:
  Builtin(long id, std::vector<unsigned char> data) : id(id), bytes(std::move(data)) {
    registerBuiltinPicture(id, bytes.data(), bytes.size());
  }
  ~Builtin() { unregisterBuiltinPicture(id); }

 private:
  long id;
  std::vector<unsigned char> bytes;
};

// Holds a bitmap reference and lets it go.
struct BitmapRef {
  CBitmap* bitmap;
  explicit BitmapRef(CBitmap* b) : bitmap(b) {}
  ~BitmapRef() { bitmap->forget(); }
  CBitmap* operator->() const { return bitmap; }
};

struct ContextRef {
  CDrawContext* context;
  explicit ContextRef(Surface& s) : context(new CDrawContext(nullptr, s.get())) {}
  ~ContextRef() { context->forget(); }
  CDrawContext* operator->() const { return context; }
  operator CDrawContext*() const { return context; }
};

// A three-frame strip, 4 wide and 5 high per frame: red, green, blue.
Image strip() {
  Image image(4, 15, kRed);
  image.fillRows(5, 10, kGreen);
  image.fillRows(10, 15, kBlue);
  return image;
}

// ---- lookup ----

TEST(BitmapLookupTest, FirstExistingExtensionWinsInOrderPngBmpJpg) {
  ResourceDir resources;
  resources.add(kTestPicture, "png", guitest::encodePng(Image(3, 1, kRed)));
  resources.add(kTestPicture, "bmp", guitest::encodeBmp(Image(4, 1, kRed)));
  resources.add(kTestPicture, "jpg", guitest::encodeGreyJpeg(5, 1, 200));
  struct Step { const char* removeBefore; long width; bool noAlpha; };
  const Step steps[] = {{nullptr, 3, false}, {"png", 4, true}, {"bmp", 5, true}, {"jpg", 0, true}};
  for (const Step& step : steps) {
    if (step.removeBefore) resources.remove(kTestPicture, step.removeBefore);
    BitmapRef bitmap(new CBitmap(kTestPicture));
    SCOPED_TRACE(step.removeBefore ? step.removeBefore : "all present");
    EXPECT_EQ(bitmap->getWidth(), step.width);
    EXPECT_EQ(bitmap->isLoaded(), step.width != 0);
    if (step.width) {
      EXPECT_EQ(bitmap->getNoAlpha(), step.noAlpha);
    }
  }
}

TEST(BitmapLookupTest, JpegDecodesItsGreyLevel) {
  ResourceDir resources;
  resources.add(kTestPicture, "jpg", guitest::encodeGreyJpeg(5, 2, 200));
  BitmapRef bitmap(new CBitmap(kTestPicture));
  ASSERT_EQ(bitmap->getHeight(), 2);
  Surface surface(5, 2);
  ContextRef context(surface);
  CRect dest(0, 0, 5, 2);
  bitmap->draw(context, dest);
  EXPECT_TRUE(near(surface.pixel(4, 1), CColor{200, 200, 200, 255}, 2)) << describe(surface.pixel(4, 1));
}

TEST(BitmapLookupTest, PictHasNoDecoderAndFallsBackToTheCompiledInCopy) {
  ResourceDir resources;
  resources.add(kTestPicture, "pict", std::vector<unsigned char>(600, 0));
  {
    BitmapRef bitmap(new CBitmap(kTestPicture));
    EXPECT_FALSE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), 0);
  }
  Builtin builtin(kTestPicture, guitest::encodePng(Image(7, 2, kGreen)));
  BitmapRef bitmap(new CBitmap(kTestPicture));
  EXPECT_EQ(bitmap->getWidth(), 7);
}

TEST(BitmapLookupTest, FileBeatsCompiledInCopyWhichStandsInWhenTheFileIsMissingOrBroken) {
  Builtin builtin(kTestPicture, guitest::encodePng(Image(7, 2, kGreen)));
  ResourceDir resources;
  {
    BitmapRef bitmap(new CBitmap(kTestPicture));  // no file at all
    EXPECT_EQ(bitmap->getWidth(), 7);
    EXPECT_EQ(bitmap->getHeight(), 2);
  }
  resources.add(kTestPicture, "bmp", guitest::encodeBmp(Image(4, 1, kRed)));
  {
    BitmapRef bitmap(new CBitmap(kTestPicture));
    EXPECT_EQ(bitmap->getWidth(), 4);
  }
  // The first file found is the one tried: a broken PNG does not hand over to
  // the BMP behind it, but to the compiled-in copy.
  resources.add(kTestPicture, "png", {0x89, 'P', 'N', 'G', 1, 2, 3});
  {
    BitmapRef bitmap(new CBitmap(kTestPicture));
    EXPECT_EQ(bitmap->getWidth(), 7);
  }
}

TEST(BitmapLookupTest, WithoutTheOverrideCompiledInPicturesAreFound) {
  // The module's own directory (if an editor made it known) has no file of this number.
  CBitmap::setResourceDirectoryOverride(nullptr);
  Builtin builtin(kTestPicture, guitest::encodePng(Image(2, 9, kBlue)));
  BitmapRef bitmap(new CBitmap(kTestPicture));
  EXPECT_EQ(bitmap->getHeight(), 9);
}

TEST(BitmapLookupTest, CompiledInPicturesAreDecodedOnceButReplacementsAreSeen) {
  ResourceDir resources;  // no files: only the compiled-in copies
  const auto redOf = [](const BitmapRef& bitmap) {
    return static_cast<int>(platformSurfaceGetPixel(bitmap->getHandle(), 1, 1).red);
  };
  {
    Builtin green(kTestPicture, guitest::encodePng(Image(3, 3, kGreen)));
    BitmapRef first(new CBitmap(kTestPicture));
    BitmapRef second(new CBitmap(kTestPicture));
    // Each bitmap owns its pixels, even when they come from one decoding.
    EXPECT_NE(first->getHandle(), second->getHandle());
    EXPECT_EQ(redOf(first), 0);
    EXPECT_EQ(redOf(second), 0);
  }
  // The same number registered again, with bytes of the same length (and
  // perhaps at the same address): the new picture is what loads.
  Builtin red(kTestPicture, guitest::encodePng(Image(3, 3, kRed)));
  BitmapRef bitmap(new CBitmap(kTestPicture));
  EXPECT_EQ(redOf(bitmap), 255);
}

TEST(BitmapLookupTest, MissingPictureIsEmptyAndDrawsNothing) {
  ResourceDir resources;
  BitmapRef bitmap(new CBitmap(kTestPicture));
  EXPECT_FALSE(bitmap->isLoaded());
  EXPECT_EQ(bitmap->getWidth(), 0);
  EXPECT_EQ(bitmap->getHeight(), 0);
  Surface surface(8, 8, kBackground);
  ContextRef context(surface);
  CRect dest(0, 0, 8, 8);
  bitmap->draw(context, dest);
  bitmap->drawTransparent(context, dest);
  bitmap->drawAlphaBlend(context, dest, CPoint(0, 0), 100);
  EXPECT_FALSE(context->needsSync);
  EXPECT_EQ(surface.pixel(3, 3), kBackground);
}

TEST(BitmapLookupTest, LoadFromPathGoesByTheExtension) {
  TempDir dir;
  std::string png = dir.path() + "/a.png", text = dir.path() + "/a.txt", pict = dir.path() + "/a.pict";
  guitest::writeFile(png, guitest::encodePng(Image(3, 3, kRed)));
  guitest::writeFile(text, guitest::encodePng(Image(3, 3, kRed)));
  guitest::writeFile(pict, guitest::encodePng(Image(3, 3, kRed)));
  BitmapRef bitmap(new CBitmap());
  EXPECT_FALSE(bitmap->loadFromPath(text.c_str()));
  EXPECT_FALSE(bitmap->loadFromPath(pict.c_str()));
  EXPECT_FALSE(bitmap->loadFromPath(nullptr));
  EXPECT_FALSE(bitmap->loadFromPath((dir.path() + "/missing.png").c_str()));
  EXPECT_TRUE(bitmap->loadFromPath(png.c_str()));
  EXPECT_EQ(bitmap->getWidth(), 3);
  EXPECT_TRUE(bitmap->loadFromPath(png.c_str()));  // reloading releases the first copy
  bitmap->dispose();
  EXPECT_FALSE(bitmap->isLoaded());
  EXPECT_EQ(bitmap->getWidth(), 0);
}

TEST(BitmapLookupTest, ScreenshotWrittenAsPngReadsBackPixelForPixel) {
  TempDir dir;
  Surface surface(6, 4, kBlue);
  {
    ContextRef context(surface);
    context->setFrameColor(kRed);
    context->drawRect(CRect(0, 0, 6, 4));
  }
  std::string path = dir.path() + "/shot.png";
  ASSERT_TRUE(platformSurfaceWritePNG(surface.get(), path.c_str()));
  BitmapRef bitmap(new CBitmap());
  ASSERT_TRUE(bitmap->loadFromPath(path.c_str()));
  Surface copy(6, 4, kBlackCColor);
  ContextRef context(copy);
  CRect dest(0, 0, 6, 4);
  bitmap->draw(context, dest);
  for (long y = 0; y < 4; ++y)
    for (long x = 0; x < 6; ++x) EXPECT_EQ(copy.pixel(x, y), surface.pixel(x, y)) << x << "," << y;
}

TEST(PictureDecoderTest, RejectsWhatIsNotAPicture) {
  const std::vector<std::vector<unsigned char>> bad = {
      {},
      {'B', 'M'},
      {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0},
      {0xFF, 0xD8, 0xFF, 0xE0, 0, 0},
      {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0},
  };
  for (const auto& bytes : bad) {
    PlatformPicture picture;
    EXPECT_FALSE(platformDecodePicture(bytes.data(), bytes.size(), picture));
    EXPECT_EQ(picture.surface, nullptr);
  }
}

// ---- drawing ----

class BitmapDrawTest : public ::testing::Test {
 protected:
  Surface surface{20, 20, kBackground};
  ContextRef context{surface};

  CBitmap* load(const std::vector<unsigned char>& bytes) {
    builtin = std::make_unique<Builtin>(kTestPicture, bytes);
    return new CBitmap(kTestPicture);
  }

  std::unique_ptr<Builtin> builtin;
};

TEST_F(BitmapDrawTest, StripFrameIsChosenBySourceOffset) {
  BitmapRef bitmap(load(guitest::encodePng(strip())));
  ASSERT_EQ(bitmap->getHeight(), 15);
  const CColor frames[] = {kRed, kGreen, kBlue};
  for (long k = 0; k < 3; ++k) {
    CRect dest(6, 7, 10, 12);
    bitmap->draw(context, dest, CPoint(0, k * 5));
    for (long y = 0; y < 20; ++y)
      for (long x = 0; x < 20; ++x)
        ASSERT_EQ(surface.pixel(x, y), dest.pointInside(CPoint(x, y)) ? frames[k] : kBackground)
            << "frame " << k << " pixel " << x << "," << y;
  }
  EXPECT_TRUE(context->needsSync);
}

TEST_F(BitmapDrawTest, SourceBeyondThePictureDrawsNothing) {
  BitmapRef bitmap(load(guitest::encodePng(strip())));
  CRect dest(0, 0, 4, 5);
  bitmap->draw(context, dest, CPoint(0, 15));
  bitmap->draw(context, dest, CPoint(4, 0));
  bitmap->draw(context, dest, CPoint(-4, -5));
  EXPECT_EQ(surface.pixel(0, 0), kBackground);
  EXPECT_FALSE(context->needsSync);
  // Partly beyond: only the part inside the picture lands.
  CRect tall(0, 0, 4, 10);
  bitmap->draw(context, tall, CPoint(0, 10));
  EXPECT_EQ(surface.pixel(0, 4), kBlue);
  EXPECT_EQ(surface.pixel(0, 5), kBackground);
}

TEST_F(BitmapDrawTest, DrawingHonoursClipAndOffset) {
  BitmapRef bitmap(load(guitest::encodePng(Image(8, 8, kRed))));
  context->offset = CPoint(5, 5);
  context->setClipRect(CRect(2, 2, 6, 4));  // absolute (7, 7, 11, 9)
  CRect dest(0, 0, 8, 8);                   // absolute (5, 5, 13, 13)
  bitmap->draw(context, dest);
  for (long y = 0; y < 20; ++y)
    for (long x = 0; x < 20; ++x)
      ASSERT_EQ(surface.pixel(x, y), (x >= 7 && x < 11 && y >= 7 && y < 9) ? kRed : kBackground)
          << x << "," << y;
}

TEST_F(BitmapDrawTest, TransparentColourKeysPicturesWithoutAlpha) {
  Image image(4, 1, kWhiteCColor);
  image.at(1, 0) = kRed;
  image.at(2, 0) = CColor{254, 255, 255, 255};  // nearly white stays
  BitmapRef bitmap(load(guitest::encodeBmp(image)));
  ASSERT_TRUE(bitmap->getNoAlpha());
  CRect dest(0, 0, 4, 1);
  bitmap->draw(context, dest);  // plain first: the keyed copy must not be mixed up with it
  EXPECT_EQ(surface.pixel(0, 0), kWhiteCColor);

  CRect below(0, 1, 4, 2);
  bitmap->drawTransparent(context, below);
  EXPECT_EQ(surface.pixel(0, 1), kBackground);
  EXPECT_EQ(surface.pixel(1, 1), kRed);
  EXPECT_EQ(surface.pixel(2, 1), (CColor{254, 255, 255, 255}));
  EXPECT_EQ(surface.pixel(3, 1), kBackground);

  // A new colour rebuilds the keyed copy.
  bitmap->setTransparentColor(kRed);
  CRect row2(0, 2, 4, 3);
  bitmap->drawTransparent(context, row2);
  EXPECT_EQ(surface.pixel(0, 2), kWhiteCColor);
  EXPECT_EQ(surface.pixel(1, 2), kBackground);

  bitmap->draw(context, dest);  // and plain drawing still shows everything
  EXPECT_EQ(surface.pixel(1, 0), kRed);
}

TEST_F(BitmapDrawTest, PngKeepsItsOwnAlphaAndIgnoresTheTransparentColour) {
  Image image(2, 1, kWhiteCColor);
  image.at(1, 0) = CColor{255, 0, 0, 128};
  BitmapRef bitmap(load(guitest::encodePng(image)));
  EXPECT_FALSE(bitmap->getNoAlpha());
  CRect dest(0, 0, 2, 1);
  bitmap->drawTransparent(context, dest);
  EXPECT_EQ(surface.pixel(0, 0), kWhiteCColor);  // white is not keyed out of a PNG
  // Half-transparent red over the background: 128/255 of red, the rest background.
  CColor expected{static_cast<unsigned char>((255 * 128 + 10 * 127 + 127) / 255),
                  static_cast<unsigned char>((20 * 127 + 127) / 255),
                  static_cast<unsigned char>((30 * 127 + 127) / 255), 255};
  EXPECT_TRUE(near(surface.pixel(1, 0), expected, 1)) << describe(surface.pixel(1, 0));
}

TEST_F(BitmapDrawTest, AlphaBlendMixesWithTheBackground) {
  const CColor colour{200, 100, 50, 255};
  BitmapRef bitmap(load(guitest::encodeBmp(Image(3, 3, colour))));
  struct Case { unsigned char alpha; };
  const unsigned char alphas[] = {0, 1, 64, 128, 200, 254, 255};
  long row = 0;
  for (unsigned char alpha : alphas) {
    CRect dest(0, row, 3, row + 1);
    bitmap->drawAlphaBlend(context, dest, CPoint(0, 0), alpha);
    auto mix = [alpha](int picture, int back) {
      return static_cast<unsigned char>((picture * alpha + back * (255 - alpha) + 127) / 255);
    };
    CColor expected{mix(200, kBackground.red), mix(100, kBackground.green), mix(50, kBackground.blue), 255};
    EXPECT_TRUE(near(surface.pixel(1, row), expected, 1))
        << "alpha " << int(alpha) << ": " << describe(surface.pixel(1, row)) << " vs " << describe(expected);
    ++row;
  }
}

TEST_F(BitmapDrawTest, NullContextIsIgnored) {
  BitmapRef bitmap(load(guitest::encodePng(strip())));
  CRect dest(0, 0, 4, 5);
  bitmap->draw(nullptr, dest);
  bitmap->drawTransparent(nullptr, dest);
  bitmap->drawAlphaBlend(nullptr, dest, CPoint(0, 0), 10);
  EXPECT_TRUE(bitmap->isLoaded());
}

// ---- offscreen ----

TEST(OffscreenContextTest, DrawsIntoItsOwnBitmapAndCopiesOut) {
  auto* offscreen = new COffscreenContext(nullptr, 10, 6, kGreen);
  EXPECT_EQ(offscreen->clipRect, CRect(0, 0, 10, 6));
  offscreen->setFillColor(kRed);
  offscreen->fillRect(CRect(2, 2, 4, 4));
  CBitmap* bitmap = offscreen->getBitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->getWidth(), 10);

  Surface surface(20, 20, kBackground);
  ContextRef screen(surface);
  screen->offset = CPoint(1, 1);
  offscreen->copyFrom(screen, CRect(5, 5, 11, 9), CPoint(1, 1));  // 6 × 4 from (1, 1)
  EXPECT_EQ(surface.pixel(5, 5), kBackground);
  EXPECT_EQ(surface.pixel(6, 6), kGreen);
  EXPECT_EQ(surface.pixel(7, 7), kRed);
  EXPECT_EQ(surface.pixel(8, 8), kRed);
  EXPECT_EQ(surface.pixel(9, 9), kGreen);
  EXPECT_EQ(surface.pixel(11, 9), kGreen);
  EXPECT_EQ(surface.pixel(12, 9), kBackground);
  offscreen->forget();
}

TEST(OffscreenContextTest, WrapsAnExistingBitmapAndFillsFromAContext) {
  auto* picture = new CBitmap();
  {
    Builtin builtin(kTestPicture, guitest::encodeBmp(Image(6, 6, kWhiteCColor)));
    picture->loadFromResource(kTestPicture);
  }
  ASSERT_TRUE(picture->isLoaded());
  Surface surface(20, 20, kBackground);
  ContextRef screen(surface);
  {
    auto* offscreen = new COffscreenContext(screen, picture, true);
    EXPECT_EQ(picture->getNbReference(), 2);
    CRect area(0, 0, 3, 3);
    offscreen->copyTo(screen, area, CPoint(0, 0));  // background pixels into the corner
    offscreen->forget();
  }
  EXPECT_EQ(picture->getNbReference(), 1);
  Surface check(6, 6, kBlackCColor);
  ContextRef checkContext(check);
  CRect dest(0, 0, 6, 6);
  picture->drawTransparent(checkContext, dest);  // keyed copy rebuilt after the drawing
  EXPECT_EQ(check.pixel(1, 1), kBackground);
  EXPECT_EQ(check.pixel(4, 4), kBlackCColor);  // white stays keyed out
  picture->forget();
}

}  // namespace
