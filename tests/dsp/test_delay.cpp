#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "dsp/delay.h"
#include "dsp/sampling_rate_guard.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The outputs for an impulse of 1 followed by silence.
template <typename Line, typename Dsp>
std::vector<float> ImpulseResponse(Line* line, Dsp dsp, int samples) {
  std::vector<float> out;
  for (int i = 0; i < samples; ++i) out.push_back(dsp(line, i == 0 ? 1.0f : 0.0f));
  return out;
}

// Index of the single 1 in an impulse response of a whole-sample delay, or -1
// when the response is anything else.
int OnlyPeak(const std::vector<float>& out) {
  int peak = -1;
  for (int i = 0; i < static_cast<int>(out.size()); ++i) {
    if (out[i] == 1.0f && peak < 0) {
      peak = i;
    } else if (out[i] != 0.0f) {
      return -1;
    }
  }
  return peak;
}

// ---------------------------------------------------------------------------
// delay

class PlainDelay : public ::testing::Test {
 protected:
  void SetUp() override { delay_init(&line_, 100); }
  void TearDown() override { delay_free(&line_); }
  SamplingRateGuard rateGuard_;
  _delay_struct line_{};
};

TEST_F(PlainDelay, PassesTheInputStraightThroughUntilADelayIsSet) {
  EXPECT_EQ(delay_get_attr(&line_, ATTR_DELAY_SAMPLES), 0.0f);
  for (float x : {0.5f, -1.0f, 3.0f}) EXPECT_EQ(delay_dsp(&line_, x), x);
}

TEST_F(PlainDelay, AnImpulseComesOutExactlyDSamplesLater) {
  for (float d : {1.0f, 2.0f, 10.0f, 10.9f, 57.0f, 99.0f, 100.0f}) {
    SCOPED_TRACE(d);
    delay_set_attr(&line_, ATTR_DELAY_SAMPLES, d);
    for (int i = 0; i < 150; ++i) delay_dsp(&line_, 0.0f);  // flush
    EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_dsp, 250)), static_cast<int>(d));
  }
}

TEST_F(PlainDelay, ADelayBeyondTheBufferNegativeOrNaNIsIgnored) {
  qmx_set_attr(ATTR_SAMPLING_RATE, 1000.0f);
  delay_set_attr(&line_, ATTR_DELAY_SAMPLES, 10.0f);
  for (float bad : {101.0f, 1e9f, kInf, -1.0f, -kInf, kNaN}) {
    for (int32_t id : {ATTR_DELAY_SAMPLES, ATTR_DELAY_MS}) {
      SCOPED_TRACE(testing::Message() << bad << " id " << id);
      delay_set_attr(&line_, id, bad);
      EXPECT_EQ(delay_get_attr(&line_, ATTR_DELAY_SAMPLES), 10.0f);
      EXPECT_EQ(delay_get_attr(&line_, ATTR_DELAY_MS), 10.0f);
    }
  }
  delay_set_attr(&line_, ATTR_DELAY_SAMPLES, 100.0f);  // the whole buffer is fine
  EXPECT_EQ(delay_get_attr(&line_, ATTR_DELAY_SAMPLES), 100.0f);
}

TEST_F(PlainDelay, ConvertsBetweenMillisecondsAndSamples) {
  qmx_set_attr(ATTR_SAMPLING_RATE, 8000.0f);
  auto Ms = [](float samples) {
    return static_cast<float>(static_cast<double>(samples) * 1000.0 *
                              static_cast<double>(gAudioSamplingRateReciprocal));
  };
  EXPECT_NE(Ms(12.0f), 1.5f);  // the reciprocal of 8000 is not exact
  const struct {
    int32_t id;
    float value;
    float samples;
    float ms;
  } cases[] = {
      {ATTR_DELAY_MS, 5.0f, 40.0f, 5.0f},
      {ATTR_DELAY_MS, 5.06f, 40.0f, 5.06f},  // 40.48 samples, truncated
      // Samples to milliseconds through the single-precision reciprocal.
      {ATTR_DELAY_SAMPLES, 12.0f, 12.0f, Ms(12.0f)},
      {ATTR_DELAY_SAMPLES, 12.7f, 12.0f, Ms(12.7f)},
      {ATTR_DELAY_SAMPLES, -0.5f, 0.0f, Ms(-0.5f)},  // truncates to 0, a valid delay
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    delay_set_attr(&line_, c.id, c.value);
    EXPECT_EQ(delay_get_attr(&line_, ATTR_DELAY_SAMPLES), c.samples);
    EXPECT_EQ(delay_get_attr(&line_, ATTR_DELAY_MS), c.ms);
  }
  EXPECT_EQ(delay_get_attr(&line_, ATTR_CUTOFF), 0.0f);
}

