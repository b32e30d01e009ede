#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "dsp/sampling_rate_guard.h"
#include "dsp/filter_butterworth.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

using Filter = _filter_butterworth_2P_struct;
using SetAttr = void (*)(Filter*, int32_t, float);

// The sampling rate is process-wide: every test puts it back.
class Butterworth : public ::testing::Test {
 protected:
  void SetUp() override { qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f); }

  static Filter LowPass(float cutoff) {
    Filter f;
    filter_butterworth_2P_LP_init(&f);
    filter_butterworth_2P_LP_set_attr(&f, ATTR_CUTOFF, cutoff);
    return f;
  }
  static Filter HighPass(float cutoff) {
    Filter f;
    filter_butterworth_2P_HP_init(&f);
    filter_butterworth_2P_HP_set_attr(&f, ATTR_CUTOFF, cutoff);
    return f;
  }

  // Settled amplitude for a constant (dc) or alternating (nyquist) input of 1.
  static float SettledGain(Filter& f, bool nyquist) {
    float y = 0.0f;
    for (int i = 0; i < 20000; ++i) {
      const float x = (nyquist && (i & 1)) ? -1.0f : 1.0f;
      y = filter_butterworth_2P_dsp(&f, x);
    }
    return std::fabs(y);
  }

 private:
  SamplingRateGuard rateGuard_;
};

struct CoefficientCase {
  bool high_pass;
  float cutoff;
  float a0, a1, b1, b2;
};

TEST_F(Butterworth, CoefficientsAtTheEffectsCutoffs) {
  const CoefficientCase cases[] = {
      {false, 2500.0f, 0.0251761f, 0.0503522f, -1.5036954f, 0.6043998f},
      {true, 200.0f, 0.9800525f, -1.9601049f, -1.959707f, 0.9605029f},
  };
  for (const CoefficientCase& c : cases) {
    const Filter f = c.high_pass ? HighPass(c.cutoff) : LowPass(c.cutoff);
    SCOPED_TRACE(c.high_pass ? "high-pass" : "low-pass");
    EXPECT_EQ(f.cutoff, c.cutoff);
    EXPECT_NEAR(f.a0, c.a0, 1e-6);
    EXPECT_EQ(f.a2, f.a0);
    EXPECT_EQ(f.a1, c.high_pass ? -2.0f * f.a0 : f.a0 + f.a0);
    EXPECT_NEAR(f.a1, c.a1, 1e-6);
    EXPECT_NEAR(f.b1, c.b1, 1e-6);
    EXPECT_NEAR(f.b2, c.b2, 1e-6);
  }
}

TEST_F(Butterworth, LowAndHighPassShareTheirPolesAt1000Hz) {
  Filter lp;
  Filter hp;
  filter_butterworth_2P_LP_init(&lp);  // 1000 Hz by default
  filter_butterworth_2P_HP_init(&hp);
  EXPECT_EQ(lp.cutoff, 1000.0f);
  EXPECT_EQ(hp.cutoff, 1000.0f);
  EXPECT_NEAR(lp.b1, -1.7990964f, 1e-6);
  EXPECT_NEAR(hp.b1, -1.7990964f, 1e-6);
  EXPECT_NEAR(lp.b2, 0.8175124f, 1e-6);
  EXPECT_NEAR(hp.b2, 0.8175124f, 1e-6);
}

