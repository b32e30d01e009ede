#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <random>
#include <vector>

#include "dsp/processors.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

bool SameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

// ---------------------------------------------------------------------------
// filter_average

class MovingAverage : public ::testing::Test {
 protected:
  void SetUp() override { filter_average_init(&avg_); }
  void TearDown() override { filter_average_free(&avg_); }
  void Configure(float length, float mode) {
    filter_average_set_attr(&avg_, ATTR_AVERAGE_LENGTH, length);
    filter_average_set_attr(&avg_, ATTR_AVERAGE_MODE, mode);
  }
  std::vector<float> Run(const std::vector<float>& in) {
    std::vector<float> out;
    for (float x : in) out.push_back(filter_average_dsp(&avg_, x));
    return out;
  }
  _filter_average_struct avg_{};
};

TEST_F(MovingAverage, StartsAsAOneSampleMean) {
  EXPECT_EQ(filter_average_get_attr(&avg_, ATTR_AVERAGE_LENGTH), 1.0f);
  EXPECT_EQ(filter_average_get_attr(&avg_, ATTR_AVERAGE_MODE), 0.0f);
  EXPECT_EQ(filter_average_get_output(&avg_), 0.0f);
  EXPECT_EQ(Run({0.5f, -2.0f, 3.0f}), (std::vector<float>{0.5f, -2.0f, 3.0f}));
}

TEST_F(MovingAverage, TheThreeModes) {
  const struct {
    float mode;
    std::vector<float> in, out;
  } cases[] = {
      {0.0f, {1, 1, 1, 1, 1, 1}, {0.25f, 0.5f, 0.75f, 1, 1, 1}},
      {0.0f, {0.5f, -0.5f, 0.5f, -0.5f, 0.5f}, {0.125f, 0, 0.125f, 0, 0}},
      {1.0f, {0.5f, -0.5f, 0.5f, -0.5f, 0.5f}, {0.125f, 0.25f, 0.375f, 0.5f, 0.5f}},
      {2.0f, {-2, -2, -2, -2, -2, -2}, {1.0f, std::sqrt(2.0f), std::sqrt(3.0f), 2, 2, 2}},
      {2.9f, {3, 4, 0, 0}, {1.5f, 2.5f, 2.5f, 2.5f}},  // truncated to mode 2
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    Configure(4.0f, c.mode);
    const std::vector<float> out = Run(c.in);
    for (size_t i = 0; i < out.size(); ++i) EXPECT_FLOAT_EQ(out[i], c.out[i]) << "sample " << i;
    EXPECT_EQ(filter_average_get_output(&avg_), out.back());
  }
}

