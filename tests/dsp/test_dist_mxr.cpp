#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "dsp/dist_mxr.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

const std::array<float, 513>& T = _mxr_distortion_plus_data;

// The measured points of the pedal's curve (entry, value).
struct Row {
  int entry;
  float value;
};
const Row kRows[] = {
    {0, -0.988682f},  {1, -0.987793f},  {16, -0.966766f},  {32, -0.939727f},  {48, -0.909791f},
    {64, -0.876845f}, {80, -0.840288f}, {96, -0.799950f},  {112, -0.755068f}, {128, -0.705182f},
    {144, -0.649595f}, {160, -0.585544f}, {176, -0.514007f}, {192, -0.431714f}, {208, -0.337715f},
    {224, -0.231045f}, {232, -0.173046f}, {240, -0.112705f}, {248, -0.050542f}, {252, -0.019058f},
    {254, -0.003420f}, {255, 0.0f},       {256, 0.001333f},  {257, 0.002665f},  {258, 0.003998f},
    {259, 0.010531f},  {260, 0.018365f},  {264, 0.049699f},  {272, 0.112931f},  {280, 0.175612f},
    {288, 0.236449f},  {304, 0.349791f},  {320, 0.448938f},  {336, 0.534034f},  {352, 0.606625f},
    {368, 0.669243f},  {384, 0.722957f},  {400, 0.770322f},  {416, 0.812374f},  {432, 0.849556f},
    {448, 0.882956f},  {464, 0.912916f},  {480, 0.940057f},  {496, 0.963891f},  {504, 0.974450f},
    {510, 0.980730f},  {511, 0.980730f},  {512, 0.0f},
};

TEST(MxrTable, KeepsEveryMeasuredPointExactly) {
  for (const Row& row : kRows) EXPECT_EQ(T[row.entry], row.value) << "entry " << row.entry;
}

TEST(MxrTable, RisesMonotonicallyAndStraightBetweenMeasuredPoints) {
  for (int i = 1; i < 511; ++i) EXPECT_LE(T[i], T[i + 1]) << "entry " << i;
  EXPECT_LT(T[0], T[1]);
  for (size_t r = 0; r + 1 < std::size(kRows); ++r) {
    const Row lo = kRows[r];
    const Row hi = kRows[r + 1];
    for (int i = lo.entry + 1; i < hi.entry; ++i) {
      const double t = double(i - lo.entry) / (hi.entry - lo.entry);
      EXPECT_NEAR(T[i], lo.value + (hi.value - lo.value) * t, 1e-6) << "entry " << i;
    }
  }
}

class MxrClipper : public ::testing::Test {
 protected:
  void SetUp() override {
    dist_mxr_init(&mxr_);
    dist_mxr_set_attr(&mxr_, ATTR_MXR_GAIN, 1.0f);
    dist_mxr_set_attr(&mxr_, ATTR_MXR_LEVEL, 0.25f);
  }
  void TearDown() override { dist_mxr_free(&mxr_); }

  // The curve read at whole entry i, scaled by the level.
  float AtEntry(int i) const {
    return static_cast<float>(double{T[i]} * 1.0 * double{mxr_.level});
  }

  _dist_mxr_struct mxr_;
};

TEST_F(MxrClipper, EffectSettingsAtTheCentreAndBothEnds) {
  const struct {
    float x;
    int entry;
    float approx;
  } cases[] = {{0.0f, 256, 0.000333f}, {1.0f, 511, 0.245183f}, {-1.0f, 1, -0.246948f},
               {0.05f, 511, 0.245183f}, {-0.05f, 1, -0.246948f}};
  for (const auto& c : cases) {
    const float y = dist_mxr_dsp(&mxr_, c.x);
    EXPECT_EQ(y, AtEntry(c.entry)) << "x " << c.x;
    EXPECT_NEAR(y, c.approx, 1e-6) << "x " << c.x;
    EXPECT_EQ(dist_mxr_get_output(&mxr_), y);
  }
}

TEST_F(MxrClipper, WithoutDriveAHalfInputSitsBetweenEntries383And384) {
  dist_mxr_set_attr(&mxr_, ATTR_MXR_GAIN, 0.0f);
  const float y = dist_mxr_dsp(&mxr_, 0.5f);  // position 383.5
  const float expected =
      static_cast<float>((double{T[383]} * 0.5 + double{0.5f * T[384]}) * 0.25);
  EXPECT_EQ(y, expected);
  EXPECT_NEAR(y, 0.25 * (T[383] + T[384]) / 2, 1e-7);
}