TEST_F(PlainDelay, GetOutputIsTheSampleTheNextCallReturns) {
  delay_set_attr(&line_, ATTR_DELAY_SAMPLES, 3.0f);
  for (float x : {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}) {
    const float next = delay_get_output(&line_);
    EXPECT_EQ(delay_dsp(&line_, x), next);
  }
}

TEST_F(PlainDelay, ShorteningTheLoopBehindTheWriteHeadKeepsTheDelayExact) {
  delay_set_attr(&line_, ATTR_DELAY_SAMPLES, 60.0f);
  for (int i = 0; i < 45; ++i) delay_dsp(&line_, 0.0f);  // write head at slot 45
  delay_set_attr(&line_, ATTR_DELAY_SAMPLES, 10.0f);
  EXPECT_LE(line_.write_slot, line_.end_slot);  // both heads inside the loop
  EXPECT_LE(line_.read_slot, line_.end_slot);
  for (int i = 0; i < 20; ++i) delay_dsp(&line_, 0.0f);
  EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_dsp, 100)), 10);
  // Longer again: the loop reaches back over stale slots, then holds.
  delay_set_attr(&line_, ATTR_DELAY_SAMPLES, 33.0f);
  for (int i = 0; i < 40; ++i) delay_dsp(&line_, 0.0f);
  EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_dsp, 100)), 33);
}

TEST_F(PlainDelay, MissingBufferAnswersSilence) {
  delay_free(&line_);
  EXPECT_EQ(delay_dsp(&line_, 1.0f), 0.0f);
  EXPECT_EQ(delay_get_output(&line_), 0.0f);
  delay_free(&line_);  // harmless twice
  delay_init(&line_, 100);
}

// ---------------------------------------------------------------------------
// delay_frac

class FracDelay : public ::testing::Test {
 protected:
  void SetUp() override { delay_frac_init(&line_, 100); }
  void TearDown() override { delay_frac_free(&line_); }
  void Flush() {
    for (int i = 0; i < 120; ++i) delay_frac_dsp(&line_, 0.0f);
  }
  SamplingRateGuard rateGuard_;
  _delay_frac_struct line_{};
};

TEST_F(FracDelay, DelayTimesAreClampedAndSplitIntoWholeAndFraction) {
  const struct {
    float samples;
    uint32_t d;
    float fraction;
  } cases[] = {
      {10.0f, 10, 0.0f},  {10.5f, 10, 0.5f},  {0.0f, 1, 0.0f},    {150.0f, 100, 0.0f},
      {100.0f, 100, 0.0f}, {99.25f, 99, 0.25f}, {1.0f, 1, 0.0f},   {0.3f, 1, 0.0f},
      {-4.0f, 1, 0.0f},   {-kInf, 1, 0.0f},   {kInf, 100, 0.0f},  {2.75f, 2, 0.75f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.samples);
    delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, 50.0f);  // something else first
    delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, c.samples);
    EXPECT_EQ(line_.delay_samples, c.d);
    EXPECT_EQ(line_.fraction, c.fraction);
    // Only the whole part is reported.
    EXPECT_EQ(delay_frac_get_attr(&line_, ATTR_DELAY_SAMPLES), static_cast<float>(c.d));
    // The milliseconds follow the request, unclamped.
    EXPECT_EQ(delay_frac_get_attr(&line_, ATTR_DELAY_MS), c.samples * 1000.0f / gAudioSamplingRate);
  }
}

