#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "dsp/dist_shapers.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

bool SameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

// ---------------------------------------------------------------------------
// dist_clip

TEST(HardClipper, TransferPoints) {
  const struct {
    float gain, low, high;  // 0 low/high: the defaults
    float x, y;
  } cases[] = {
      {1.0f, -0.9f, 0.9f, 0.95f, 0.9f},   {1.0f, -0.9f, 0.9f, -2.0f, -0.9f},
      {1.0f, -0.9f, 0.9f, 0.5f, 0.5f},    {1.0f, -0.9f, 0.9f, 0.9f, 0.9f},
      {1.0f, -0.9f, 0.9f, -0.9f, -0.9f},  {2.0f, -0.9f, 0.9f, 0.3f, 0.6f},
      {2.0f, -0.9f, 0.9f, 0.5f, 0.9f},    {2.0f, -0.9f, 0.9f, -0.3f, -0.6f},
      {-1.0f, -0.9f, 0.9f, 0.95f, -0.9f}, {1.0f, -0.2f, 0.5f, 0.7f, 0.5f},
      {1.0f, -0.2f, 0.5f, -0.7f, -0.2f},  {1.0f, 0.5f, -0.5f, 0.0f, -0.5f},  // crossed limits
      {1.0f, 0.5f, -0.5f, 0.9f, -0.5f},   {1.0f, 0.5f, -0.5f, -0.9f, 0.5f},
      {1.0f, -0.9f, 0.9f, kInf, 0.9f},    {1.0f, -0.9f, 0.9f, -kInf, -0.9f},
      {1.0f, -0.9f, 0.9f, kNaN, -0.9f},   {0.0f, -0.9f, 0.9f, kInf, -0.9f},  // 0 x inf is NaN
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "gain " << c.gain << " limits " << c.low << ".." << c.high
                                    << " x " << c.x);
    _dist_clip_struct clip;
    dist_clip_init(&clip);
    dist_clip_set_attr(&clip, ATTR_CLIP_GAIN, c.gain);
    dist_clip_set_attr(&clip, ATTR_CLIP_LOW, c.low);
    dist_clip_set_attr(&clip, ATTR_CLIP_HIGH, c.high);
    EXPECT_EQ(dist_clip_dsp(&clip, c.x), c.y);
    EXPECT_EQ(dist_clip_get_output(&clip), c.y);
    dist_clip_free(&clip);
  }
}

TEST(HardClipper, DefaultsAndAttributes) {
  _dist_clip_struct clip;
  dist_clip_init(&clip);
  EXPECT_EQ(dist_clip_get_attr(&clip, ATTR_CLIP_HIGH), 0.9f);
  EXPECT_EQ(dist_clip_get_attr(&clip, ATTR_CLIP_LOW), -0.9f);
  EXPECT_EQ(dist_clip_get_attr(&clip, ATTR_CLIP_GAIN), 1.0f);
  EXPECT_EQ(dist_clip_get_output(&clip), 0.0f);
  EXPECT_EQ(dist_clip_get_attr(&clip, 602), 0.0f);
  dist_clip_set_attr(&clip, 602, 5.0f);
  dist_clip_set_attr(&clip, ATTR_MXR_GAIN, 5.0f);
  EXPECT_EQ(dist_clip_get_attr(&clip, ATTR_CLIP_HIGH), 0.9f);
  EXPECT_EQ(dist_clip_get_attr(&clip, ATTR_CLIP_LOW), -0.9f);
  EXPECT_EQ(dist_clip_get_attr(&clip, ATTR_CLIP_GAIN), 1.0f);
  dist_clip_set_attr(&clip, ATTR_CLIP_HIGH, 0.25f);
  dist_clip_set_attr(&clip, ATTR_CLIP_LOW, -0.125f);
  dist_clip_set_attr(&clip, ATTR_CLIP_GAIN, 3.0f);
  EXPECT_EQ(dist_clip_get_attr(&clip, ATTR_CLIP_HIGH), 0.25f);
  EXPECT_EQ(dist_clip_get_attr(&clip, ATTR_CLIP_LOW), -0.125f);
  EXPECT_EQ(dist_clip_get_attr(&clip, ATTR_CLIP_GAIN), 3.0f);
}

