#include <gtest/gtest.h>

#include <cmath>

#include "dsp/filter_4P_LP.h"
#include "dsp/filter_probe.h"
#include "dsp/sampling_rate_guard.h"

namespace {

using filter_probe::kDc;
using filter_probe::kInf;
using filter_probe::kNaN;
using filter_probe::kNyquist;
using Filter = _filter_4P_LP_struct;

class FourPoleLowPass : public ::testing::Test {
 protected:
  void SetUp() override { qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f); }

  static Filter Make(float cutoff, float resonance) {
    Filter f;
    filter_4P_LP_init(&f);
    filter_4P_LP_set_attr(&f, ATTR_CUTOFF, cutoff);
    filter_4P_LP_set_attr(&f, ATTR_RESONANCE, resonance);
    return f;
  }
  static double Gain(Filter f, double cycles) {
    return filter_probe::SettledGain([&](float x) { return filter_4P_LP_dsp(&f, x); }, cycles);
  }

 private:
  SamplingRateGuard rateGuard_;
};

// fc, f, fb, 1 - f and f^4 in double precision, to the last bit.
TEST_F(FourPoleLowPass, SettingsInDoublePrecision) {
  struct Case {
    float rate, cutoff, resonance;
  };
  const Case cases[] = {
      {44100.0f, 20.0f, 0.0f},  // the defaults
      {44100.0f, 1000.0f, 2.5f},
      {48000.0f, 8000.0f, 9.0f},
      {96000.0f, 30000.0f, 0.3f},
  };
  for (const Case& c : cases) {
    qmx_set_attr(ATTR_SAMPLING_RATE, c.rate);
    Filter f = Make(c.cutoff, c.resonance);
    const double fc = 2.0 * c.cutoff * double{gAudioSamplingRateReciprocal};
    const double ff = fc * 1.16;
    const double res = c.resonance * 0.1 * 4.0;
    SCOPED_TRACE(testing::Message() << c.cutoff << " Hz, resonance " << c.resonance);
    EXPECT_EQ(filter_4P_LP_get_attr(&f, ATTR_CUTOFF), c.cutoff);
    EXPECT_EQ(filter_4P_LP_get_attr(&f, ATTR_RESONANCE), c.resonance);
    EXPECT_EQ(f.fc, fc);
    EXPECT_EQ(f.f, ff);
    EXPECT_EQ(f.res, res);
    EXPECT_EQ(f.fb, res * (1.0 - 0.15 * ff * ff));
    EXPECT_EQ(f.one_minus_f, 1.0 - ff);
    EXPECT_EQ(f.f4, (ff * ff) * (ff * ff));
  }
}

TEST_F(FourPoleLowPass, DefaultsAfterInit) {
  Filter f;
  filter_4P_LP_init(&f);
  EXPECT_EQ(filter_4P_LP_get_attr(&f, ATTR_CUTOFF), 20.0f);
  EXPECT_EQ(filter_4P_LP_get_attr(&f, ATTR_RESONANCE), 0.0f);
  EXPECT_EQ(filter_4P_LP_get_attr(&f, ATTR_FILTER_TYPE), 0.0f);
  EXPECT_EQ(f.fb, 0.0);
  EXPECT_EQ(f.output, 0.0f);
}

// 0.35013 f^4 cancels the stages' gain at 0 Hz (to 1.0000063); the negative
// feedback then divides it by 1 + G fb. Half the rate is all but closed.
TEST_F(FourPoleLowPass, GainAtDcFollowsTheFeedback) {
  constexpr double kStages = 0.35013 * 2.8561;  // (1.3 / f)^4 f^4 0.35013
  struct Case {
    float cutoff, resonance;
  };
  const Case cases[] = {{1000.0f, 0.0f}, {1000.0f, 2.0f}, {5000.0f, 5.0f}, {300.0f, 9.0f}};
  for (const Case& c : cases) {
    Filter f = Make(c.cutoff, c.resonance);
    SCOPED_TRACE(testing::Message() << c.cutoff << " Hz, resonance " << c.resonance);
    EXPECT_NEAR(Gain(f, kDc), kStages / (1.0 + kStages * f.fb), 1e-4);
    EXPECT_LT(Gain(f, kNyquist), 1e-4);
  }
}

// Near 10 the ladder starts to ring at its own frequency and above it
// oscillates and grows without bound; below 10 a burst still dies away.
TEST_F(FourPoleLowPass, SelfOscillationStartsAtResonanceTen) {
  for (float resonance : {9.5f, 10.5f}) {
    Filter f = Make(2000.0f, resonance);
    for (int i = 0; i < 8; ++i) filter_4P_LP_dsp(&f, 1.0f);
    float y = 0.0f;
    for (int i = 0; i < 100000; ++i) y = filter_4P_LP_dsp(&f, 0.0f);
    if (resonance < 10.0f) {
      EXPECT_LT(std::fabs(y), 1e-6f);
    } else {
      EXPECT_FALSE(std::fabs(y) < 1e6f) << y;
    }
  }
}

