#include <gtest/gtest.h>

#include <cmath>

#include "dsp/filter_2_pole_low_pass.h"
#include "dsp/filter_probe.h"
#include "dsp/sampling_rate_guard.h"

namespace {

using filter_probe::kDc;
using filter_probe::kInf;
using filter_probe::kNaN;
using filter_probe::kNyquist;
using Filter = _filter_2_pole_low_pass_struct;

class TwoPoleLowPass : public ::testing::Test {
 protected:
  void SetUp() override { qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f); }

  static Filter Make(float cutoff, float resonance) {
    Filter f;
    filter_2_pole_low_pass_init(&f);
    filter_2_pole_low_pass_set_attr(&f, ATTR_CUTOFF, cutoff);
    filter_2_pole_low_pass_set_attr(&f, ATTR_RESONANCE, resonance);
    return f;
  }
  static double Gain(Filter f, double cycles) {
    return filter_probe::SettledGain([&](float x) { return filter_2_pole_low_pass_dsp(&f, x); }, cycles);
  }

 private:
  SamplingRateGuard rateGuard_;
};

TEST_F(TwoPoleLowPass, DefaultsAfterInit) {
  Filter f;
  filter_2_pole_low_pass_init(&f);
  EXPECT_EQ(filter_2_pole_low_pass_get_attr(&f, ATTR_CUTOFF), 1000.0f);
  EXPECT_EQ(filter_2_pole_low_pass_get_attr(&f, ATTR_RESONANCE), 1.0f);
  EXPECT_EQ(filter_2_pole_low_pass_get_attr(&f, ATTR_FILTER_TYPE), 0.0f);
  EXPECT_NEAR(f.a1, 1.8436090, 1e-7);
  EXPECT_NEAR(f.a2, 0.8672085, 1e-7);
  EXPECT_NEAR(f.input_gain, 0.0235995, 1e-7);
  EXPECT_EQ(f.k, -1.0);
  EXPECT_EQ(f.output, 0.0f);
}

// Every coefficient in double precision from omega = 2 pi fc / rate and
// k = -1/Q (or -1000 for a Q up to 0.001), to the last bit.
TEST_F(TwoPoleLowPass, CoefficientsInDoublePrecision) {
  struct Case {
    float rate, cutoff, resonance;
    double k;
  };
  const Case cases[] = {
      {44100.0f, 1000.0f, 1.0f, -1.0},      {48000.0f, 250.0f, 0.5f, -2.0},
      {96000.0f, 5000.0f, 8.0f, -0.125},    {44100.0f, 300.0f, 0.001f, -1000.0},
      {44100.0f, 300.0f, 0.0f, -1000.0},    {44100.0f, 300.0f, -4.0f, -1000.0},
      {22050.0f, 15000.0f, 0.7f, -1.0 / double{0.7f}},
  };
  for (const Case& c : cases) {
    qmx_set_attr(ATTR_SAMPLING_RATE, c.rate);
    Filter f = Make(c.cutoff, c.resonance);
    const double omega = 6.283185307179586 * c.cutoff / double{c.rate};
    const double a1 = 2.0 * std::cos(omega) * std::exp(0.5 * omega * c.k);
    const double a2 = std::exp(omega * c.k);
    SCOPED_TRACE(testing::Message() << c.cutoff << " Hz, Q " << c.resonance << " at " << c.rate);
    EXPECT_EQ(f.k, c.k);
    EXPECT_EQ(f.omega, omega);
    EXPECT_EQ(f.a1, a1);
    EXPECT_EQ(f.a2, a2);
    EXPECT_EQ(f.input_gain, 1.0 - a1 + a2);
  }
}

// Unity at 0 Hz whatever the resonance (up to the rounding of the fed-back
// output, which a low cutoff amplifies); at half the rate the poles'
// distance decides; a high Q lifts the response around the cutoff above 1.
TEST_F(TwoPoleLowPass, GainAtDcNyquistAndCutoff) {
  struct Case {
    float cutoff, resonance;
    double cycles, low, high;
  };
  const Case cases[] = {
      {1000.0f, 1.0f, kDc, 0.9999, 1.0001},
      {1000.0f, 10.0f, kDc, 0.9999, 1.0001},
      {100.0f, 0.5f, kDc, 0.999, 1.001},
      {1000.0f, 1.0f, kNyquist, 0.0, 0.01},
      {1000.0f, 10.0f, 1000.0 / 44100.0, 9.0, 11.0},  // the poles' peak is about Q
      {1000.0f, 0.5f, 1000.0 / 44100.0, 0.85, 0.95},  // no peak: below 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cutoff << " Hz, Q " << c.resonance << ", " << c.cycles);
    const double g = Gain(Make(c.cutoff, c.resonance), c.cycles);
    EXPECT_GE(g, c.low);
    EXPECT_LE(g, c.high);
  }
}

TEST_F(TwoPoleLowPass, ConstantInputSettlesAtOne) {
  Filter f;
  filter_2_pole_low_pass_init(&f);
  float y = 0.0f;
  for (int i = 0; i < 5000; ++i) y = filter_2_pole_low_pass_dsp(&f, 1.0f);
  EXPECT_NEAR(y, 1.0f, 1e-5f);
}