TEST_F(FracDelay, NaNAndTheSameDelayAgainChangeNothing) {
  qmx_set_attr(ATTR_SAMPLING_RATE, 1000.0f);
  delay_frac_set_attr(&line_, ATTR_DELAY_MS, 12.0f);
  EXPECT_EQ(line_.delay_samples, 12u);
  EXPECT_EQ(delay_frac_get_attr(&line_, ATTR_DELAY_MS), 12.0f);
  delay_frac_set_attr(&line_, ATTR_DELAY_MS, kNaN);
  delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, kNaN);
  EXPECT_EQ(line_.delay_samples, 12u);
  EXPECT_EQ(delay_frac_get_attr(&line_, ATTR_DELAY_MS), 12.0f);
  // 12 samples again, asked in samples: nothing changes, not even the ms.
  delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, 12.0f);
  EXPECT_EQ(delay_frac_get_attr(&line_, ATTR_DELAY_MS), 12.0f);
  // A whole delay equal to D still cancels a pending fraction.
  delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, 12.5f);
  delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, 12.0f);
  EXPECT_EQ(line_.delay_samples, 12u);
  EXPECT_EQ(line_.fraction, 0.0f);
  EXPECT_EQ(delay_frac_get_attr(&line_, ATTR_CUTOFF), 0.0f);
}

TEST_F(FracDelay, AWholeSampleDelayGivesTheImpulseExactlyDLater) {
  for (float d : {1.0f, 2.0f, 3.0f, 10.0f, 97.0f, 98.0f, 99.0f, 100.0f}) {
    SCOPED_TRACE(d);
    delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, d);
    Flush();
    EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_frac_dsp, 220)), static_cast<int>(d));
  }
}

TEST_F(FracDelay, BeforeAnyDelayItReadsTheWholeBufferBack) {
  EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_frac_dsp, 220)), 100);
}

TEST_F(FracDelay, AFractionSpreadsTheImpulseWithCatmullRomWeights) {
  // Fraction f reads at t = 1 - f between the samples D + 1 and D back; the
  // weights of xm1, x0, x1, x2 land D + 2, D + 1, D and D - 1 samples later.
  const struct {
    float fraction;
    float w[4];  // outputs at D - 1, D, D + 1, D + 2
  } cases[] = {
      {0.5f, {-0.0625f, 0.5625f, 0.5625f, -0.0625f}},
      {0.25f, {-0.0703125f, 0.8671875f, 0.2265625f, -0.0234375f}},
      {0.75f, {-0.0234375f, 0.2265625f, 0.8671875f, -0.0703125f}},
  };
  for (int d : {1, 10, 97}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << "D " << d << " fraction " << c.fraction);
      delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, static_cast<float>(d) + c.fraction);
      Flush();
      const std::vector<float> out = ImpulseResponse(&line_, delay_frac_dsp, 210);
      for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        const int k = i - (d - 1);
        EXPECT_EQ(out[i], (k >= 0 && k < 4) ? c.w[k] : 0.0f) << "sample " << i;
      }
    }
  }
}

TEST_F(FracDelay, AFractionalDelayFollowsARampExactly) {
  // Cubic Hermite reproduces a straight line: the output is the input
  // D + f samples back.
  delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, 7.25f);
  for (int i = 0; i < 300; ++i) {
    const float y = delay_frac_dsp(&line_, static_cast<float>(i));
    if (i >= 10) {
      EXPECT_NEAR(y, static_cast<float>(i) - 7.25f, 1e-4f) << "sample " << i;
    }
  }
}

TEST_F(FracDelay, NearTheBufferEndTheFractionIsKeptButTheReadIsWhole) {
  for (float s : {98.5f, 99.5f}) {
    SCOPED_TRACE(s);
    delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, s);
    EXPECT_NE(line_.fraction, 0.0f);
    Flush();
    EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_frac_dsp, 220)), static_cast<int>(s));
  }
}

