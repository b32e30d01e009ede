#include <gtest/gtest.h>

#include <cmath>

#include "dsp/filter_chamberlin_multimode.h"
#include "dsp/filter_multimode.h"
#include "dsp/filter_probe.h"
#include "dsp/sampling_rate_guard.h"

namespace {

using filter_probe::kDc;
using filter_probe::kInf;
using filter_probe::kNaN;
using filter_probe::kNyquist;
using Filter = _filter_chamberlin_multimode_struct;

class Chamberlin : public ::testing::Test {
 protected:
  void SetUp() override { qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f); }

  static Filter Make(float cutoff, float resonance, float mode) {
    Filter f;
    filter_chamberlin_multimode_init(&f);
    filter_chamberlin_multimode_set_attr(&f, ATTR_CUTOFF, cutoff);
    filter_chamberlin_multimode_set_attr(&f, ATTR_RESONANCE, resonance);
    filter_chamberlin_multimode_set_attr(&f, ATTR_FILTER_TYPE, mode);
    return f;
  }
  static double Gain(Filter f, double cycles) {
    return filter_probe::SettledGain([&](float x) { return filter_chamberlin_multimode_dsp(&f, x); },
                                     cycles);
  }

 private:
  SamplingRateGuard rateGuard_;
};

TEST_F(Chamberlin, DefaultsAfterInit) {
  Filter f;
  filter_chamberlin_multimode_init(&f);
  EXPECT_EQ(filter_chamberlin_multimode_get_attr(&f, ATTR_CUTOFF), 1000.0f);
  EXPECT_EQ(filter_chamberlin_multimode_get_attr(&f, ATTR_RESONANCE), 0.0f);
  EXPECT_EQ(filter_chamberlin_multimode_get_attr(&f, ATTR_FILTER_TYPE), 0.0f);
  EXPECT_EQ(f.q, 2.0);
  EXPECT_EQ(f.output, 0.0f);
  EXPECT_EQ(f.low_state, 0.0);
  EXPECT_EQ(f.band_state, 0.0);
}

// Tuned exactly as the multimode filter, limit included.
TEST_F(Chamberlin, TuningMatchesTheMultimodeFilter) {
  for (float rate : {44100.0f, 96000.0f}) {
    qmx_set_attr(ATTR_SAMPLING_RATE, rate);
    for (float cutoff : {50.0f, 1000.0f, 3519.0f, 10000.0f, 150000.0f}) {
      _filter_multimode_struct m;
      filter_multimode_init(&m);
      filter_multimode_set_attr(&m, ATTR_CUTOFF, cutoff);
      Filter f = Make(cutoff, 0.0f, 0.0f);
      EXPECT_EQ(f.f, m.f) << cutoff << " Hz at " << rate;
    }
  }
}

TEST_F(Chamberlin, DampingIsTheReciprocalOfResonancePlusAHalf) {
  struct Case {
    float resonance;
    double q;
  };
  const Case cases[] = {{0.0f, 2.0}, {1.5f, 0.5}, {9.5f, 0.1}, {0.3f, 1.0 / (double{0.3f} + 0.5)},
                        {-0.25f, 4.0}};
  for (const Case& c : cases) {
    Filter f = Make(1000.0f, c.resonance, 0.0f);
    EXPECT_EQ(f.q, c.q) << c.resonance;
  }
}

// At 0 Hz the band state settles at 0, so low follows the input exactly and
// high is 0. Run once per sample with the multimode filter's tuning (made
// for its two half-steps per sample), the recursion centres on half the
// cutoff: there the band-pass peaks at 1/q and the notch is deepest.
TEST_F(Chamberlin, ModesPassAndBlockWhereTheyShould) {
  constexpr double kCentre = 250.0 / 44100.0;  // cutoff 500 Hz
  struct Case {
    int mode;
    double cycles, low, high;
  };
  const Case cases[] = {
      {0, kDc, 0.99999, 1.00001}, {0, kNyquist, 0.0, 0.01},   {1, kDc, 0.0, 1e-6},
      {1, kNyquist, 0.9, 1.2},    {2, kDc, 0.0, 1e-6},        {2, kCentre, 0.499, 0.501},
      {2, kNyquist, 0.0, 0.05},   {3, kDc, 0.99999, 1.00001}, {3, kCentre, 0.0, 0.01},
      {3, kNyquist, 0.9, 1.2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.cycles);
    const double g = Gain(Make(500.0f, 0.0f, static_cast<float>(c.mode)), c.cycles);  // q = 2
    EXPECT_GE(g, c.low);
    EXPECT_LE(g, c.high);
  }
  // Resonance 1.5 (q = 0.5) lifts the band-pass peak to 2.
  EXPECT_NEAR(Gain(Make(500.0f, 1.5f, 2.0f), kCentre), 2.0, 0.002);
}

