#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "dsp/filter_biquad.h"
#include "dsp/filter_probe.h"
#include "dsp/sampling_rate_guard.h"

namespace {

using filter_probe::kInf;
using filter_probe::kNaN;
using Filter = _filter_biquad_struct;

constexpr double kTwoPi = 6.283185307179586;

enum { kLowPass, kHighPass, kBandPassQ, kNotch, kPeaking, kAllPass, kBandPass, kLowShelf, kHighShelf };

// Response of the coefficients at w radians per sample, in double precision.
std::complex<double> Response(const Filter& f, double w) {
  const std::complex<double> z1 = std::polar(1.0, -w);
  const std::complex<double> z2 = z1 * z1;
  return (double{f.num0} + double{f.num1} * z1 + double{f.num2} * z2) /
         (double{f.den0} + double{f.den1} * z1 + double{f.den2} * z2);
}

class Biquad : public ::testing::Test {
 protected:
  void SetUp() override { qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f); }

  static Filter Make(int type, float frequency, int32_t bandwidth_id, float bandwidth, float gain_db) {
    Filter f;
    filter_biquad_init(&f);
    filter_biquad_set_attr(&f, ATTR_FILTER_TYPE, static_cast<float>(type));
    filter_biquad_set_attr(&f, ATTR_GAIN_DB, gain_db);
    filter_biquad_set_attr(&f, ATTR_CUTOFF, frequency);
    filter_biquad_set_attr(&f, bandwidth_id, bandwidth);
    return f;
  }
  static bool SameCoefficients(const Filter& a, const Filter& b) {
    return a.num0 == b.num0 && a.num1 == b.num1 && a.num2 == b.num2 && a.den0 == b.den0 &&
           a.den1 == b.den1 && a.den2 == b.den2 && a.inv_den0 == b.inv_den0;
  }

 private:
  SamplingRateGuard rateGuard_;
};

TEST_F(Biquad, InitGivesA1000HzLowPassWithQ1) {
  Filter f;
  filter_biquad_init(&f);
  const float omega = static_cast<float>(1000.0 * kTwoPi * double{gAudioSamplingRateReciprocal});
  const float sw = std::sin(omega);
  const float cw = std::cos(omega);
  const float alpha = sw / (1.0f + 1.0f);
  EXPECT_EQ(f.frequency, 1000.0f);
  EXPECT_EQ(f.resonance, 1.0f);
  EXPECT_EQ(f.amplitude, 1.0f);
  EXPECT_EQ(f.type, 0);
  EXPECT_EQ(f.bandwidth_mode, kBiquadBandwidthQ);
  EXPECT_EQ(f.gain_db, 0.0f);
  EXPECT_EQ(f.bandwidth, 0.0f);
  EXPECT_EQ(f.slope, 0.0f);
  EXPECT_EQ(f.omega, omega);
  EXPECT_EQ(f.alpha, alpha);
  EXPECT_EQ(f.num0, (1.0f - cw) * 0.5f);
  EXPECT_EQ(f.num1, 1.0f - cw);
  EXPECT_EQ(f.num2, f.num0);
  EXPECT_EQ(f.den0, 1.0f + alpha);
  EXPECT_EQ(f.den1, -2.0f * cw);
  EXPECT_EQ(f.den2, 1.0f - alpha);
  EXPECT_EQ(f.inv_den0, 1.0f / f.den0);
  EXPECT_EQ(f.output, 0.0f);
  float y = 0.0f;
  for (int i = 0; i < 5000; ++i) y = filter_biquad_dsp(&f, 1.0f);
  EXPECT_NEAR(y, 1.0f, 1e-5f);
}