// The precision of every step is fixed (low-pass tangent in double, high-pass
// tangent in single, a0 and b2 in double): recomputed step by step here,
// the coefficients must agree to the last bit.
TEST_F(Butterworth, CoefficientsFollowTheFixedPrecisionOfEachStep) {
  const double sqrt2 = 1.4142135623730951;
  const double pi = 3.141592653589793;
  for (float rate : {44100.0f, 48000.0f, 96000.0f, 22050.0f}) {
    qmx_set_attr(ATTR_SAMPLING_RATE, rate);
    for (float fc : {20.0f, 200.0f, 1000.0f, 2500.0f, 7777.7f, 10000.0f}) {
      const float w = static_cast<float>(double{fc} * pi * double{gAudioSamplingRateReciprocal});
      const float k_lp = static_cast<float>(1.0 / std::tan(double{w}));
      const float k_hp = std::tan(w);
      for (bool hp : {false, true}) {
        const float k = hp ? k_hp : k_lp;
        const float k2 = k * k;
        const float a0 = static_cast<float>(1.0 / (sqrt2 * k + 1.0 + k2));
        const float b1 = hp ? (a0 + a0) * (k2 - 1.0f) : (a0 + a0) * (1.0f - k2);
        const float b2 = static_cast<float>(double{a0} * (1.0 - sqrt2 * k + k2));
        const Filter f = hp ? HighPass(fc) : LowPass(fc);
        SCOPED_TRACE(testing::Message() << (hp ? "HP " : "LP ") << fc << " Hz at " << rate);
        EXPECT_EQ(std::bit_cast<uint32_t>(f.a0), std::bit_cast<uint32_t>(a0));
        EXPECT_EQ(std::bit_cast<uint32_t>(f.b1), std::bit_cast<uint32_t>(b1));
        EXPECT_EQ(std::bit_cast<uint32_t>(f.b2), std::bit_cast<uint32_t>(b2));
      }
    }
  }
}

TEST_F(Butterworth, PassbandGainIsOne) {
  // From the coefficients themselves ...
  const Filter lp0 = LowPass(2500.0f);
  EXPECT_NEAR((double{lp0.a0} + lp0.a1 + lp0.a2) / (1.0 + lp0.b1 + lp0.b2), 1.0, 1e-6);
  const Filter hp0 = HighPass(200.0f);
  EXPECT_NEAR((double{hp0.a0} - hp0.a1 + hp0.a2) / (1.0 - hp0.b1 + hp0.b2), 1.0, 1e-6);
  // ... and running, where single-precision rounding in the recursion adds a
  // little (the high-pass poles sit close to 1, amplifying it).
  Filter lp = LowPass(2500.0f);
  EXPECT_NEAR(SettledGain(lp, false), 1.0f, 1e-5);
  Filter hp = HighPass(200.0f);
  EXPECT_NEAR(SettledGain(hp, true), 1.0f, 1e-4);
  // and the stop bands are closed
  Filter lp2 = LowPass(2500.0f);
  EXPECT_LT(SettledGain(lp2, true), 1e-6f);
}

TEST_F(Butterworth, HighPassTailEndsInExactZeros) {
  Filter hp;
  filter_butterworth_2P_HP_init(&hp);
  // The ringing tail crosses zero on its way down; once two outputs in a
  // row are flushed the recursion holds +0 for good.
  int zeros_in_a_row = 0;
  int i = 0;
  for (; i < 100000 && zeros_in_a_row < 2; ++i) {
    const float y = filter_butterworth_2P_HP_dsp(&hp, 1.0f);
    zeros_in_a_row = std::bit_cast<uint32_t>(y) == 0 ? zeros_in_a_row + 1 : 0;
  }
  ASSERT_LT(i, 100000) << "never settled on +0";
  EXPECT_GT(i, 100);
  for (int k = 0; k < 1000; ++k) {
    ASSERT_EQ(std::bit_cast<uint32_t>(filter_butterworth_2P_HP_dsp(&hp, 1.0f)), 0u);
  }
  EXPECT_EQ(std::bit_cast<uint32_t>(filter_butterworth_2P_HP_get_output(&hp)), 0u);
}

