#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "dsp/filter_multimode.h"
#include "dsp/filter_probe.h"
#include "dsp/sampling_rate_guard.h"

namespace {

using filter_probe::kDc;
using filter_probe::kInf;
using filter_probe::kNaN;
using filter_probe::kNyquist;
using Filter = _filter_multimode_struct;

class Multimode : public ::testing::Test {
 protected:
  void SetUp() override { qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f); }

  static Filter Make(float cutoff, float resonance, float mode) {
    Filter f;
    filter_multimode_init(&f);
    filter_multimode_set_attr(&f, ATTR_CUTOFF, cutoff);
    filter_multimode_set_attr(&f, ATTR_RESONANCE, resonance);
    filter_multimode_set_attr(&f, ATTR_FILTER_TYPE, mode);
    return f;
  }
  static double Gain(Filter f, double cycles) {
    return filter_probe::SettledGain([&](float x) { return filter_multimode_dsp(&f, x); }, cycles);
  }
  static double MorphGain(Filter f, double cycles) {
    return filter_probe::SettledGain([&](float x) { return filter_multimode_dsp_morph(&f, x); }, cycles);
  }
  // f as the tuning formula gives it, before the limit.
  static double Tuning(float cutoff) {
    const float doubled = 2.0f * gAudioSamplingRate;
    return 2.0 * std::sin(3.141592653589793 * cutoff / double{doubled});
  }

 private:
  SamplingRateGuard rateGuard_;
};

TEST_F(Multimode, DefaultsAfterInit) {
  Filter f;
  filter_multimode_init(&f);
  EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_CUTOFF), 1000.0f);
  EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_RESONANCE), 0.0f);
  EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_FILTER_TYPE), 0.0f);
  EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_MORPH), 0.0f);
  EXPECT_EQ(f.f, Tuning(1000.0f));
  EXPECT_EQ(f.damp, 2.0);
  EXPECT_EQ(f.w_notch, 1.0f);
  EXPECT_EQ(f.w_low + f.w_band + f.w_high, 0.0f);
  EXPECT_TRUE(f.enabled);
}

// The tuning reaches its limit of 0.25 near 3519 Hz at 44100 Hz; from there
// on every cutoff, including those past the rate where the sine would fold
// back below zero, tunes to 0.25.
TEST_F(Multimode, TuningAndItsLimit) {
  struct Case {
    float rate, cutoff;
    double f;
  };
  const Case cases[] = {
      {44100.0f, 1000.0f, -1.0},  // -1: the unlimited formula
      {48000.0f, 2500.0f, -1.0},   {44100.0f, 3500.0f, -1.0}, {44100.0f, 3519.0f, 0.25},
      {44100.0f, 10000.0f, 0.25},  {44100.0f, 44100.0f, 0.25}, {44100.0f, 100000.0f, 0.25},
      {44100.0f, 1e30f, 0.25},     {96000.0f, 7000.0f, -1.0},
  };
  for (const Case& c : cases) {
    qmx_set_attr(ATTR_SAMPLING_RATE, c.rate);
    Filter f = Make(c.cutoff, 0.0f, 0.0f);
    SCOPED_TRACE(testing::Message() << c.cutoff << " Hz at " << c.rate);
    EXPECT_EQ(f.f, c.f < 0.0 ? Tuning(c.cutoff) : c.f);
    EXPECT_LE(f.f, 0.25);
    EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_CUTOFF), c.cutoff);
  }
}