// Every response at 0 Hz, at half the rate and at its own frequency, for a Q,
// a bandwidth in octaves and a shelf slope: these numbers are what each
// cookbook response is designed to give (A^2 is the gain, A its square root).
TEST_F(Biquad, ResponsesAtDcNyquistAndCentre) {
  const double a = std::pow(10.0, 6.0 / 40.0);
  constexpr double q = 2.0;
  struct Case {
    int type;
    int32_t bandwidth_id;
    float bandwidth;
    double dc, nyquist, centre;
  };
  const Case cases[] = {
      {kLowPass, ATTR_RESONANCE, 2.0f, 1.0, 0.0, q},
      {kHighPass, ATTR_RESONANCE, 2.0f, 0.0, 1.0, q},
      {kBandPassQ, ATTR_RESONANCE, 2.0f, 0.0, 0.0, q},
      {kNotch, ATTR_RESONANCE, 2.0f, 1.0, 1.0, 0.0},
      {kPeaking, ATTR_RESONANCE, 2.0f, 1.0, 1.0, a * a},
      {kAllPass, ATTR_RESONANCE, 2.0f, 1.0, 1.0, 1.0},
      {kBandPass, ATTR_RESONANCE, 2.0f, 0.0, 0.0, 1.0},
      {kLowShelf, ATTR_RESONANCE, 2.0f, a * a, 1.0, a},
      {kHighShelf, ATTR_RESONANCE, 2.0f, 1.0, a * a, a},
      {kPeaking, ATTR_BANDWIDTH, 1.0f, 1.0, 1.0, a * a},
      {kBandPass, ATTR_BANDWIDTH, 1.0f, 0.0, 0.0, 1.0},
      {kNotch, ATTR_BANDWIDTH, 0.5f, 1.0, 1.0, 0.0},
      {kLowShelf, ATTR_BANDWIDTH, 2.0f, a * a, 1.0, a},
      {kHighShelf, ATTR_BANDWIDTH, 2.0f, 1.0, a * a, a},
      {kLowShelf, ATTR_SHELF_SLOPE, 1.0f, a * a, 1.0, a},
      {kLowShelf, ATTR_SHELF_SLOPE, 0.4f, a * a, 1.0, a},
      {kHighShelf, ATTR_SHELF_SLOPE, 1.0f, 1.0, a * a, a},
      {kHighShelf, ATTR_SHELF_SLOPE, 1.5f, 1.0, a * a, a},
  };
  for (const Case& c : cases) {
    Filter f = Make(c.type, 1000.0f, c.bandwidth_id, c.bandwidth, 6.0f);
    const double w = double{f.omega};
    SCOPED_TRACE(testing::Message() << "type " << c.type << ", attribute " << c.bandwidth_id << " "
                                    << c.bandwidth);
    EXPECT_NEAR(std::abs(Response(f, 0.0)), c.dc, 2e-4);
    EXPECT_NEAR(std::abs(Response(f, 3.141592653589793)), c.nyquist, 2e-4);
    EXPECT_NEAR(std::abs(Response(f, w)), c.centre, 2e-4 * (1.0 + c.centre));
  }
  // the all-pass turns the phase half round at its frequency
  const Filter allpass = Make(kAllPass, 1000.0f, ATTR_RESONANCE, 2.0f, 0.0f);
  EXPECT_NEAR(Response(allpass, double{allpass.omega}).real(), -1.0, 1e-4);
}