TEST_F(Butterworth, SubnormalResultsAreFlushedToPositiveZero) {
  Filter lp = LowPass(2500.0f);
  const float tiny = 1e-39f;  // a0 times this is subnormal
  ASSERT_EQ(std::fpclassify(lp.a0 * tiny), FP_SUBNORMAL);
  EXPECT_EQ(std::bit_cast<uint32_t>(filter_butterworth_2P_LP_dsp(&lp, tiny)), 0u);
  EXPECT_EQ(std::bit_cast<uint32_t>(filter_butterworth_2P_LP_dsp(&lp, -tiny)), 0u);
  // a result just above the subnormal range is kept
  Filter hp = HighPass(200.0f);
  const float small = 2.0f * std::numeric_limits<float>::min();
  ASSERT_EQ(std::fpclassify(hp.a0 * small), FP_NORMAL);
  EXPECT_EQ(filter_butterworth_2P_HP_dsp(&hp, small), hp.a0 * small);
}

TEST_F(Butterworth, AnyIdSetsTheCutoff) {
  Filter lp;
  filter_butterworth_2P_LP_init(&lp);
  filter_butterworth_2P_LP_set_attr(&lp, ATTR_RESONANCE, 2500.0f);
  EXPECT_EQ(lp.cutoff, 2500.0f);
  EXPECT_EQ(lp.a0, LowPass(2500.0f).a0);
  Filter hp;
  filter_butterworth_2P_HP_init(&hp);
  filter_butterworth_2P_HP_set_attr(&hp, 12345, 200.0f);
  EXPECT_EQ(hp.cutoff, 200.0f);
  EXPECT_EQ(hp.b2, HighPass(200.0f).b2);
}

TEST_F(Butterworth, ClearSilencesTheHistoryButKeepsTheCutoff) {
  for (bool high_pass : {false, true}) {
    Filter f = high_pass ? HighPass(200.0f) : LowPass(2500.0f);
    const Filter settings = f;
    for (int i = 0; i < 50; ++i) filter_butterworth_2P_dsp(&f, std::sin(0.3f * i));
    if (high_pass) {
      filter_butterworth_2P_HP_clear(&f);
    } else {
      filter_butterworth_2P_LP_clear(&f);
    }
    EXPECT_EQ(f.cutoff, settings.cutoff);
    EXPECT_EQ(f.b1, settings.b1);
    EXPECT_EQ(f.output, 0.0f);
    EXPECT_EQ(filter_butterworth_2P_dsp(&f, 0.7f), f.a0 * 0.7f);
  }
}

TEST_F(Butterworth, FirstSamplesFollowTheRecursionOrder) {
  // x = 1, 0.5, -0.25 through a fresh filter, each output spelled out.
  Filter f = LowPass(2500.0f);
  const float y0 = filter_butterworth_2P_LP_dsp(&f, 1.0f);
  EXPECT_EQ(y0, f.a0);
  const float y1 = filter_butterworth_2P_LP_dsp(&f, 0.5f);
  EXPECT_EQ(y1, ((f.a1 * 1.0f + f.a0 * 0.5f) - f.b2 * 0.0f) - f.b1 * y0);
  const float y2 = filter_butterworth_2P_LP_dsp(&f, -0.25f);
  EXPECT_EQ(y2, (((f.a2 * 1.0f + f.a1 * 0.5f) + f.a0 * -0.25f) - f.b2 * y0) - f.b1 * y1);
  EXPECT_EQ(f.y1, y1);
  EXPECT_EQ(f.y2, y0);
  EXPECT_EQ(f.x1, -0.25f);
  EXPECT_EQ(f.x2, 0.5f);
  EXPECT_EQ(filter_butterworth_2P_LP_get_output(&f), y2);
}

struct FilterModule {
  const char* name;
  void (*init)(Filter*);
  SetAttr set_attr;
};

const FilterModule kModules[] = {
    {"low-pass", filter_butterworth_2P_LP_init, filter_butterworth_2P_LP_set_attr},
    {"high-pass", filter_butterworth_2P_HP_init, filter_butterworth_2P_HP_set_attr},
};