TEST_F(FracDelay, ClearSilencesTheBufferAndKeepsTheWriteIndex) {
  delay_frac_set_attr(&line_, ATTR_DELAY_SAMPLES, 5.0f);
  for (int i = 0; i < 17; ++i) delay_frac_dsp(&line_, 1.0f);
  EXPECT_EQ(line_.write_index, 17u);
  delay_frac_clear(&line_);
  EXPECT_EQ(line_.write_index, 17u);
  EXPECT_EQ(line_.delay_samples, 5u);
  for (uint32_t k = 0; k <= line_.length; ++k) ASSERT_EQ(line_.buffer[k], 0.0f);
  EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_frac_dsp, 50)), 5);
  EXPECT_EQ(delay_frac_get_output(&line_), 0.0f);
}

// ---------------------------------------------------------------------------
// delay_cubic

class CubicDelay : public ::testing::Test {
 protected:
  void TearDown() override {
    if (owned_) delay_cubic_free(&line_);
  }
  _delay_cubic_struct* Make(uint32_t length) {
    delay_cubic_init(&line_, length);
    owned_ = true;
    return &line_;
  }
  SamplingRateGuard rateGuard_;
  _delay_cubic_struct line_{};
  bool owned_ = false;
};

TEST_F(CubicDelay, InitSetsTenMilliseconds) {
  qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f);
  Make(1000);
  const float s = 10.0f * gSamplesPerMillisecond;  // 441.00003
  EXPECT_EQ(line_.delay_samples, 441u);
  EXPECT_EQ(line_.fraction, static_cast<double>(s - 441.0f));
  EXPECT_EQ(delay_cubic_get_attr(&line_, ATTR_DELAY_SAMPLES), 441.0f);
  EXPECT_EQ(delay_cubic_get_attr(&line_, ATTR_DELAY_MS), 10.0f);
  EXPECT_EQ(line_.read_slot, 1000u - 441u);
}

TEST_F(CubicDelay, DelayTimesAreSplitAndKeptInsideTheBuffer) {
  qmx_set_attr(ATTR_SAMPLING_RATE, 1000.0f);
  Make(100);
  const struct {
    int32_t id;
    float value;
    uint32_t d;
    double fraction;
    float ms;
  } cases[] = {
      {ATTR_DELAY_SAMPLES, 10.25f, 10, 0.25, 10.25f * gMillisecondsPerSample},
      {ATTR_DELAY_MS, 20.5f, 20, 0.5, 20.5f},
      {ATTR_DELAY_SAMPLES, 99.5f, 99, 0.5, 99.5f * gMillisecondsPerSample},
      {ATTR_DELAY_SAMPLES, 100.0f, 99, 0.0, 100.0f * gMillisecondsPerSample},
      {ATTR_DELAY_SAMPLES, 1e20f, 99, 0.0, 1e20f * gMillisecondsPerSample},
      {ATTR_DELAY_MS, kInf, 99, 0.0, kInf},
      {ATTR_DELAY_SAMPLES, 0.0f, 0, 0.0, 0.0f},
      {ATTR_DELAY_SAMPLES, 0.75f, 0, 0.75, 0.75f * gMillisecondsPerSample},
      {ATTR_DELAY_SAMPLES, -3.0f, 0, 0.0, -3.0f * gMillisecondsPerSample},
      {ATTR_DELAY_MS, -kInf, 0, 0.0, -kInf},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    delay_cubic_set_attr(&line_, c.id, c.value);
    EXPECT_EQ(line_.delay_samples, c.d);
    EXPECT_EQ(line_.fraction, c.fraction);
    EXPECT_EQ(delay_cubic_get_attr(&line_, ATTR_DELAY_MS), c.ms);
    const uint32_t behind = (line_.write_slot + 100 - line_.read_slot) % 100;
    EXPECT_EQ(behind, c.d);
  }
  delay_cubic_set_attr(&line_, ATTR_DELAY_SAMPLES, 12.0f);
  delay_cubic_set_attr(&line_, ATTR_DELAY_SAMPLES, kNaN);  // ignored
  delay_cubic_set_attr(&line_, ATTR_DELAY_MS, kNaN);
  EXPECT_EQ(line_.delay_samples, 12u);
  EXPECT_EQ(delay_cubic_get_attr(&line_, ATTR_DELAY_MS), 12.0f * gMillisecondsPerSample);
  EXPECT_EQ(delay_cubic_get_attr(&line_, ATTR_CUTOFF), 0.0f);
}