// The smallest of 2, 2/f - f/2 and 2(1 - (resonance/10)^(1/4)); a negative
// resonance has no fourth root and damps like 0.
TEST_F(Multimode, DampingFromResonance) {
  struct Case {
    float resonance;
    double damp;
  };
  const Case cases[] = {
      {0.0f, 2.0},
      {-3.0f, 2.0},
      {0.5f, 2.0 * (1.0 - std::pow(double{0.5f} * 0.1, 0.25))},
      {5.0f, 2.0 * (1.0 - std::pow(5.0 * 0.1, 0.25))},
      {10.0f, 0.0},
      {11.0f, 2.0 * (1.0 - std::pow(11.0 * 0.1, 0.25))},  // negative: unstable
  };
  for (const Case& c : cases) {
    Filter f = Make(1000.0f, c.resonance, 0.0f);
    SCOPED_TRACE(c.resonance);
    EXPECT_EQ(f.res, double{c.resonance} * 0.1);
    EXPECT_NEAR(f.damp, c.damp, 1e-15);
  }
}

TEST_F(Multimode, MorphWeights) {
  struct Case {
    float morph, w_notch, w_low, w_band, w_high;
  };
  const Case cases[] = {
      {0.0f, 1.0f, 0.0f, 0.0f, 0.0f},     {0.25f, 0.25f, 0.75f, 0.0f, 0.0f},
      {0.5f, 0.0f, 0.5f, 0.5f, 0.0f},     {0.6f, 0.0f, 2.0f - 1.8f, 1.8f - 1.0f, 0.0f},
      {0.8f, 0.0f, 0.0f, 0.6f, 0.4f},     {1.0f, 0.0f, 0.0f, 0.0f, 1.0f},
      {-2.0f, 1.0f, 0.0f, 0.0f, 0.0f},    {7.0f, 0.0f, 0.0f, 0.0f, 1.0f},  // ends
      {1e38f, 0.0f, 0.0f, 0.0f, 1.0f},
  };
  for (const Case& c : cases) {
    Filter f;
    filter_multimode_init(&f);
    filter_multimode_set_attr(&f, ATTR_MORPH, c.morph);
    SCOPED_TRACE(c.morph);
    EXPECT_NEAR(f.w_notch, c.w_notch, 1e-6f);
    EXPECT_NEAR(f.w_low, c.w_low, 1e-6f);
    EXPECT_NEAR(f.w_band, c.w_band, 1e-6f);
    EXPECT_NEAR(f.w_high, c.w_high, 1e-6f);
  }
}

// Each mode's response where it should pass and where it should block, in
// the small-signal range of the output saturation. The first half-step takes
// half the input, so the pass-band gains are about 0.5.
TEST_F(Multimode, ModesPassAndBlockWhereTheyShould) {
  constexpr double kCutoff = 1000.0 / 44100.0;
  struct Case {
    int mode;
    double cycles, low, high;
  };
  const Case cases[] = {
      {0, kDc, 0.45, 0.55},      {0, kNyquist, 0.0, 0.01},  {1, kDc, 0.0, 1e-6},
      {1, kNyquist, 0.45, 0.55}, {2, kDc, 0.0, 1e-6},       {2, kCutoff, 1.0, 2.0},
      {2, kNyquist, 0.0, 0.05},  {3, kDc, 0.45, 0.55},      {3, kNyquist, 0.45, 0.55},
      {3, kCutoff, 0.0, 0.05},   {4, kDc, 0.45, 0.55},      {4, kNyquist, 0.45, 0.55},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.cycles);
    const double g = Gain(Make(1000.0f, 5.0f, static_cast<float>(c.mode)), c.cycles);
    EXPECT_GE(g, c.low);
    EXPECT_LE(g, c.high);
  }
}

// Morph positions 0, 1/3, 2/3 and 1 weigh one response fully: the same
// filter as modes notch, low, band and high (up to the renormal offsets,
// which each operation keeps apart).
TEST_F(Multimode, MorphEndpointsMatchTheModes) {
  struct Case {
    float morph, mode;
  };
  const Case cases[] = {{0.0f, 3.0f}, {1.0f / 3.0f, 0.0f}, {2.0f / 3.0f, 2.0f}, {1.0f, 1.0f}};
  for (const Case& c : cases) {
    Filter by_mode = Make(2000.0f, 6.0f, c.mode);
    Filter by_morph = Make(2000.0f, 6.0f, 0.0f);
    filter_multimode_set_attr(&by_morph, ATTR_MORPH, c.morph);
    SCOPED_TRACE(c.morph);
    for (int i = 0; i < 2000; ++i) {
      const float x = 0.5f * std::sin(0.07f * i) + 0.3f * std::sin(1.3f * i);
      const float a = filter_multimode_dsp(&by_mode, x);
      const float b = filter_multimode_dsp_morph(&by_morph, x);
      ASSERT_NEAR(a, b, 1e-6f) << i;
    }
    EXPECT_EQ(filter_multimode_get_output(&by_morph), by_morph.output);
  }
}