// One impulse spelled out: all four outputs of the first two samples.
TEST_F(Chamberlin, FirstSamplesFollowTheRecursion) {
  Filter f = Make(2000.0f, 1.0f, 3.0f);
  const double ff = f.f;
  const double q = f.q;
  EXPECT_EQ(filter_chamberlin_multimode_dsp(&f, 1.0f), 1.0f);  // notch = high + low
  EXPECT_EQ(f.low, 0.0);
  EXPECT_EQ(f.high, 1.0);
  EXPECT_EQ(f.band, ff);
  const double low = ff * ff;
  const double high = 0.0 - low - q * ff;
  const double band = ff * high + ff;
  EXPECT_EQ(filter_chamberlin_multimode_dsp(&f, 0.0f), static_cast<float>(high + low));
  EXPECT_EQ(f.low, low);
  EXPECT_EQ(f.high, high);
  EXPECT_EQ(f.band, band);
  EXPECT_EQ(f.low_state, low);
  EXPECT_EQ(f.band_state, band);
  EXPECT_EQ(filter_chamberlin_multimode_get_output(&f), static_cast<float>(high + low));
}

// An unknown mode outputs 0 and keeps the last output, while the state runs
// on: switching back continues where the recursion is.
TEST_F(Chamberlin, UnknownModeReturnsZero) {
  Filter f = Make(1000.0f, 0.0f, 0.0f);
  Filter reference = f;
  for (int i = 0; i < 10; ++i) {
    filter_chamberlin_multimode_dsp(&f, 1.0f);
    filter_chamberlin_multimode_dsp(&reference, 1.0f);
  }
  const float last = filter_chamberlin_multimode_get_output(&f);
  for (float mode : {7.0f, 4.0f, -1.0f, 1e20f}) {
    filter_chamberlin_multimode_set_attr(&f, ATTR_FILTER_TYPE, mode);
    EXPECT_EQ(filter_chamberlin_multimode_dsp(&f, 1.0f), 0.0f) << mode;
    filter_chamberlin_multimode_dsp(&reference, 1.0f);
    EXPECT_EQ(filter_chamberlin_multimode_get_output(&f), last);
  }
  filter_chamberlin_multimode_set_attr(&f, ATTR_FILTER_TYPE, 0.0f);
  EXPECT_EQ(filter_chamberlin_multimode_dsp(&f, 1.0f), filter_chamberlin_multimode_dsp(&reference, 1.0f));
}

TEST_F(Chamberlin, ModeIsTruncated) {
  Filter f = Make(1000.0f, 0.0f, 2.7f);
  EXPECT_EQ(filter_chamberlin_multimode_get_attr(&f, ATTR_FILTER_TYPE), 2.0f);
  filter_chamberlin_multimode_set_attr(&f, ATTR_FILTER_TYPE, kNaN);
  EXPECT_EQ(filter_chamberlin_multimode_get_attr(&f, ATTR_FILTER_TYPE), 0.0f);
  EXPECT_EQ(filter_chamberlin_multimode_get_attr(&f, ATTR_GAIN_DB), 0.0f);
}

TEST_F(Chamberlin, UnusableValuesAreIgnored) {
  struct Case {
    int32_t id;
    float value;
  };
  const Case cases[] = {
      {ATTR_CUTOFF, kNaN},      {ATTR_CUTOFF, kInf},       {ATTR_CUTOFF, -kInf},
      {ATTR_CUTOFF, 0.0f},      {ATTR_CUTOFF, -100.0f},    {ATTR_RESONANCE, kNaN},
      {ATTR_RESONANCE, kInf},   {ATTR_RESONANCE, -kInf},   {ATTR_RESONANCE, -0.5f},
      {ATTR_MORPH, 0.5f},
  };
  for (const Case& c : cases) {
    Filter f = Make(700.0f, 2.0f, 1.0f);
    const Filter before = f;
    filter_chamberlin_multimode_set_attr(&f, c.id, c.value);
    SCOPED_TRACE(testing::Message() << c.id << " " << c.value);
    EXPECT_EQ(f.cutoff, before.cutoff);
    EXPECT_EQ(f.resonance, before.resonance);
    EXPECT_EQ(f.f, before.f);
    EXPECT_EQ(f.q, before.q);
    EXPECT_EQ(f.mode, before.mode);
  }
}

TEST_F(Chamberlin, ABrokenSamplingRateLeavesTheLowPassSilent) {
  for (float rate : {0.0f, -44100.0f, kNaN, kInf}) {
    qmx_set_attr(ATTR_SAMPLING_RATE, rate);
    Filter f;
    filter_chamberlin_multimode_init(&f);
    filter_chamberlin_multimode_set_attr(&f, ATTR_CUTOFF, 500.0f);
    SCOPED_TRACE(rate);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(filter_chamberlin_multimode_dsp(&f, 1.0f), 0.0f);
    filter_chamberlin_multimode_free(&f);
  }
}

}  // namespace