// The shelf term obeys beta sin(omega) = 2 sqrt(A) alpha in every mode, and
// the slope S = 1 is the steepest shelf without overshoot, the same as
// Q = 1/sqrt(2); in general slope S matches Q = 1 / sqrt((A + 1/A)(1/S - 1) + 2).
TEST_F(Biquad, ShelfTermAndSlope) {
  for (int32_t id : {ATTR_RESONANCE, ATTR_BANDWIDTH, ATTR_SHELF_SLOPE}) {
    Filter f = Make(kLowShelf, 2000.0f, id, 0.8f, -9.0f);
    EXPECT_NEAR(double{f.beta} * f.sin_omega, 2.0 * std::sqrt(double{f.amplitude}) * f.alpha, 1e-6)
        << id;
  }
  for (float gain : {-12.0f, 3.0f, 12.0f}) {
    for (float slope : {0.5f, 1.0f, 1.2f}) {
      const double a = std::pow(10.0, gain / 40.0);
      const double equivalent_q = 1.0 / std::sqrt((a + 1.0 / a) * (1.0 / slope - 1.0) + 2.0);
      const Filter by_slope = Make(kHighShelf, 1500.0f, ATTR_SHELF_SLOPE, slope, gain);
      const Filter by_q = Make(kHighShelf, 1500.0f, ATTR_RESONANCE, static_cast<float>(equivalent_q), gain);
      SCOPED_TRACE(testing::Message() << gain << " dB, slope " << slope);
      EXPECT_NEAR(by_slope.alpha, by_q.alpha, 1e-6f);
      EXPECT_NEAR(by_slope.beta, by_q.beta, 1e-5f);
      EXPECT_NEAR(by_slope.num1 / by_slope.den0, by_q.num1 / by_q.den0, 1e-5f);
      EXPECT_NEAR(by_slope.den2 / by_slope.den0, by_q.den2 / by_q.den0, 1e-5f);
    }
  }
  const Filter s1 = Make(kLowShelf, 1500.0f, ATTR_SHELF_SLOPE, 1.0f, 8.0f);
  EXPECT_NEAR(s1.alpha, s1.sin_omega / std::sqrt(2.0f), 1e-6f);
}

// Octave bandwidth in double precision, rounded to single; the gain's
// quotient in single precision, its power in double.
TEST_F(Biquad, OctaveBandwidthAndGainPrecision) {
  Filter f = Make(kPeaking, 3000.0f, ATTR_BANDWIDTH, 1.5f, -7.3f);
  const double sw = f.sin_omega;
  const float alpha = static_cast<float>(sw * std::sinh(0.6931471805599453 * 0.5 * 1.5 * f.omega / sw));
  EXPECT_EQ(f.alpha, alpha);
  EXPECT_EQ(f.amplitude, static_cast<float>(std::pow(10.0, double{-7.3f / 40.0f})));
  EXPECT_EQ(f.num0, 1.0f + alpha * f.amplitude);
  EXPECT_EQ(f.den2, 1.0f - alpha / f.amplitude);
}

// The recursion: normalised products, accumulated in the stated order.
TEST_F(Biquad, FirstSamplesFollowTheRecursion) {
  Filter f = Make(kPeaking, 800.0f, ATTR_RESONANCE, 3.0f, 9.0f);
  const float i = f.inv_den0;
  const float x[] = {1.0f, -0.5f, 0.25f, 0.8f};
  float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (float v : x) {
    float y = (i * f.num0) * v;
    y = y + (i * f.num1) * x1;
    y = y + (i * f.num2) * x2;
    y = y - (i * f.den1) * y1;
    y = y - (i * f.den2) * y2;
    ASSERT_EQ(filter_biquad_dsp(&f, v), y);
    x2 = x1;
    x1 = v;
    y2 = y1;
    y1 = y;
  }
  EXPECT_EQ(filter_biquad_get_output(&f), y1);
  EXPECT_EQ(f.x2, x2);
  EXPECT_EQ(f.y2, y2);
}

TEST_F(Biquad, PeakingAtZeroDecibelsPassesTheInput) {
  Filter f = Make(kPeaking, 1200.0f, ATTR_RESONANCE, 0.7f, 0.0f);
  EXPECT_EQ(f.amplitude, 1.0f);
  EXPECT_EQ(f.num0, f.den0);
  EXPECT_EQ(f.num2, f.den2);
  for (int n = 0; n < 1000; ++n) {
    const float x = std::sin(0.31f * n);
    ASSERT_NEAR(filter_biquad_dsp(&f, x), x, 3e-6f) << n;
  }
}