TEST_F(MovingAverage, LengthIsAcceptedFromOneTo256) {
  const struct {
    float value;
    int32_t length;    // after the call; 4 means ignored
    double inv_length;
  } cases[] = {
      {2.5f, 2, 0.4000000059604645},  {1.0f, 1, 1.0},    {256.0f, 256, 1.0 / 256.0},
      {7.0f, 7, static_cast<double>(1.0f / 7.0f)},
      {300.0f, 4, 0.25}, {256.5f, 4, 0.25}, {0.0f, 4, 0.25}, {0.5f, 4, 0.25},  {-3.0f, 4, 0.25},
      {kNaN, 4, 0.25},   {kInf, 4, 0.25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    filter_average_set_attr(&avg_, ATTR_AVERAGE_LENGTH, 4.0f);
    filter_average_set_attr(&avg_, ATTR_AVERAGE_LENGTH, c.value);
    EXPECT_EQ(filter_average_get_attr(&avg_, ATTR_AVERAGE_LENGTH), static_cast<float>(c.length));
    EXPECT_EQ(avg_.inv_length, c.inv_length);
  }
  // A length of 2.5 averages two values scaled by 0.4.
  filter_average_set_attr(&avg_, ATTR_AVERAGE_LENGTH, 2.5f);
  EXPECT_EQ(Run({1, 1, 1}).back(), static_cast<float>(2.0 * static_cast<double>(1.0f / 2.5f)));
  EXPECT_EQ(filter_average_get_attr(&avg_, ATTR_CUTOFF), 0.0f);
}

TEST_F(MovingAverage, EqualsTheMeanOfTheLastLValues) {
  // Inputs on a 2^-11 grid: every sum (of squares too) is exact in double,
  // so the running sum must equal the window summed afresh, bit for bit.
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> grid(-2048, 2048);
  for (float length : {1.0f, 3.0f, 17.0f, 256.0f}) {
    for (int mode = 0; mode <= 2; ++mode) {
      SCOPED_TRACE(testing::Message() << "L " << length << " mode " << mode);
      Configure(length, static_cast<float>(mode));
      std::deque<float> window(static_cast<size_t>(length), 0.0f);
      for (int i = 0; i < 2000; ++i) {
        const float x = static_cast<float>(grid(rng)) / 2048.0f;
        window.pop_front();
        window.push_back(mode == 0 ? x : (mode == 1 ? std::fabs(x) : x * x));
        double sum = 0.0;
        for (float v : window) sum += v;
        double want = sum * static_cast<double>(1.0f / length);
        if (mode == 2) want = std::sqrt(want);
        ASSERT_EQ(filter_average_dsp(&avg_, x), static_cast<float>(want)) << "sample " << i;
      }
    }
  }
}

TEST_F(MovingAverage, ANewLengthStartsFromAnEmptyWindow) {
  // Old values must not leave a sum they never entered: no lasting offset.
  Configure(8.0f, 0.0f);
  Run(std::vector<float>(20, 1.0f));
  filter_average_set_attr(&avg_, ATTR_AVERAGE_LENGTH, 4.0f);
  EXPECT_EQ(Run({1, 1, 1, 1, 1}), (std::vector<float>{0.25f, 0.5f, 0.75f, 1, 1}));
  const std::vector<float> later = Run(std::vector<float>(1000, 0.5f));
  EXPECT_EQ(later.back(), 0.5f);
}

TEST_F(MovingAverage, AShorterLoopBehindTheWriteSlotKeepsItsLength) {
  Configure(8.0f, 0.0f);
  Run({1, 1, 1, 1, 1, 1});
  ASSERT_EQ(avg_.write_slot, 6);  // beyond the end of a 2-value loop (slots 0..2)
  filter_average_set_attr(&avg_, ATTR_AVERAGE_LENGTH, 2.0f);
  EXPECT_EQ(Run({3, 5, 7, 9, 9}), (std::vector<float>{1.5f, 4.0f, 6.0f, 8.0f, 9.0f}));
}

TEST_F(MovingAverage, AnUnknownModeHoldsTheOutputAndLeavesTheWindowAlone) {
  Configure(4.0f, 0.0f);
  Run({1, 1, 1, 1});
  for (float bad : {3.0f, -1.0f, 1e10f}) {
    SCOPED_TRACE(bad);
    filter_average_set_attr(&avg_, ATTR_AVERAGE_MODE, bad);
    EXPECT_EQ(Run({0, 0, 0}), (std::vector<float>{1, 1, 1}));
  }
  filter_average_set_attr(&avg_, ATTR_AVERAGE_MODE, 0.0f);
  EXPECT_EQ(Run({0, 0, 0, 0, 2}), (std::vector<float>{0.75f, 0.5f, 0.25f, 0.0f, 0.5f}));
  // NaN as a mode is mode 0.
  filter_average_set_attr(&avg_, ATTR_AVERAGE_MODE, kNaN);
  EXPECT_EQ(filter_average_get_attr(&avg_, ATTR_AVERAGE_MODE), 0.0f);
}

TEST_F(MovingAverage, ANonFiniteValueSpoilsTheOutputOnlyWhileInTheWindow) {
  const struct {
    float bad;
    int mode;
  } cases[] = {{kNaN, 0}, {kNaN, 1}, {kNaN, 2}, {kInf, 0}, {kInf, 1}, {kInf, 2},
               {-kInf, 0}, {-kInf, 1}, {-kInf, 2}, {3e38f, 2}};  // 3e38 squared is infinite
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bad << " mode " << c.mode);
    Configure(4.0f, static_cast<float>(c.mode));
    const std::vector<float> out = Run({0.5f, c.bad, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    for (int i = 1; i <= 4; ++i) EXPECT_FALSE(std::isfinite(out[i])) << "sample " << i;
    EXPECT_EQ(out[5], 0.5f);
    EXPECT_EQ(out[7], 0.5f);
  }
}

TEST(MovingAverageBuffer, MissingBufferHoldsTheOutput) {
  _filter_average_struct avg;
  filter_average_init(&avg);
  filter_average_free(&avg);
  EXPECT_EQ(filter_average_dsp(&avg, 1.0f), 0.0f);
  filter_average_set_attr(&avg, ATTR_AVERAGE_LENGTH, 8.0f);
  EXPECT_EQ(filter_average_dsp(&avg, 1.0f), 0.0f);
  filter_average_free(&avg);
}

// ---------------------------------------------------------------------------
// filter_derez

TEST(BitDepthReducer, Steps) {
  const struct {
    float depth, x, y;
  } cases[] = {
      {8.0f, 0.3f, 0.296875f},       {8.0f, -0.3f, -0.3046875f},  {8.0f, 0.0f, 0.0f},
      {8.0f, 1.0f, 1.0f},            {8.0f, -1.0f, -1.0f},        {1.0f, 0.7f, 0.0f},
      {1.0f, -0.2f, -1.0f},          {1.0f, 1.5f, 1.0f},          {2.0f, 0.7f, 0.5f},
      {2.0f, -0.7f, -1.0f},          {4.0f, 0.3f, 0.25f},         {16.0f, 0.3f, 0.29998779296875f},
      {24.0f, 0.3f, 0.29999995f},    {24.0f, -0.3f, -0.29999995f},  // toward zero first
      {8.0f, 300.0f, 255.9921875f},  {8.0f, -300.0f, -256.0f},    {8.0f, kNaN, 0.0f},
      {8.0f, kInf, 255.9921875f},    {8.0f, -kInf, -256.0f},      {24.0f, 1e9f, 256.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.depth << " bits, x " << c.x);
    _filter_derez_struct derez;
    filter_derez_init(&derez);
    filter_derez_set_attr(&derez, ATTR_FILTER_TYPE, c.depth);
    EXPECT_EQ(filter_derez_dsp(&derez, c.x), c.y);
    EXPECT_EQ(filter_derez_get_output(&derez), c.y);
    filter_derez_free(&derez);
  }
}

TEST(BitDepthReducer, RoundsTowardMinusInfinityInStepsOfTheDepth) {
  std::mt19937 rng(8);
  std::uniform_real_distribution<float> input(-1.0f, 1.0f);
  _filter_derez_struct derez;
  filter_derez_init(&derez);
  for (int depth = 1; depth <= 24; ++depth) {
    filter_derez_set_attr(&derez, ATTR_FILTER_TYPE, static_cast<float>(depth));
    const double step = std::ldexp(1.0, 1 - depth);
    for (int i = 0; i < 5000; ++i) {
      const float x = input(rng);
      const double toward_zero = std::trunc(static_cast<double>(x) * 8388608.0) / 8388608.0;
      const float want = static_cast<float>(std::floor(toward_zero / step) * step);
      ASSERT_EQ(filter_derez_dsp(&derez, x), want) << depth << " bits, x " << x;
    }
  }
}

TEST(BitDepthReducer, DepthIsHeldWithinOneTo24Bits) {
  const struct {
    float value, depth;
  } cases[] = {
      {8.0f, 8.0f},  {24.0f, 24.0f}, {1.0f, 1.0f},  {7.9f, 8.0f},  {8.5f, 9.0f},   {0.0f, 1.0f},
      {-5.0f, 1.0f}, {30.0f, 24.0f}, {kInf, 24.0f}, {-kInf, 1.0f}, {1e20f, 24.0f},
  };
  _filter_derez_struct derez;
  filter_derez_init(&derez);
  EXPECT_EQ(filter_derez_get_attr(&derez, ATTR_FILTER_TYPE), 24.0f);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    filter_derez_set_attr(&derez, ATTR_FILTER_TYPE, c.value);
    EXPECT_EQ(filter_derez_get_attr(&derez, ATTR_FILTER_TYPE), c.depth);
    EXPECT_GE(derez.shift, 0);
    EXPECT_LE(derez.shift, 23);
  }
  filter_derez_set_attr(&derez, ATTR_FILTER_TYPE, 12.0f);
  filter_derez_set_attr(&derez, ATTR_FILTER_TYPE, kNaN);       // ignored
  filter_derez_set_attr(&derez, ATTR_DOWNSAMPLE_RATE, 3.0f);   // not ours
  EXPECT_EQ(filter_derez_get_attr(&derez, ATTR_FILTER_TYPE), 12.0f);
  EXPECT_EQ(filter_derez_get_attr(&derez, ATTR_DOWNSAMPLE_RATE), 0.0f);
}