// Two samples spelled out: the input scaling uses the previous out4, each
// stage mixes 0.3 of its previous input.
TEST_F(FourPoleLowPass, FirstSamplesFollowTheLadder) {
  Filter f = Make(4000.0f, 3.0f);
  const double g = 0.35013 * f.f4;
  const double m = f.one_minus_f;
  double in[4] = {0, 0, 0, 0};
  double out[4] = {0, 0, 0, 0};
  for (float x : {1.0f, -0.5f, 0.25f}) {
    double u = (x - out[3] * f.fb) * g;
    for (int s = 0; s < 4; ++s) {
      const double o = u + 0.3 * in[s] + m * out[s];
      in[s] = u;
      out[s] = o;
      u = o;
    }
    EXPECT_EQ(filter_4P_LP_dsp(&f, x), static_cast<float>(out[3]));
  }
  EXPECT_EQ(f.in4, out[2]);
  EXPECT_EQ(f.out1, out[0]);
}

TEST_F(FourPoleLowPass, TheSameValueTwiceRecomputesNothing) {
  Filter f = Make(1000.0f, 4.0f);
  f.f4 = 123.0;  // a marker that a recomputation would overwrite
  f.fb = 456.0;
  filter_4P_LP_set_attr(&f, ATTR_CUTOFF, 1000.0f);
  filter_4P_LP_set_attr(&f, ATTR_RESONANCE, 4.0f);
  EXPECT_EQ(f.f4, 123.0);
  EXPECT_EQ(f.fb, 456.0);
  filter_4P_LP_set_attr(&f, ATTR_RESONANCE, 4.5f);
  EXPECT_NE(f.fb, 456.0);
  filter_4P_LP_set_attr(&f, ATTR_CUTOFF, 1001.0f);
  EXPECT_NE(f.f4, 123.0);
}

TEST_F(FourPoleLowPass, LinkCopiesSettingsNotStages) {
  Filter source = Make(3000.0f, 6.0f);
  Filter destination = Make(200.0f, 1.0f);
  for (int i = 0; i < 50; ++i) filter_4P_LP_dsp(&destination, 1.0f);
  const double stage = destination.out2;
  filter_4P_LP_link(&source, &destination);
  EXPECT_EQ(destination.out2, stage);
  EXPECT_EQ(filter_4P_LP_get_attr(&destination, ATTR_CUTOFF), 3000.0f);
  EXPECT_EQ(filter_4P_LP_get_attr(&destination, ATTR_RESONANCE), 6.0f);
  filter_4P_LP_clear(&source);
  filter_4P_LP_clear(&destination);
  for (int i = 0; i < 500; ++i) {
    const float x = std::sin(0.05f * i);
    ASSERT_EQ(filter_4P_LP_dsp(&source, x), filter_4P_LP_dsp(&destination, x)) << i;
  }
}

TEST_F(FourPoleLowPass, ClearSilencesButKeepsTheSettings) {
  Filter f = Make(3000.0f, 6.0f);
  for (int i = 0; i < 50; ++i) filter_4P_LP_dsp(&f, 1.0f);
  const double fb = f.fb;
  filter_4P_LP_clear(&f);
  EXPECT_EQ(f.fb, fb);
  EXPECT_EQ(f.output, 0.0f);
  EXPECT_EQ(filter_4P_LP_dsp(&f, 1.0f), static_cast<float>(0.35013 * f.f4));
  filter_4P_LP_free(&f);
}

TEST_F(FourPoleLowPass, UnusableValuesAreIgnored) {
  struct Case {
    int32_t id;
    float value;
  };
  const Case cases[] = {
      {ATTR_CUTOFF, kNaN},       {ATTR_CUTOFF, kInf},       {ATTR_CUTOFF, -kInf},
      {ATTR_CUTOFF, 0.0f},       {ATTR_CUTOFF, -1000.0f},   {ATTR_RESONANCE, kNaN},
      {ATTR_RESONANCE, kInf},    {ATTR_RESONANCE, -kInf},   {ATTR_GAIN_DB, 3.0f},
  };
  for (const Case& c : cases) {
    Filter f = Make(700.0f, 2.0f);
    const Filter before = f;
    filter_4P_LP_set_attr(&f, c.id, c.value);
    SCOPED_TRACE(testing::Message() << c.id << " " << c.value);
    EXPECT_EQ(f.cutoff, before.cutoff);
    EXPECT_EQ(f.resonance, before.resonance);
    EXPECT_EQ(f.f, before.f);
    EXPECT_EQ(f.fb, before.fb);
  }
}

// Beyond half the rate the stages would turn unstable; such a cutoff is kept
// as set but tuned exactly as half the rate.
TEST_F(FourPoleLowPass, CutoffsAboveHalfTheRateTuneAsHalfTheRate) {
  const Filter nyquist = Make(22050.0f, 3.0f);
  for (float cutoff : {22051.0f, 40000.0f, 1e30f}) {
    Filter f = Make(cutoff, 3.0f);
    SCOPED_TRACE(cutoff);
    EXPECT_EQ(filter_4P_LP_get_attr(&f, ATTR_CUTOFF), cutoff);
    EXPECT_EQ(f.fc, nyquist.fc);
    EXPECT_EQ(f.f4, nyquist.f4);
    EXPECT_LT(Gain(f, 0.3), 2.0);
  }
}

TEST_F(FourPoleLowPass, ABrokenSamplingRateGivesASilentFilter) {
  for (float rate : {0.0f, -44100.0f, kNaN, kInf}) {
    qmx_set_attr(ATTR_SAMPLING_RATE, rate);
    Filter f;
    filter_4P_LP_init(&f);
    filter_4P_LP_set_attr(&f, ATTR_CUTOFF, 500.0f);
    SCOPED_TRACE(rate);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(filter_4P_LP_dsp(&f, 1.0f), 0.0f);
  }
}

}  // namespace