// A value equal to the stored one recomputes nothing, so a direct load
// stays in force; a different one recomputes.
TEST_F(Biquad, SettingTheStoredValueAgainRecomputesNothing) {
  struct Case {
    int32_t id;
    float same, other;
  };
  const Case cases[] = {
      {ATTR_CUTOFF, 1000.0f, 1001.0f},  {ATTR_RESONANCE, 1.0f, 1.1f}, {ATTR_FILTER_TYPE, 0.0f, 1.0f},
      {ATTR_GAIN_DB, 0.0f, 1.0f},       {ATTR_SHELF_SLOPE, 0.0f, 1.0f}, {ATTR_BANDWIDTH, 0.0f, 1.0f},
  };
  for (const Case& c : cases) {
    Filter f;
    filter_biquad_init(&f);
    filter_biquad_set_coeffs(&f, 2.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f);
    filter_biquad_set_attr(&f, c.id, c.same);
    SCOPED_TRACE(c.id);
    EXPECT_EQ(f.den0, 2.0f);
    EXPECT_EQ(f.num2, 0.5f);
    EXPECT_EQ(f.bandwidth_mode, kBiquadBandwidthQ);
    filter_biquad_set_attr(&f, c.id, c.other);
    EXPECT_NE(f.num2, 0.5f);
  }
  // an id the filter does not know recomputes without storing anything
  Filter f;
  filter_biquad_init(&f);
  filter_biquad_set_coeffs(&f, 2.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f);
  filter_biquad_set_attr(&f, ATTR_MORPH, 0.5f);
  Filter fresh;
  filter_biquad_init(&fresh);
  EXPECT_TRUE(SameCoefficients(f, fresh));
}

TEST_F(Biquad, BandwidthModeFollowsTheLastChangedSetting) {
  Filter f;
  filter_biquad_init(&f);
  filter_biquad_set_attr(&f, ATTR_BANDWIDTH, 1.0f);
  EXPECT_EQ(f.bandwidth_mode, kBiquadBandwidthOctaves);
  filter_biquad_set_attr(&f, ATTR_RESONANCE, 1.0f);  // unchanged: no switch
  EXPECT_EQ(f.bandwidth_mode, kBiquadBandwidthOctaves);
  filter_biquad_set_attr(&f, ATTR_SHELF_SLOPE, 1.0f);
  EXPECT_EQ(f.bandwidth_mode, kBiquadBandwidthSlope);
  filter_biquad_set_attr(&f, ATTR_RESONANCE, 2.0f);
  EXPECT_EQ(f.bandwidth_mode, kBiquadBandwidthQ);
  EXPECT_EQ(f.alpha, f.sin_omega / 4.0f);
}

TEST_F(Biquad, UnknownTypesKeepTheCoefficients) {
  for (float type : {9.0f, 100.0f, -1.0f, 1e20f}) {
    Filter f = Make(kNotch, 1000.0f, ATTR_RESONANCE, 2.0f, 0.0f);
    const Filter before = f;
    filter_biquad_set_attr(&f, ATTR_FILTER_TYPE, type);
    SCOPED_TRACE(type);
    EXPECT_NE(f.type, kNotch);
    EXPECT_TRUE(SameCoefficients(f, before));
    filter_biquad_set_attr(&f, ATTR_CUTOFF, 2000.0f);  // recomputes all but the response
    EXPECT_TRUE(SameCoefficients(f, before));
    EXPECT_NE(f.omega, before.omega);
  }
  // NaN truncates to type 0
  Filter f = Make(kNotch, 1000.0f, ATTR_RESONANCE, 2.0f, 0.0f);
  filter_biquad_set_attr(&f, ATTR_FILTER_TYPE, kNaN);
  EXPECT_EQ(f.type, kLowPass);
  EXPECT_TRUE(SameCoefficients(f, Make(kLowPass, 1000.0f, ATTR_RESONANCE, 2.0f, 0.0f)));
}

TEST_F(Biquad, GetAttrIsAlwaysZero) {
  Filter f = Make(kPeaking, 1000.0f, ATTR_RESONANCE, 2.0f, 6.0f);
  const int32_t ids[] = {ATTR_CUTOFF, ATTR_RESONANCE, ATTR_FILTER_TYPE, ATTR_GAIN_DB, 12345};
  for (int32_t id : ids) {
    EXPECT_EQ(filter_biquad_get_attr(&f, id), 0.0f) << id;
  }
}