// ---------------------------------------------------------------------------
// filter_downsample

TEST(SampleAndHold, TakesAnInputWheneverThePhaseReachesOne) {
  const struct {
    float rate;
    std::vector<float> out;  // for the inputs 1, 2, 3, ...
  } cases[] = {
      {0.5f, {0, 2, 2, 4, 4, 6}},
      {1.0f, {1, 2, 3, 4, 5, 6}},
      {0.25f, {0, 0, 0, 4, 4, 4, 4, 8}},
      {0.0f, {0, 0, 0, 0}},
      {3.0f, {1, 2, 3, 4, 5}},
      {-1.0f, {0, 0, 0}},
      {kNaN, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    _filter_downsample_struct ds;
    filter_downsample_init(&ds);
    filter_downsample_set_attr(&ds, ATTR_DOWNSAMPLE_RATE, c.rate);
    for (size_t i = 0; i < c.out.size(); ++i) {
      EXPECT_EQ(filter_downsample_dsp(&ds, static_cast<float>(i + 1)), c.out[i]) << "sample " << i;
    }
    EXPECT_EQ(filter_downsample_get_output(&ds), c.out.back());
    filter_downsample_free(&ds);
  }
}

TEST(SampleAndHold, ANewRateRestartsThePhase) {
  _filter_downsample_struct ds;
  filter_downsample_init(&ds);
  EXPECT_EQ(filter_downsample_get_attr(&ds, ATTR_DOWNSAMPLE_RATE), 1.0f);
  filter_downsample_set_attr(&ds, ATTR_DOWNSAMPLE_RATE, 0.5f);
  filter_downsample_dsp(&ds, 1.0f);  // phase at 0.5
  filter_downsample_set_attr(&ds, ATTR_DOWNSAMPLE_RATE, 0.5f);
  EXPECT_EQ(filter_downsample_dsp(&ds, 7.0f), 0.0f);  // 0.5 again, nothing taken
  EXPECT_EQ(filter_downsample_dsp(&ds, 8.0f), 8.0f);
  filter_downsample_set_attr(&ds, ATTR_FILTER_TYPE, 0.1f);
  EXPECT_EQ(filter_downsample_get_attr(&ds, ATTR_DOWNSAMPLE_RATE), 0.5f);
  EXPECT_EQ(filter_downsample_get_attr(&ds, ATTR_FILTER_TYPE), 0.0f);
}

// ---------------------------------------------------------------------------
// filter_overdrive

// The curve written out with the C library: the reference bits.
float LibraryOverdrive(float x, float amount) {
  const float s = x < 0.0f ? -1.0f : 1.0f;
  const float a = std::fabs(x);
  if (a >= 1.0f) return s;
  const double power = std::exp(static_cast<double>(amount) * std::log(1.0 - static_cast<double>(a)));
  return s * static_cast<float>(1.0 - power);
}

TEST(OverdriveCurve, TransferPoints) {
  const struct {
    float amount, x, y;
  } cases[] = {
      {2.0f, 0.5f, 0.75f},   {2.0f, -0.5f, -0.75f}, {2.0f, 1.5f, 1.0f},  {2.0f, -1.5f, -1.0f},
      {2.0f, 1.0f, 1.0f},    {2.0f, -1.0f, -1.0f},  {2.0f, kInf, 1.0f},  {2.0f, -kInf, -1.0f},
      {2.0f, 0.0f, 0.0f},    {2.0f, 0.25f, 0.4375f}, {0.5f, 0.75f, 0.5f}, {0.0f, 0.5f, 0.0f},
      {1.0f, 0.5f, 0.5f},    {1.0f, -0.125f, -0.125f}, {3.0f, 0.5f, 0.875f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "amount " << c.amount << " x " << c.x);
    _filter_overdrive_struct od;
    filter_overdrive_init(&od);
    filter_overdrive_set_attr(&od, ATTR_OVERDRIVE_AMOUNT, c.amount);
    EXPECT_EQ(filter_overdrive_dsp(&od, c.x), c.y);
    EXPECT_EQ(filter_overdrive_get_output(&od), c.y);
    filter_overdrive_free(&od);
  }
}

TEST(OverdriveCurve, SignFollowsTheInputWithPlusForMinusZero) {
  _filter_overdrive_struct od;
  filter_overdrive_init(&od);
  filter_overdrive_set_attr(&od, ATTR_OVERDRIVE_AMOUNT, 2.0f);
  EXPECT_TRUE(SameBits(filter_overdrive_dsp(&od, -0.0f), 0.0f));
  EXPECT_TRUE(SameBits(filter_overdrive_dsp(&od, 0.0f), 0.0f));
  EXPECT_TRUE(SameBits(filter_overdrive_dsp(&od, -1e-30f), -0.0f));  // 1 - 1 with the sign of x
  EXPECT_TRUE(std::isnan(filter_overdrive_dsp(&od, kNaN)));
  // Amount 0 flattens the inside of the curve to zero.
  filter_overdrive_set_attr(&od, ATTR_OVERDRIVE_AMOUNT, 0.0f);
  EXPECT_TRUE(SameBits(filter_overdrive_dsp(&od, -0.5f), -0.0f));
  EXPECT_EQ(filter_overdrive_get_attr(&od, ATTR_OVERDRIVE_AMOUNT), 0.0f);
  EXPECT_EQ(filter_overdrive_get_attr(&od, ATTR_DOWNSAMPLE_RATE), 0.0f);
}

TEST(OverdriveCurve, MatchesTheLibraryPowerRoundedToSingle) {
  // Quiet inputs are the delicate ones: 1 - (1 - a)^amount cancels, so the
  // power's last bit decides the float.
  std::mt19937 rng(31);
  std::uniform_real_distribution<float> mantissa(-1.0f, 1.0f);
  _filter_overdrive_struct od;
  filter_overdrive_init(&od);
  for (float amount : {1.0f, 2.0f, 0.5f, 1.7f, 3.0f, 10.0f, 250.0f, 0.01f}) {
    filter_overdrive_set_attr(&od, ATTR_OVERDRIVE_AMOUNT, amount);
    for (int scale = 0; scale <= 24; scale += 2) {
      for (int i = 0; i < 4000; ++i) {
        const float x = std::ldexp(mantissa(rng), -scale);
        ASSERT_TRUE(SameBits(filter_overdrive_dsp(&od, x), LibraryOverdrive(x, amount)))
            << "amount " << amount << " x " << x;
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Random attribute values and inputs, wild ones included, for all four.

TEST(ProcessorsProperty, WildValuesNeverCrashAndFiniteInputsGiveFiniteOutputs) {
  const float wild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 3e38f, 0.0f, -0.0f, 1e-40f, 0.5f, -0.5f,
                        1.0f, 2.0f, 2.5f, 3.0f, 8.0f, 24.0f, 25.0f, 255.9f, 256.0f, 257.0f, -7.0f};
  std::mt19937 rng(77);
  std::uniform_int_distribution<size_t> pick(0, std::size(wild) - 1);
  std::uniform_real_distribution<float> sample(-1.5f, 1.5f);
  std::uniform_int_distribution<int> coin(0, 9);

  _filter_average_struct avg;
  filter_average_init(&avg);
  _filter_derez_struct derez;
  filter_derez_init(&derez);
  _filter_downsample_struct ds;
  filter_downsample_init(&ds);
  _filter_overdrive_struct od;
  filter_overdrive_init(&od);

  int since_wild_input = 1000;
  int clean_window = 1000;  // finite values the average has taken in since a wild one
  for (int i = 0; i < 300000; ++i) {
    if (coin(rng) == 0) {
      filter_average_set_attr(&avg, coin(rng) < 5 ? ATTR_AVERAGE_LENGTH : ATTR_AVERAGE_MODE, wild[pick(rng)]);
      filter_derez_set_attr(&derez, ATTR_FILTER_TYPE, wild[pick(rng)]);
      filter_downsample_set_attr(&ds, ATTR_DOWNSAMPLE_RATE, wild[pick(rng)]);
      filter_overdrive_set_attr(&od, ATTR_OVERDRIVE_AMOUNT, wild[pick(rng)]);
    }
    // Stretches of finite input between bursts of wild values.
    const bool wild_input = (i / 1000) % 3 == 0 && coin(rng) < 3;
    const float x = wild_input ? wild[pick(rng)] : sample(rng);
    since_wild_input = wild_input ? 0 : since_wild_input + 1;

    ASSERT_GE(avg.length, 1);
    ASSERT_LE(avg.length, 256);
    const bool averaging = avg.mode >= 0 && avg.mode <= 2;
    if (averaging) clean_window = wild_input ? 0 : clean_window + 1;
    const float a = filter_average_dsp(&avg, x);
    const float d = filter_derez_dsp(&derez, x);
    const float s = filter_downsample_dsp(&ds, x);
    const float o = filter_overdrive_dsp(&od, x);
    ASSERT_TRUE(std::isfinite(d));  // the integer step saturates
    if (since_wild_input > 0) {
      ASSERT_LE(std::fabs(d), std::fabs(x) + 1.0f);
      if (std::isfinite(od.amount) && od.amount >= 0.0f) {
        ASSERT_TRUE(o >= -1.0f && o <= 1.0f) << o << " amount " << od.amount;
      }
    }
    if (averaging && clean_window > 256) {
      ASSERT_TRUE(std::isfinite(a)) << "sample " << i;
    }
    if (ds.rate >= 1.0f) {
      ASSERT_TRUE(SameBits(s, x));  // every sample passes
    }
  }
  filter_average_free(&avg);
}

}  // namespace