// A few samples spelled out. The renormal offset r is process-wide and flips
// on every call, with a sign that depends on all earlier calls; two copies
// run in turn see opposite offsets throughout, one +1e-15 and one -1e-15.
struct HalfSteps {
  double low = 0, high = 0, band = 0, notch = 0;
  void First(double f, double damp, float x, float r) {
    notch = static_cast<double>((x + r) * 0.5f) - damp * band;
    low = low + f * band - static_cast<double>(r);
    high = notch - low;
    band = band + f * high;
  }
  void Second(double f, double damp) {
    notch = 0.0 - damp * band;
    low = low + f * band;
    high = notch - low;
    band = band + f * high;
  }
};

float Saturated(double y) { return static_cast<float>(y / (1.0 + 0.28 * y * y)); }

template <typename Pick, typename Dsp>
void ExpectHalfSteps(Filter filter, Pick pick, Dsp dsp) {
  Filter a = filter;
  Filter b = filter;
  HalfSteps plus, minus;
  bool a_is_plus = true;
  const float inputs[] = {0.3f, -0.7f, 0.0f, 1.0f};
  for (int i = 0; i < 4; ++i) {
    const float x = inputs[i];
    float expected[2];
    for (int k = 0; k < 2; ++k) {
      HalfSteps& s = k == 0 ? plus : minus;
      s.First(filter.f, filter.damp, x, k == 0 ? 1e-15f : -1e-15f);
      const double p1 = pick(s);
      s.Second(filter.f, filter.damp);
      expected[k] = Saturated(p1 + pick(s));
    }
    const float ya = dsp(&a, x);
    const float yb = dsp(&b, x);
    if (i == 0) a_is_plus = ya == expected[0];
    SCOPED_TRACE(i);
    EXPECT_EQ(ya, expected[a_is_plus ? 0 : 1]);
    EXPECT_EQ(yb, expected[a_is_plus ? 1 : 0]);
    EXPECT_EQ(a.low, (a_is_plus ? plus : minus).low);
    EXPECT_EQ(b.band, (a_is_plus ? minus : plus).band);
  }
}

TEST_F(Multimode, FirstSamplesFollowTheHalfSteps) {
  ExpectHalfSteps(Make(2500.0f, 4.0f, 4.0f), [](const HalfSteps& s) { return s.low - s.high; },
                  filter_multimode_dsp);
  ExpectHalfSteps(Make(900.0f, 1.0f, 3.0f), [](const HalfSteps& s) { return s.notch; },
                  filter_multimode_dsp);
}

TEST_F(Multimode, MorphBlendsEachHalfStep) {
  Filter f = Make(1800.0f, 6.0f, 0.0f);
  filter_multimode_set_attr(&f, ATTR_MORPH, 0.45f);
  const double wl = f.w_low, wb = f.w_band, wh = f.w_high, wn = f.w_notch;
  ASSERT_GT(wl * wb, 0.0);
  ExpectHalfSteps(
      f, [&](const HalfSteps& s) { return wl * s.low + wb * s.band + wh * s.high + wn * s.notch; },
      filter_multimode_dsp_morph);
}