TEST_F(Biquad, SetCoeffsLoadsAsGiven) {
  Filter f;
  filter_biquad_init(&f);
  filter_biquad_set_coeffs(&f, 4.0f, -1.0f, 0.5f, 2.0f, 1.0f, -1.0f);
  EXPECT_EQ(f.den0, 4.0f);
  EXPECT_EQ(f.num1, 1.0f);
  EXPECT_EQ(f.inv_den0, 0.25f);
  EXPECT_EQ(f.type, 0);
  EXPECT_EQ(f.frequency, 1000.0f);
  EXPECT_EQ(filter_biquad_dsp(&f, 1.0f), 0.5f);
  EXPECT_EQ(filter_biquad_dsp(&f, 0.0f), 0.25f - (-0.25f * 0.5f));
  // unusable loads are refused
  const Filter before = f;
  const float bad[][6] = {{0.0f, 0, 0, 1, 0, 0},
                          {kNaN, 0, 0, 1, 0, 0},
                          {1.0f, kInf, 0, 1, 0, 0},
                          {1.0f, 0, 0, 1, 0, kNaN},
                          {1e-30f, 0, 0, 1e30f, 0, 0}};  // 1e60 once normalised
  for (const auto& c : bad) {
    filter_biquad_set_coeffs(&f, c[0], c[1], c[2], c[3], c[4], c[5]);
    EXPECT_TRUE(SameCoefficients(f, before)) << c[0] << " " << c[3];
  }
}

TEST_F(Biquad, LinkCopiesSettingsButNotTypeModeOrState) {
  Filter source = Make(kHighShelf, 3000.0f, ATTR_SHELF_SLOPE, 0.9f, 5.0f);
  Filter destination = Make(kBandPass, 300.0f, ATTR_BANDWIDTH, 2.0f, -3.0f);
  for (int i = 0; i < 20; ++i) filter_biquad_dsp(&destination, 1.0f);
  const float y1 = destination.y1;
  filter_biquad_link(&source, &destination);
  EXPECT_TRUE(SameCoefficients(source, destination));
  EXPECT_EQ(destination.frequency, 3000.0f);
  EXPECT_EQ(destination.gain_db, 5.0f);
  EXPECT_EQ(destination.slope, 0.9f);
  EXPECT_EQ(destination.bandwidth, source.bandwidth);
  EXPECT_EQ(destination.amplitude, source.amplitude);
  EXPECT_EQ(destination.beta, source.beta);
  EXPECT_EQ(destination.alpha, source.alpha);
  EXPECT_EQ(destination.type, kBandPass);
  EXPECT_EQ(destination.bandwidth_mode, kBiquadBandwidthOctaves);
  EXPECT_EQ(destination.y1, y1);
}

TEST_F(Biquad, ClearSilencesButKeepsTheSettings) {
  Filter f = Make(kHighPass, 500.0f, ATTR_RESONANCE, 0.7f, 0.0f);
  for (int i = 0; i < 20; ++i) filter_biquad_dsp(&f, 1.0f);
  const Filter before = f;
  filter_biquad_clear(&f);
  EXPECT_EQ(f.x1, 0.0f);
  EXPECT_EQ(f.x2, 0.0f);
  EXPECT_EQ(f.y1, 0.0f);
  EXPECT_EQ(f.y2, 0.0f);
  EXPECT_EQ(f.output, 0.0f);
  EXPECT_TRUE(SameCoefficients(f, before));
  EXPECT_EQ(filter_biquad_dsp(&f, 1.0f), (f.inv_den0 * f.num0) * 1.0f);
  filter_biquad_free(&f);
}