// ---------------------------------------------------------------------------
// dist_warp_parabola

TEST(ParabolaShaper, TransferPoints) {
  const struct {
    float x, y;
  } cases[] = {
      {0.5f, 0.75f},   {-0.5f, -0.75f},  {2.0f, 1.0f},      {-2.0f, -1.0f},   {1.0f, 1.0f},
      {-1.0f, -1.0f},  {0.0f, 0.0f},     {0.25f, 0.4375f},  {-0.75f, -0.9375f}, {kInf, 1.0f},
      {-kInf, -1.0f},  {1.0000001f, 1.0f},
  };
  _dist_warp_parabola_struct warp;
  dist_warp_parabola_init(&warp);
  EXPECT_EQ(dist_warp_parabola_get_output(&warp), 0.0f);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(dist_warp_parabola_dsp(&warp, c.x), c.y);
    EXPECT_EQ(dist_warp_parabola_get_output(&warp), c.y);
  }
  // The squares are double: a tiny input keeps its slope of 2 instead of
  // vanishing in 1 - (x - 1)^2 formed in single precision.
  EXPECT_NEAR(dist_warp_parabola_dsp(&warp, 1e-10f), 2e-10f, 1e-16f);
  EXPECT_NEAR(dist_warp_parabola_dsp(&warp, -1e-10f), -2e-10f, 1e-16f);
  EXPECT_TRUE(std::isnan(dist_warp_parabola_dsp(&warp, kNaN)));
  dist_warp_parabola_free(&warp);
}

TEST(ParabolaShaper, IsTwoXMinusXAbsXAndOddAndRising) {
  _dist_warp_parabola_struct warp;
  dist_warp_parabola_init(&warp);
  float previous = -1.0f;
  for (int i = -1000; i <= 1000; ++i) {
    const float x = static_cast<float>(i) / 1000.0f;
    const float y = dist_warp_parabola_dsp(&warp, x);
    const double exact = 2.0 * x - static_cast<double>(x) * std::fabs(static_cast<double>(x));
    ASSERT_NEAR(y, exact, 1e-7) << x;
    if (x != 0.0f) {
      ASSERT_EQ(dist_warp_parabola_dsp(&warp, -x), -y) << x;
    }
    ASSERT_GE(y, previous) << x;
    previous = y;
  }
}

// ---------------------------------------------------------------------------
// dist_warp_sine

TEST(SineFolder, TransferPoints) {
  const struct {
    float frequency, x, y;
    float tolerance;
  } cases[] = {
      {1.0f, 0.25f, 1.0f, 0.0f},   {1.0f, -0.25f, -1.0f, 0.0f}, {1.0f, 0.0f, 0.0f, 0.0f},
      {1.0f, 0.5f, 0.0f, 1e-15f},  {1.0f, 0.125f, 0.70710677f, 0.0f},
      {1.0f, 0.75f, -1.0f, 0.0f},  // folded back
      {0.25f, 1.0f, 1.0f, 0.0f},   {0.25f, -1.0f, -1.0f, 0.0f}, {2.0f, 0.125f, 1.0f, 0.0f},
      {1.0f, 10.25f, 1.0f, 1e-6f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "frequency " << c.frequency << " x " << c.x);
    _dist_warp_sine_struct warp;
    dist_warp_sine_init(&warp);
    dist_warp_sine_set_attr(&warp, ATTR_WARP_FREQUENCY, c.frequency);
    const float y = dist_warp_sine_dsp(&warp, c.x);
    EXPECT_NEAR(y, c.y, c.tolerance);
    EXPECT_EQ(dist_warp_sine_get_output(&warp), y);
    dist_warp_sine_free(&warp);
  }
}