TEST_F(CubicDelay, AQuarterSpreadsTheImpulseWithLagrangeWeights) {
  Make(100);
  delay_cubic_set_attr(&line_, ATTR_DELAY_SAMPLES, 10.25f);
  EXPECT_EQ(line_.delay_samples, 10u);
  EXPECT_EQ(line_.fraction, 0.25);
  const std::vector<float> out = ImpulseResponse(&line_, delay_cubic_dsp, 100);
  // Samples 8, 9, 10 and 11 calls back carry the weights of x2, x1, x0, xm1.
  const float expected[4] = {-0.0390625f, 0.2734375f, 0.8203125f, -0.0546875f};
  for (int i = 0; i < 100; ++i) {
    if (i >= 8 && i <= 11) {
      EXPECT_NEAR(out[i], expected[i - 8], 2e-8f) << "sample " << i;
    } else {
      EXPECT_EQ(out[i], 0.0f) << "sample " << i;
    }
  }
  // The weights of the middle points are exact in single precision.
  EXPECT_EQ(out[9], 0.2734375f);
  EXPECT_EQ(out[10], 0.8203125f);
}

TEST_F(CubicDelay, TheReadLeansTowardTheNewerSample) {
  // A requested D + t comes out as D - t: a ramp is delayed by 9.75, not 10.25.
  Make(100);
  delay_cubic_set_attr(&line_, ATTR_DELAY_SAMPLES, 10.25f);
  for (int i = 0; i < 300; ++i) {
    const float y = delay_cubic_dsp(&line_, static_cast<float>(i));
    if (i >= 12) {
      EXPECT_NEAR(y, static_cast<float>(i) - 9.75f, 1e-4f) << "sample " << i;
    }
  }
}

TEST_F(CubicDelay, AWholeSampleDelayGivesTheImpulseExactlyDLater) {
  Make(100);
  for (float d : {1.0f, 2.0f, 3.0f, 50.0f, 98.0f, 99.0f}) {
    SCOPED_TRACE(d);
    delay_cubic_set_attr(&line_, ATTR_DELAY_SAMPLES, d);
    delay_cubic_clear(&line_);
    EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_cubic_dsp, 220)), static_cast<int>(d));
  }
  // D = 0 reads the slot about to be overwritten: the whole buffer back.
  delay_cubic_set_attr(&line_, ATTR_DELAY_SAMPLES, 0.0f);
  delay_cubic_clear(&line_);
  EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_cubic_dsp, 220)), 100);
}

TEST_F(CubicDelay, ClearSilencesTheBufferAndKeepsTheHeads) {
  Make(64);
  delay_cubic_set_attr(&line_, ATTR_DELAY_SAMPLES, 5.0f);
  for (int i = 0; i < 23; ++i) delay_cubic_dsp(&line_, 1.0f);
  const uint32_t w = line_.write_slot;
  const uint32_t r = line_.read_slot;
  delay_cubic_clear(&line_);
  EXPECT_EQ(line_.write_slot, w);
  EXPECT_EQ(line_.read_slot, r);
  for (uint32_t k = 0; k < line_.length; ++k) ASSERT_EQ(line_.buffer[k], 0.0f);
  EXPECT_EQ(OnlyPeak(ImpulseResponse(&line_, delay_cubic_dsp, 50)), 5);
}

TEST_F(CubicDelay, EmptyOrMissingBufferAnswersSilence) {
  Make(0);
  EXPECT_EQ(line_.delay_samples, 0u);
  EXPECT_EQ(delay_cubic_dsp(&line_, 1.0f), 0.0f);
  delay_cubic_set_attr(&line_, ATTR_DELAY_SAMPLES, 5.0f);
  EXPECT_EQ(delay_cubic_dsp(&line_, 1.0f), 0.0f);
  delay_cubic_free(&line_);
  owned_ = false;
  EXPECT_EQ(delay_cubic_dsp(&line_, 1.0f), 0.0f);
}

// ---------------------------------------------------------------------------
// Wild attribute values and inputs on all three lines: nothing may index
// outside a buffer (AddressSanitizer watches), the heads stay in their loops,
// and once only finite samples are in a buffer the outputs are finite.