TEST_F(Butterworth, UnusableCutoffsLeaveTheFilterAsItWas) {
  for (const FilterModule& m : kModules) {
    for (float bad : {0.0f, -0.0f, -200.0f, kNaN, kInf, -kInf}) {
      Filter f;
      m.init(&f);
      m.set_attr(&f, ATTR_CUTOFF, 500.0f);
      const Filter before = f;
      m.set_attr(&f, ATTR_CUTOFF, bad);
      SCOPED_TRACE(testing::Message() << m.name << " " << bad);
      EXPECT_EQ(f.cutoff, before.cutoff);
      EXPECT_EQ(f.a0, before.a0);
      EXPECT_EQ(f.b1, before.b1);
      EXPECT_EQ(f.b2, before.b2);
    }
  }
  // A positive but vanishing cutoff overflows the low-pass K = 1/tan(w) and
  // would give NaN coefficients: refused as well.
  Filter lp = LowPass(500.0f);
  const Filter before = lp;
  filter_butterworth_2P_LP_set_attr(&lp, ATTR_CUTOFF, 1e-37f);
  EXPECT_EQ(lp.cutoff, before.cutoff);
  EXPECT_EQ(lp.b1, before.b1);
}

TEST_F(Butterworth, CutoffsAtOrAboveNyquistMoveJustBelowIt) {
  for (const FilterModule& m : kModules) {
    for (float high : {22050.0f, 22051.0f, 30000.0f, 1e30f}) {
      Filter f;
      m.init(&f);
      m.set_attr(&f, ATTR_CUTOFF, high);
      SCOPED_TRACE(testing::Message() << m.name << " " << high);
      EXPECT_LT(f.cutoff, 22050.0f);
      EXPECT_GT(f.cutoff, 22000.0f);
      EXPECT_TRUE(std::isfinite(f.a0) && std::isfinite(f.a1) && std::isfinite(f.b1) &&
                  std::isfinite(f.b2));
      // still a stable filter
      std::mt19937 rng(3);
      std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
      float peak = 0.0f;
      for (int i = 0; i < 20000; ++i) peak = std::fmax(peak, std::fabs(filter_butterworth_2P_dsp(&f, noise(rng))));
      EXPECT_LT(peak, 10.0f);
    }
  }
}

TEST_F(Butterworth, ABrokenSamplingRateGivesASilentFilter) {
  for (float rate : {0.0f, -44100.0f, kNaN, kInf}) {
    qmx_set_attr(ATTR_SAMPLING_RATE, rate);
    for (const FilterModule& m : kModules) {
      Filter f;
      m.init(&f);
      SCOPED_TRACE(testing::Message() << m.name << " at " << rate);
      EXPECT_EQ(filter_butterworth_2P_dsp(&f, 1.0f), 0.0f);
      m.set_attr(&f, ATTR_CUTOFF, 1000.0f);
      EXPECT_EQ(filter_butterworth_2P_dsp(&f, 1.0f), 0.0f);
    }
  }
}

TEST_F(Butterworth, WildCutoffsAndInputsNeverCrash) {
  const float wild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 0.0f, 1e-30f, 1e-45f, 5.0f, 200.0f, 22049.0f, 3e4f};
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> pick(0, 11);
  for (const FilterModule& m : kModules) {
    Filter f;
    m.init(&f);
    for (int i = 0; i < 20000; ++i) {
      if (i % 97 == 0) {
        m.set_attr(&f, ATTR_CUTOFF, wild[pick(rng)]);
        ASSERT_TRUE(std::isfinite(f.a0) && std::isfinite(f.a1) && std::isfinite(f.a2) &&
                    std::isfinite(f.b1) && std::isfinite(f.b2))
            << m.name << " cutoff " << f.cutoff;
        filter_butterworth_2P_LP_clear(&f);
      }
      filter_butterworth_2P_dsp(&f, wild[pick(rng)]);
    }
    filter_butterworth_2P_LP_free(&f);
    filter_butterworth_2P_HP_free(&f);
  }
}

}  // namespace