TEST_F(MxrClipper, TheUpperLimitReadsEntry511WithNothingOf512) {
  dist_mxr_set_attr(&mxr_, ATTR_MXR_GAIN, 0.0f);
  for (float x : {1.0f, 1.0000001f, 3.0f, 1e30f, kInf}) {
    EXPECT_EQ(dist_mxr_dsp(&mxr_, x), AtEntry(511)) << "x " << x;
  }
  for (float x : {-1.0f, -1.0000001f, -1e30f, -kInf}) {
    EXPECT_EQ(dist_mxr_dsp(&mxr_, x), AtEntry(1)) << "x " << x;
  }
}

TEST_F(MxrClipper, NaNReadsTheBottomOfTheCurve) {
  EXPECT_EQ(dist_mxr_dsp(&mxr_, kNaN), AtEntry(1));
  // a NaN or infinite drive turns every sample into NaN before the position
  dist_mxr_set_attr(&mxr_, ATTR_MXR_GAIN, kNaN);
  EXPECT_EQ(dist_mxr_dsp(&mxr_, 0.3f), AtEntry(1));
  dist_mxr_set_attr(&mxr_, ATTR_MXR_GAIN, kInf);
  EXPECT_EQ(dist_mxr_dsp(&mxr_, 0.0f), AtEntry(1));  // 0 x inf
  EXPECT_EQ(dist_mxr_dsp(&mxr_, 0.1f), AtEntry(511));
}

TEST_F(MxrClipper, PositionUsesSinglePrecisionAndTheBlendMixedPrecision) {
  dist_mxr_set_attr(&mxr_, ATTR_MXR_GAIN, 0.37f);
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> in(-0.1f, 0.1f);
  for (int k = 0; k < 1000; ++k) {
    const float x = in(rng);
    const float s = static_cast<float>(double{x} * (double{0.37f} * 31.415926536 + 1.0));
    const float p = (s > 1.0f ? 255.0f : s >= -1.0f ? s * 255.0f : -255.0f) + 256.0f;
    const int i = static_cast<int>(p);
    const float f = p - static_cast<float>(i);
    const float expected = static_cast<float>(
        (double{T[i]} * (1.0 - f) + double{f * T[i + 1]}) * double{0.25f});
    ASSERT_EQ(dist_mxr_dsp(&mxr_, x), expected) << "x " << x;
  }
}

TEST(MxrClipperSetup, SilentUntilALevelIsSet) {
  _dist_mxr_struct mxr;
  dist_mxr_init(&mxr);
  EXPECT_EQ(dist_mxr_get_attr(&mxr, ATTR_MXR_GAIN), 0.0f);
  EXPECT_EQ(dist_mxr_get_attr(&mxr, ATTR_MXR_LEVEL), 0.0f);
  for (float x : {0.0f, 0.5f, -1.0f, kNaN}) EXPECT_EQ(dist_mxr_dsp(&mxr, x), 0.0f) << x;
}

TEST_F(MxrClipper, OnlyGainAndLevelAreAttributes) {
  EXPECT_EQ(dist_mxr_get_attr(&mxr_, ATTR_MXR_GAIN), 1.0f);
  EXPECT_EQ(dist_mxr_get_attr(&mxr_, ATTR_MXR_LEVEL), 0.25f);
  EXPECT_EQ(dist_mxr_get_attr(&mxr_, 631), 0.0f);
  dist_mxr_set_attr(&mxr_, 631, 9.0f);
  dist_mxr_set_attr(&mxr_, ATTR_CUTOFF, 9.0f);
  EXPECT_EQ(mxr_.gain, 1.0f);
  EXPECT_EQ(mxr_.level, 0.25f);
  EXPECT_EQ(dist_mxr_get_attr(&mxr_, 631), 0.0f);
}

TEST_F(MxrClipper, WildValuesStayOnTheCurve) {
  const float wild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 0.0f, -0.0f, 1e-45f, 0.02f, -0.7f, 1.0f, 3e38f};
  std::mt19937 rng(23);
  std::uniform_int_distribution<int> pick(0, 11);
  for (int k = 0; k < 20000; ++k) {
    const float gain = wild[pick(rng)];
    dist_mxr_set_attr(&mxr_, ATTR_MXR_GAIN, gain);
    const float y = dist_mxr_dsp(&mxr_, wild[pick(rng)]);
    // whatever the drive and input, the output is a point of the curve times the level
    ASSERT_GE(y, -0.988682f * 0.25f);
    ASSERT_LE(y, 0.980730f * 0.25f);
  }
}

}  // namespace