// An unknown mode takes the high-pass of the first half-step alone.
TEST_F(Multimode, UnknownModePicksTheFirstHighPassOnly) {
  for (float mode : {5.0f, 7.0f, -1.0f, 1e20f}) {
    Filter f = Make(1000.0f, 0.0f, mode);
    SCOPED_TRACE(mode);
    // Impulse into silence: the first half-step's high-pass is half the
    // input (the low-pass state only holds the renormal offset).
    const float y = filter_multimode_dsp(&f, 1.0f);
    EXPECT_NEAR(y, 0.5 / (1.0 + 0.28 * 0.25), 1e-7);
  }
  Filter known = Make(1000.0f, 0.0f, 1.0f);
  EXPECT_GT(std::fabs(filter_multimode_dsp(&known, 1.0f) - 0.5 / 1.07), 0.01);
}

TEST_F(Multimode, ModeIsTruncated) {
  struct Case {
    float value;
    float mode;
  };
  const Case cases[] = {{2.9f, 2.0f},   {-0.5f, 0.0f}, {kNaN, 0.0f}, {4.0f, 4.0f},
                        {1e20f, static_cast<float>(std::numeric_limits<int32_t>::max())}};
  for (const Case& c : cases) {
    Filter f = Make(1000.0f, 0.0f, 3.0f);
    filter_multimode_set_attr(&f, ATTR_FILTER_TYPE, c.value);
    EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_FILTER_TYPE), c.mode) << c.value;
  }
}

TEST_F(Multimode, DisabledOutputsZeroAndKeepsTheLastOutput) {
  Filter f = Make(1000.0f, 3.0f, 0.0f);
  for (int i = 0; i < 100; ++i) filter_multimode_dsp(&f, 0.5f);
  const float last = filter_multimode_get_output(&f);
  ASSERT_NE(last, 0.0f);
  const double low = f.low;
  filter_multimode_set_attr(&f, ATTR_FILTER_ENABLE, 0.0f);
  EXPECT_EQ(filter_multimode_dsp(&f, 0.5f), 0.0f);
  EXPECT_EQ(filter_multimode_get_output(&f), last);
  EXPECT_EQ(f.low, low);  // the state waits
  filter_multimode_set_attr(&f, ATTR_FILTER_ENABLE, kNaN);
  EXPECT_EQ(filter_multimode_dsp(&f, 0.5f), 0.0f);
  filter_multimode_set_attr(&f, ATTR_FILTER_ENABLE, 0.5f);
  EXPECT_NE(filter_multimode_dsp(&f, 0.5f), 0.0f);
  // the morphing operation has no switch
  filter_multimode_set_attr(&f, ATTR_FILTER_ENABLE, 0.0f);
  EXPECT_NE(filter_multimode_dsp_morph(&f, 0.5f), 0.0f);
}

// y / (1 + 0.28 y^2) never exceeds 1 / (2 sqrt 0.28), however loud the
// resonance.
TEST_F(Multimode, OutputSaturates) {
  Filter f = Make(800.0f, 9.9f, 2.0f);
  double peak = 0.0;
  for (int i = 0; i < 20000; ++i) {
    peak = std::fmax(peak, std::fabs(filter_multimode_dsp(&f, 50.0f * std::sin(0.114f * i))));
  }
  EXPECT_GT(peak, 0.9);
  EXPECT_LE(peak, 1.0 / (2.0 * std::sqrt(0.28)) + 1e-6);
}

// The alternating offset keeps the state out of subnormal numbers (slow on
// most processors) however long the input stays silent.
TEST_F(Multimode, SilenceNeverLeavesSubnormalState) {
  Filter f = Make(3000.0f, 2.0f, 0.0f);
  for (int i = 0; i < 100; ++i) filter_multimode_dsp(&f, 1.0f);
  for (int i = 0; i < 200000; ++i) {
    const float y = filter_multimode_dsp(&f, 0.0f);
    ASSERT_NE(std::fpclassify(f.low), FP_SUBNORMAL) << i;
    ASSERT_NE(std::fpclassify(f.band), FP_SUBNORMAL) << i;
    ASSERT_NE(std::fpclassify(y), FP_SUBNORMAL) << i;
  }
  EXPECT_LT(std::fabs(f.output), 1e-12f);
}