const float kWild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 4e9f, -4e9f, 0.0f, -0.0f, -1.0f,
                       0.3f, 0.999f, 1.0f, 2.5f, 3.0f, 97.5f, 98.0f, 99.9f, 100.0f, 100.5f,
                       101.0f, 257.0f, 1e-30f, 7.0f};
const float kRates[] = {44100.0f, 1000.0f, 1.0f, kNaN, 0.0f, -48000.0f, kInf};

// Random attribute changes and inputs: wild inputs first, then finite ones.
template <typename Check>
void WildRun(std::mt19937& rng, Check check) {
  std::uniform_int_distribution<size_t> pick(0, std::size(kWild) - 1);
  std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
  std::uniform_int_distribution<int> coin(0, 7);
  for (int phase = 0; phase < 2; ++phase) {
    const bool finite_inputs = phase == 1;
    for (int i = 0; i < 1500; ++i) {
      const bool set = coin(rng) == 0;
      const int32_t id = coin(rng) < 4 ? ATTR_DELAY_SAMPLES : ATTR_DELAY_MS;
      const float value = kWild[pick(rng)];
      const float x = finite_inputs ? sample(rng) : (coin(rng) < 2 ? kWild[pick(rng)] : sample(rng));
      check(set, id, value, x, finite_inputs);
    }
  }
}

TEST(DelayLinesProperty, WildValuesStayInsideTheBuffers) {
  SamplingRateGuard guard;
  std::mt19937 rng(4242);
  for (uint32_t n : {1u, 2u, 3u, 4u, 5u, 100u}) {
    for (float rate : kRates) {
      SCOPED_TRACE(testing::Message() << "N " << n << " rate " << rate);
      qmx_set_attr(ATTR_SAMPLING_RATE, rate);

      _delay_struct plain{};
      delay_init(&plain, n);
      _delay_frac_struct frac{};
      delay_frac_init(&frac, n);
      _delay_cubic_struct cubic{};
      delay_cubic_init(&cubic, n);
      ASSERT_LT(cubic.read_slot, n);

      bool flushed = false;
      WildRun(rng, [&](bool set, int32_t id, float value, float x, bool finite) {
        if (finite && !flushed) {
          // Every slot of every buffer overwritten with finite samples.
          delay_set_attr(&plain, ATTR_DELAY_SAMPLES, static_cast<float>(n));
          for (uint32_t k = 0; k <= n + 4; ++k) {
            delay_dsp(&plain, 0.5f);
            delay_frac_dsp(&frac, 0.5f);
            delay_cubic_dsp(&cubic, 0.5f);
          }
          flushed = true;
        }
        if (set) {
          delay_set_attr(&plain, id, value);
          delay_frac_set_attr(&frac, id, value);
          delay_cubic_set_attr(&cubic, id, value);
        }
        ASSERT_LE(plain.delay_samples, n);
        ASSERT_LE(plain.end_slot, n);
        ASSERT_LE(plain.read_slot, plain.end_slot);
        ASSERT_LE(plain.write_slot, plain.end_slot);
        ASSERT_LE(frac.delay_samples, n);
        ASSERT_LT(cubic.delay_samples, n);
        ASSERT_LT(cubic.read_slot, n);
        ASSERT_TRUE(cubic.fraction >= 0.0 && cubic.fraction < 1.0);
        ASSERT_TRUE(frac.fraction >= 0.0f && frac.fraction < 1.0f);

        const float a = delay_dsp(&plain, x);
        const float b = delay_frac_dsp(&frac, x);
        const float c = delay_cubic_dsp(&cubic, x);
        ASSERT_LT(frac.write_index, n);
        if (finite) {
          ASSERT_TRUE(std::isfinite(a) && std::isfinite(b) && std::isfinite(c))
              << a << " " << b << " " << c;
          // Interpolators of samples within -1..1 overshoot a little at most.
          ASSERT_LE(std::fabs(b), 1.3f);
          ASSERT_LE(std::fabs(c), 1.5f);
        }
      });
      delay_free(&plain);
      delay_frac_free(&frac);
      delay_cubic_free(&cubic);
    }
  }
}

}  // namespace
