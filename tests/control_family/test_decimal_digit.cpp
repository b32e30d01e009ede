// The decimal display: which strip frame each cell shows for a value, its
// range, and where the cells are drawn.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "editor/family/cdecimaldigit.h"
#include "family_test_support.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr CColor kGround = {60, 60, 60, 255};
constexpr int M = CDecimalDigit::kMinusFrame;
constexpr int P = CDecimalDigit::kPlusFrame;
constexpr int D = CDecimalDigit::kPointFrame;
// Digits 4 × 6 with one pixel between cells.
const CRect kPlace(10, 20, 60, 26);

std::vector<int> framesOf(const CDecimalDigit* digit) {
  std::vector<int> frames(static_cast<size_t>(digit->cellCount()));
  frames.resize(
      static_cast<size_t>(digit->cellFrames(frames.data(), static_cast<int>(frames.size()))));
  return frames;
}

TEST(DecimalDigit, CellsShowTheRoundedNumberWithinTheRange) {
  struct Case {
    float value;
    int frac;
    bool sign;
    std::vector<int> frames;
  };
  const Case cases[] = {
      {42.0f, 0, true, {P, 0, 4, 2}},
      {-7.0f, 0, true, {M, 0, 0, 7}},
      {-7.0f, 0, false, {0, 0, 7}},
      {12.25f, 2, true, {P, 0, 1, 2, D, 2, 5}},
      {-3.5f, 1, true, {M, 0, 0, 3, D, 5}},
      {0.6f, 0, true, {P, 0, 0, 1}},
      {5000.0f, 0, true, {P, 9, 9, 9}},
      {-1e30f, 0, true, {M, 9, 9, 9}},
      {INFINITY, 1, true, {P, 9, 9, 9, D, 0}},  // the range bounds the value, not the digits
      {std::nanf(""), 0, true, {P, 0, 0, 0}},
      {-0.004f, 2, true, {P, 0, 0, 0, D, 0, 0}},   // no "minus zero"
      {998.996f, 2, true, {P, 9, 9, 9, D, 0, 0}},  // rounding carries into the integer digits
      {999.5f, 2, true, {P, 9, 9, 9, D, 0, 0}},
  };
  CBitmap* strip = makeStrip(4, 6, 13);
  auto* digit = new CDecimalDigit(kPlace, nullptr, 0, 0, 3, 1, 4, 6, strip);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " frac " << c.frac << (c.sign ? " sign" : ""));
    digit->setValue(c.value);
    digit->setFracDigits(c.frac);
    digit->useSign(c.sign);
    EXPECT_EQ(framesOf(digit), c.frames);
  }
  digit->forget();
  strip->forget();
}

TEST(DecimalDigit, ConstructionKeepsTheNumberAndTheDigitsInRange) {
  struct Case {
    long initial;
    int digits;
    int keptDigits;
    float value;
    float bound;
  };
  for (Case c : {Case{42, 3, 3, 42.0f, 999.0f}, Case{123456, 3, 3, 999.0f, 999.0f},
                 Case{-123456, 2, 2, -99.0f, 99.0f}, Case{5, 0, 1, 5.0f, 9.0f},
                 Case{5, 40, 9, 5.0f, 999999999.0f}}) {
    SCOPED_TRACE(testing::Message() << c.initial << " in " << c.digits << " digits");
    auto* digit = new CDecimalDigit(kPlace, nullptr, 0, c.initial, c.digits, 1, 4, 6, nullptr);
    EXPECT_EQ(digit->getDigits(), c.keptDigits);
    EXPECT_EQ(digit->getValue(), c.value);
    EXPECT_EQ(digit->getMax(), c.bound);
    EXPECT_EQ(digit->getMin(), -c.bound);
    EXPECT_TRUE(digit->getUseSign());
    EXPECT_EQ(digit->getFracDigits(), 0);
    digit->forget();
  }
}

TEST(DecimalDigit, DrawsEachCellFromItsFrameWithTheSpacingBetween) {
  struct Case {
    const char* name;
    long stripFrames;
    float value;
    std::vector<int> shown;  // -1: nothing drawn in that cell
  };
  const Case cases[] = {
      {"full strip", 13, -305.0f, {M, 3, 0, 5}},
      {"digits only", 10, 42.0f, {-1, 0, 4, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CBitmap* strip = makeStrip(4, 6, c.stripFrames);
    auto* digit = new CDecimalDigit(kPlace, nullptr, 0, 0, 3, 1, 4, 6, strip);
    digit->setValue(c.value);
    Surface surface(80, 40, kGround);
    Context context(surface);
    digit->draw(context);
    EXPECT_FALSE(digit->isDirty());
    for (size_t k = 0; k < c.shown.size(); ++k) {
      SCOPED_TRACE(k);
      const long x = kPlace.left + 5 * static_cast<long>(k);
      const CColor expected = c.shown[k] < 0 ? kGround : stripColor(c.shown[k]);
      EXPECT_EQ(surface.pixel(x, kPlace.top), expected);
      EXPECT_EQ(surface.pixel(x + 3, kPlace.top + 5), expected);
      EXPECT_EQ(surface.pixel(x + 4, kPlace.top), kGround);  // the spacing
      EXPECT_EQ(surface.pixel(x, kPlace.top + 6), kGround);
    }
    digit->forget();
    strip->forget();
  }
}

TEST(DecimalDigit, CellSizesThatMakeNoSenseStayHarmless) {
  struct Case {
    long width, height;
    int spacing;
    bool drawn;  // the sign cell shows
  };
  CBitmap* strip = makeStrip(4, 6, 13);
  for (Case c :
       {Case{0, 6, 1, false}, Case{4, 0, 1, false}, Case{-4, -6, -2, false}, Case{4, 6, -3, true},
        Case{LONG_MAX, 6, INT32_MAX, true}, Case{4, LONG_MAX, 1, false}}) {  // no frame that tall
    SCOPED_TRACE(testing::Message() << c.width << " × " << c.height << " spacing " << c.spacing);
    auto* digit = new CDecimalDigit(kPlace, nullptr, 0, -7, 3, c.spacing, c.width, c.height, strip);
    Surface surface(80, 40, kGround);
    Context context(surface);
    digit->draw(context);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top), c.drawn ? stripColor(M) : kGround);
    digit->forget();
  }
  strip->forget();
}

}  // namespace