TEST_F(Multimode, ClearSilencesButKeepsTheSettings) {
  Filter f = Make(2000.0f, 4.0f, 2.0f);
  for (int i = 0; i < 100; ++i) filter_multimode_dsp(&f, 1.0f);
  const double damp = f.damp;
  filter_multimode_clear(&f);
  EXPECT_EQ(f.low, 0.0);
  EXPECT_EQ(f.band, 0.0);
  EXPECT_EQ(f.high, 0.0);
  EXPECT_EQ(f.notch, 0.0);
  EXPECT_EQ(f.output, 0.0f);
  EXPECT_EQ(f.damp, damp);
  EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_FILTER_TYPE), 2.0f);
  filter_multimode_free(&f);
}

TEST_F(Multimode, UpdateSamplingRateRetunesTheStoredCutoff) {
  Filter f = Make(1000.0f, 0.0f, 0.0f);
  const double at_44100 = f.f;
  qmx_set_attr(ATTR_SAMPLING_RATE, 22050.0f);
  filter_multimode_set_attr(&f, ATTR_RESONANCE, 1.0f);
  EXPECT_EQ(f.f, at_44100);  // the rate is read with the cutoff only
  filter_multimode_update_sampling_rate(&f);
  EXPECT_EQ(f.f, Tuning(1000.0f));
  EXPECT_GT(f.f, 1.9 * at_44100);
  EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_CUTOFF), 1000.0f);
}

TEST_F(Multimode, UnusableValuesAreIgnored) {
  struct Case {
    int32_t id;
    float value;
  };
  const Case cases[] = {
      {ATTR_CUTOFF, kNaN},    {ATTR_CUTOFF, kInf},    {ATTR_CUTOFF, -kInf}, {ATTR_CUTOFF, 0.0f},
      {ATTR_CUTOFF, -700.0f}, {ATTR_RESONANCE, kNaN}, {ATTR_RESONANCE, kInf},
      {ATTR_RESONANCE, -kInf}, {ATTR_MORPH, kNaN},    {ATTR_MORPH, kInf},
  };
  for (const Case& c : cases) {
    Filter f = Make(700.0f, 2.0f, 0.0f);
    filter_multimode_set_attr(&f, ATTR_MORPH, 0.4f);
    const Filter before = f;
    filter_multimode_set_attr(&f, c.id, c.value);
    SCOPED_TRACE(testing::Message() << c.id << " " << c.value);
    EXPECT_EQ(f.cutoff, before.cutoff);
    EXPECT_EQ(f.resonance, before.resonance);
    EXPECT_EQ(f.f, before.f);
    EXPECT_EQ(f.damp, before.damp);
    EXPECT_EQ(f.morph, before.morph);
    EXPECT_EQ(f.w_low, before.w_low);
  }
}

TEST_F(Multimode, UnknownIdsReadAsZero) {
  Filter f = Make(700.0f, 2.0f, 3.0f);
  EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_FILTER_ENABLE), 0.0f);
  EXPECT_EQ(filter_multimode_get_attr(&f, ATTR_GAIN_DB), 0.0f);
}

TEST_F(Multimode, ABrokenSamplingRateLeavesTheLowPassSilent) {
  for (float rate : {0.0f, -44100.0f, kNaN, kInf}) {
    qmx_set_attr(ATTR_SAMPLING_RATE, rate);
    Filter f;
    filter_multimode_init(&f);
    filter_multimode_set_attr(&f, ATTR_CUTOFF, 500.0f);
    SCOPED_TRACE(rate);
    EXPECT_EQ(f.f, 0.0);
    for (int i = 0; i < 100; ++i) ASSERT_LT(std::fabs(filter_multimode_dsp(&f, 1.0f)), 1e-12f);
  }
}

}  // namespace