TEST(SineFolder, DefaultsAndAttributes) {
  _dist_warp_sine_struct warp;
  dist_warp_sine_init(&warp);
  EXPECT_EQ(dist_warp_sine_get_attr(&warp, ATTR_WARP_FREQUENCY), 1.0f);
  EXPECT_EQ(warp.omega, 6.283185307179586);
  EXPECT_EQ(dist_warp_sine_get_output(&warp), 0.0f);
  dist_warp_sine_set_attr(&warp, ATTR_WARP_FREQUENCY, 0.3f);
  EXPECT_EQ(warp.omega, static_cast<double>(0.3f) * 6.283185307179586);
  dist_warp_sine_set_attr(&warp, ATTR_CLIP_GAIN, 5.0f);
  EXPECT_EQ(dist_warp_sine_get_attr(&warp, ATTR_WARP_FREQUENCY), 0.3f);
  EXPECT_EQ(dist_warp_sine_get_attr(&warp, ATTR_CLIP_GAIN), 0.0f);
}

TEST(SineFolder, MatchesTheLibrarySineRoundedToSingle) {
  // sin(x * omega) in double, rounded: the same bits as the C library's sine.
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> input(-2.0f, 2.0f);
  for (float frequency : {1.0f, 0.25f, 3.7f, 440.0f, -1.5f}) {
    _dist_warp_sine_struct warp;
    dist_warp_sine_init(&warp);
    dist_warp_sine_set_attr(&warp, ATTR_WARP_FREQUENCY, frequency);
    for (int i = 0; i < 200000; ++i) {
      const float x = input(rng);
      const float want = static_cast<float>(std::sin(static_cast<double>(x) * warp.omega));
      ASSERT_TRUE(SameBits(dist_warp_sine_dsp(&warp, x), want)) << "frequency " << frequency << " x " << x;
    }
    // Signed zeros keep their sign.
    EXPECT_TRUE(SameBits(dist_warp_sine_dsp(&warp, -0.0f), static_cast<float>(std::sin(-0.0 * warp.omega))));
    EXPECT_TRUE(SameBits(dist_warp_sine_dsp(&warp, 0.0f), static_cast<float>(std::sin(0.0 * warp.omega))));
  }
}

// ---------------------------------------------------------------------------
// Random attributes and inputs, wild ones included: no crash, and finite,
// bounded outputs wherever the attributes and the input are finite.

TEST(ShapersProperty, WildValuesNeverCrashAndFiniteInputsGiveBoundedOutputs) {
  const float wild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 3e38f, 0.0f, -0.0f, 1e-40f,
                        0.5f, -0.9f, 1.0f, 2.0f, -7.0f, 440.0f, 1e6f};
  std::mt19937 rng(23);
  std::uniform_int_distribution<size_t> pick(0, std::size(wild) - 1);
  std::uniform_real_distribution<float> sample(-3.0f, 3.0f);
  std::uniform_int_distribution<int> coin(0, 9);
  _dist_clip_struct clip;
  dist_clip_init(&clip);
  _dist_warp_parabola_struct parabola;
  dist_warp_parabola_init(&parabola);
  _dist_warp_sine_struct sine;
  dist_warp_sine_init(&sine);
  const int32_t clip_ids[] = {ATTR_CLIP_LOW, ATTR_CLIP_HIGH, ATTR_CLIP_GAIN};
  for (int i = 0; i < 200000; ++i) {
    if (coin(rng) == 0) dist_clip_set_attr(&clip, clip_ids[coin(rng) % 3], wild[pick(rng)]);
    if (coin(rng) == 0) dist_warp_sine_set_attr(&sine, ATTR_WARP_FREQUENCY, wild[pick(rng)]);
    const float x = coin(rng) < 3 ? wild[pick(rng)] : sample(rng);

    const float c = dist_clip_dsp(&clip, x);
    if (std::isfinite(clip.clip_low) && std::isfinite(clip.clip_high)) {
      ASSERT_TRUE(c == clip.clip_low || c == clip.clip_high ||
                  (c >= clip.clip_low && c <= clip.clip_high))
          << c;
    }
    const float p = dist_warp_parabola_dsp(&parabola, x);
    if (!std::isnan(x)) {
      ASSERT_GE(p, -1.0f);
      ASSERT_LE(p, 1.0f);
    }
    const float s = dist_warp_sine_dsp(&sine, x);
    if (std::isfinite(static_cast<double>(x) * sine.omega)) {
      ASSERT_GE(s, -1.0f) << x << " " << sine.frequency;
      ASSERT_LE(s, 1.0f) << x << " " << sine.frequency;
    }
  }
}

}  // namespace