// Values that are not finite, and frequencies of zero or less, are ignored
// outright; settings whose coefficients would not be finite are stored, but
// the coefficients stay as they were.
TEST_F(Biquad, UnusableSettingsLeaveTheCoefficients) {
  struct Case {
    int type;
    int32_t id;
    float value;
    bool stored;
  };
  const Case cases[] = {
      {kLowPass, ATTR_CUTOFF, kNaN, false},       {kLowPass, ATTR_CUTOFF, kInf, false},
      {kLowPass, ATTR_CUTOFF, 0.0f, false},       {kLowPass, ATTR_CUTOFF, -50.0f, false},
      {kLowPass, ATTR_RESONANCE, kNaN, false},    {kLowPass, ATTR_RESONANCE, -kInf, false},
      {kLowPass, ATTR_GAIN_DB, kInf, false},      {kLowPass, ATTR_SHELF_SLOPE, kNaN, false},
      {kLowPass, ATTR_BANDWIDTH, kInf, false},
      {kLowPass, ATTR_RESONANCE, 0.0f, true},     // alpha = sin / 0
      {kLowPass, ATTR_RESONANCE, 1e-40f, true},   // alpha overflows
      {kBandPass, ATTR_BANDWIDTH, 1e6f, true},    // sinh overflows
      {kLowShelf, ATTR_SHELF_SLOPE, 10.0f, true}, // too steep for 12 dB: root of a negative
      {kPeaking, ATTR_GAIN_DB, 3000.0f, true},    // A infinite
      {kPeaking, ATTR_GAIN_DB, -3000.0f, true},   // A = 0, alpha / A infinite
  };
  for (const Case& c : cases) {
    Filter f = Make(c.type, 1000.0f, ATTR_RESONANCE, 2.0f, 12.0f);
    const Filter before = f;
    filter_biquad_set_attr(&f, c.id, c.value);
    SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.id << " " << c.value);
    EXPECT_TRUE(SameCoefficients(f, before));
    EXPECT_EQ(f.alpha, before.alpha);
    if (!c.stored) {
      EXPECT_EQ(f.frequency, before.frequency);
      EXPECT_EQ(f.resonance, before.resonance);
      EXPECT_EQ(f.gain_db, before.gain_db);
      EXPECT_EQ(f.bandwidth_mode, before.bandwidth_mode);
    }
  }
}

// At half the rate and above, the sine of omega would be zero or negative
// and the poles would leave the unit circle: tuned as 0.499 of the rate.
TEST_F(Biquad, FrequenciesFromHalfTheRateUpAreTunedJustBelowIt) {
  const float limit = static_cast<float>(0.499 * kTwoPi);
  for (float frequency : {22050.0f, 22051.0f, 30000.0f, 50000.0f, 1e30f}) {
    for (int type : {kLowPass, kPeaking, kHighShelf}) {
      Filter f = Make(type, frequency, ATTR_RESONANCE, 0.7f, 6.0f);
      SCOPED_TRACE(testing::Message() << frequency << " Hz, type " << type);
      EXPECT_EQ(f.frequency, frequency);
      EXPECT_EQ(f.omega, limit);
      EXPECT_GT(f.sin_omega, 0.0f);
      float peak = 0.0f;
      for (int n = 0; n < 20000; ++n) peak = std::fmax(peak, std::fabs(filter_biquad_dsp(&f, n & 1 ? 1.0f : -1.0f)));
      EXPECT_LT(peak, 10.0f);
    }
  }
  // just below, the frequency is taken as it is
  const Filter below = Make(kLowPass, 22000.0f, ATTR_RESONANCE, 0.7f, 0.0f);
  EXPECT_EQ(below.omega, static_cast<float>(22000.0 * kTwoPi * double{gAudioSamplingRateReciprocal}));
}

TEST_F(Biquad, ABrokenSamplingRateGivesASilentFilter) {
  for (float rate : {0.0f, -44100.0f, kNaN, kInf}) {
    qmx_set_attr(ATTR_SAMPLING_RATE, rate);
    Filter f;
    filter_biquad_init(&f);
    filter_biquad_set_attr(&f, ATTR_CUTOFF, 500.0f);
    SCOPED_TRACE(rate);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(filter_biquad_dsp(&f, 1.0f), 0.0f);
  }
}

}  // namespace