// Q 0 gives k = -1000: both poles next to the origin, so the filter hardly
// filters and the output follows the input at once.
TEST_F(TwoPoleLowPass, ZeroResonancePutsThePolesAtTheOrigin) {
  Filter f = Make(1000.0f, 0.0f);
  EXPECT_EQ(f.k, -1000.0);
  EXPECT_LT(std::fabs(f.a1), 1e-30);
  EXPECT_LT(f.a2, 1e-60);
  EXPECT_NEAR(filter_2_pole_low_pass_dsp(&f, 0.8f), 0.8f, 1e-6f);
  EXPECT_NEAR(filter_2_pole_low_pass_dsp(&f, -0.3f), -0.3f, 1e-6f);
}

// The recursion feeds back the output after rounding to single precision.
TEST_F(TwoPoleLowPass, RecursionFeedsBackTheRoundedOutput) {
  Filter f = Make(3000.0f, 4.0f);
  const float y0 = filter_2_pole_low_pass_dsp(&f, 1.0f);
  EXPECT_EQ(y0, static_cast<float>(1.0 * f.input_gain));
  const float y1 = filter_2_pole_low_pass_dsp(&f, 0.25f);
  EXPECT_EQ(y1, static_cast<float>(f.a1 * y0 - f.a2 * 0.0 + 0.25 * f.input_gain));
  const float y2 = filter_2_pole_low_pass_dsp(&f, -0.5f);
  EXPECT_EQ(y2, static_cast<float>(f.a1 * y1 - f.a2 * y0 + -0.5 * f.input_gain));
  EXPECT_EQ(f.y1, double{y2});
  EXPECT_EQ(f.y2, double{y1});
  EXPECT_EQ(f.output, y2);
}

TEST_F(TwoPoleLowPass, ClearSilencesButKeepsTheSettings) {
  Filter f = Make(2000.0f, 3.0f);
  for (int i = 0; i < 100; ++i) filter_2_pole_low_pass_dsp(&f, std::sin(0.1f * i));
  const double a1 = f.a1;
  filter_2_pole_low_pass_clear(&f);
  EXPECT_EQ(f.y1, 0.0);
  EXPECT_EQ(f.y2, 0.0);
  EXPECT_EQ(f.output, 0.0f);
  EXPECT_EQ(f.a1, a1);
  EXPECT_EQ(filter_2_pole_low_pass_dsp(&f, 0.5f), static_cast<float>(0.5 * f.input_gain));
  filter_2_pole_low_pass_free(&f);
}

// The rate is read when the cutoff is set, not afterwards.
TEST_F(TwoPoleLowPass, RateChangeWaitsForTheNextCutoff) {
  Filter f = Make(1000.0f, 1.0f);
  const double omega = f.omega;
  qmx_set_attr(ATTR_SAMPLING_RATE, 96000.0f);
  filter_2_pole_low_pass_set_attr(&f, ATTR_RESONANCE, 2.0f);
  EXPECT_EQ(f.omega, omega);
  filter_2_pole_low_pass_set_attr(&f, ATTR_CUTOFF, 1000.0f);
  EXPECT_NEAR(f.omega, omega * 44100.0 / 96000.0, 1e-12);
}

TEST_F(TwoPoleLowPass, UnusableValuesAreIgnored) {
  struct Case {
    int32_t id;
    float value;
  };
  const Case cases[] = {
      {ATTR_CUTOFF, kNaN},     {ATTR_CUTOFF, kInf}, {ATTR_CUTOFF, -kInf}, {ATTR_CUTOFF, 0.0f},
      {ATTR_CUTOFF, -500.0f},  {ATTR_RESONANCE, kNaN}, {ATTR_RESONANCE, kInf},
      {ATTR_RESONANCE, -kInf},
  };
  for (const Case& c : cases) {
    Filter f = Make(700.0f, 2.0f);
    const Filter before = f;
    filter_2_pole_low_pass_set_attr(&f, c.id, c.value);
    SCOPED_TRACE(testing::Message() << c.id << " " << c.value);
    EXPECT_EQ(f.cutoff, before.cutoff);
    EXPECT_EQ(f.resonance, before.resonance);
    EXPECT_EQ(f.a1, before.a1);
    EXPECT_EQ(f.a2, before.a2);
    EXPECT_EQ(f.input_gain, before.input_gain);
  }
}

TEST_F(TwoPoleLowPass, UnknownIdsChangeNothingAndReadAsZero) {
  Filter f = Make(700.0f, 2.0f);
  const Filter before = f;
  filter_2_pole_low_pass_set_attr(&f, ATTR_GAIN_DB, 12.0f);
  EXPECT_EQ(f.a1, before.a1);
  EXPECT_EQ(f.cutoff, before.cutoff);
  EXPECT_EQ(filter_2_pole_low_pass_get_attr(&f, ATTR_GAIN_DB), 0.0f);
}

TEST_F(TwoPoleLowPass, ABrokenSamplingRateGivesASilentFilter) {
  for (float rate : {0.0f, -44100.0f, kNaN, kInf}) {
    qmx_set_attr(ATTR_SAMPLING_RATE, rate);
    Filter f;
    filter_2_pole_low_pass_init(&f);
    filter_2_pole_low_pass_set_attr(&f, ATTR_CUTOFF, 500.0f);
    SCOPED_TRACE(rate);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(filter_2_pole_low_pass_dsp(&f, 1.0f), 0.0f);
  }
}

}  // namespace
