#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "dsp/sampling_rate_guard.h"
#include "dsp/qmx.h"

namespace {

// Captured during static initialisation, before any test can change the rate.
const float kStartRate = gAudioSamplingRate;
const float kStartReciprocal = gAudioSamplingRateReciprocal;
const float kStartSamplesPerMs = gSamplesPerMillisecond;
const float kStartMsPerSample = gMillisecondsPerSample;

// The rate is process-wide: every test that changes it puts it back.
class SamplingRate : public ::testing::Test {
 protected:
  SamplingRateGuard rateGuard_;
};

TEST_F(SamplingRate, StartsAt44100WithSinglePrecisionDerivedValues) {
  EXPECT_EQ(kStartRate, 44100.0f);
  EXPECT_EQ(kStartReciprocal, 2.26757365e-05f);
  EXPECT_EQ(kStartSamplesPerMs, 44.1000023f);  // 44100 x 0.001f, rounded once
  EXPECT_EQ(kStartMsPerSample, 0.0226757377f);
}

TEST_F(SamplingRate, SettingTheRateUpdatesAllFourGlobals) {
  qmx_set_attr(ATTR_SAMPLING_RATE, 48000.0f);
  EXPECT_EQ(gAudioSamplingRate, 48000.0f);
  EXPECT_EQ(gAudioSamplingRateReciprocal, 2.08333331e-05f);
  // 0.001 as a float is a hair above a thousandth, so "48" lands one step up.
  EXPECT_EQ(gSamplesPerMillisecond, 48.0000038f);
  EXPECT_EQ(gMillisecondsPerSample, 0.020833334f);
  EXPECT_EQ(qmx_get_attr(ATTR_SAMPLING_RATE), 48000.0f);
}

TEST_F(SamplingRate, OtherIdsNeitherChangeNorReportTheRate) {
  qmx_set_attr(ATTR_SAMPLING_RATE, 96000.0f);
  for (int32_t id : {0, 1, -99, -101, static_cast<int32_t>(ATTR_CUTOFF), static_cast<int32_t>(ATTR_DELAY_MS)}) {
    SCOPED_TRACE(id);
    qmx_set_attr(id, 22050.0f);
    EXPECT_EQ(qmx_get_attr(id), 0.0f);
    EXPECT_EQ(gAudioSamplingRate, 96000.0f);
    EXPECT_EQ(gAudioSamplingRateReciprocal, 1.0f / 96000.0f);
    EXPECT_EQ(gSamplesPerMillisecond, 96000.0f * 0.001f);
    EXPECT_EQ(gMillisecondsPerSample, 1000.0f / 96000.0f);
  }
}

TEST_F(SamplingRate, AZeroRateIsStoredAsGiven) {
  qmx_set_attr(ATTR_SAMPLING_RATE, 0.0f);
  EXPECT_EQ(qmx_get_attr(ATTR_SAMPLING_RATE), 0.0f);
  EXPECT_TRUE(std::isinf(gAudioSamplingRateReciprocal));
  EXPECT_EQ(gSamplesPerMillisecond, 0.0f);
}

struct LevelCase {
  float in;
  float out;
};

TEST(Decibels, ToAmplitudeFormsTheExponentInSinglePrecision) {
  const LevelCase cases[] = {
      {0.0f, 1.0f},
      {-6.0f, 0.501187205f},
      {20.0f, 10.0f},
      // Here a double-precision exponent would round to 1.05925374e-05.
      {-99.5f, 1.05925392e-05f},
      {-2000.0f, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(qmx_utilities_decibels2amplitude(c.in), c.out);
  }
  EXPECT_EQ(qmx_utilities_decibels2amplitude(2000.0f), std::numeric_limits<float>::infinity());
}

TEST(Decibels, FromAmplitudeInDoublePrecision) {
  const LevelCase cases[] = {
      {1.0f, 0.0f},
      {10.0f, 20.0f},
      {0.5f, -6.02059984f},
      // A single-precision product would differ here.
      {0.030927835f, -30.1930103f},
      {-0.5f, 0.0f},
      {-0.0f, -std::numeric_limits<float>::infinity()},
      {std::numeric_limits<float>::quiet_NaN(), 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(qmx_utilities_amplitude2decibels(c.in), c.out);
  }
  EXPECT_EQ(qmx_utilities_amplitude2decibels(0.0f), -std::numeric_limits<float>::infinity());
}

TEST(TextConversions, OnOffTreatsBothZerosAsOff) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.0f, "Off"}, {-0.0f, "Off"}, {0.001f, "On"}, {-1.0f, "On"}, {std::numeric_limits<float>::quiet_NaN(), "On"},
  };
  for (const auto& c : cases) {
    char text[4];
    std::memset(text, 'x', sizeof text);
    float2OnOff(c.value, text);
    EXPECT_STREQ(text, c.text) << c.value;
  }
  float2OnOff(1.0f, nullptr);
}

TEST(TextConversions, PercentTruncatesASinglePrecisionProduct) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.999f, "99"},
      {-0.5f, "-50"},
      {0.29f, "29"},  // 28.99999... in double, exactly 29 in single
      {0.57f, "57"},
      {-0.001f, "0"},
      {std::numeric_limits<float>::quiet_NaN(), "0"},
      {1e30f, "2147483647"},
      {-1e30f, "-2147483648"},
      {std::numeric_limits<float>::infinity(), "2147483647"},
  };
  for (const auto& c : cases) {
    char text[12];
    float2percent(c.value, text);
    EXPECT_STREQ(text, c.text) << c.value;
  }
  float2percent(1.0f, nullptr);
}

TEST(Numeric, TruncationIsTowardZeroAndDefinedEverywhere) {
  const struct {
    float in;
    int32_t out;
  } cases[] = {
      {2.9f, 2},
      {-2.9f, -2},
      {-0.5f, 0},
      {0.0f, 0},
      {2147483520.0f, 2147483520},
      {2147483648.0f, INT32_MAX},
      {-2147483648.0f, INT32_MIN},
      {-3e9f, INT32_MIN},
      {std::numeric_limits<float>::infinity(), INT32_MAX},
      {-std::numeric_limits<float>::infinity(), INT32_MIN},
      {std::numeric_limits<float>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(qmx_truncate_to_int(c.in), c.out) << c.in;
}

TEST(Numeric, FastAbsClearsOnlyTheSignBit) {
  EXPECT_EQ(qmx_fast_abs(-3.5f), 3.5f);
  EXPECT_EQ(qmx_fast_abs(3.5f), 3.5f);
  EXPECT_FALSE(std::signbit(qmx_fast_abs(-0.0f)));
  const float negativeNaN = -std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(std::isnan(qmx_fast_abs(negativeNaN)));
  EXPECT_FALSE(std::signbit(qmx_fast_abs(negativeNaN)));
  EXPECT_EQ(qmx_fast_abs(-std::numeric_limits<float>::infinity()), std::numeric_limits<float>::infinity());
}

TEST(Memory, AllocationsComeBackZeroed) {
  // Dirty a block and hand it back first, so a non-clearing allocator would
  // likely return the same dirty bytes.
  constexpr size_t kSize = 4096;
  void* dirty = qmx_mem_alloc(kSize);
  ASSERT_NE(dirty, nullptr);
  std::memset(dirty, 0xA5, kSize);
  qmx_mem_free(dirty, kSize);

  auto* block = static_cast<unsigned char*>(qmx_mem_alloc(kSize));
  ASSERT_NE(block, nullptr);
  for (size_t i = 0; i < kSize; ++i) ASSERT_EQ(block[i], 0u) << i;
  qmx_mem_free(block, kSize);
}

TEST(Memory, ZeroSizeIsAFreeableBlock) {
  void* block = qmx_mem_alloc(0);
  EXPECT_NE(block, nullptr);
  qmx_mem_free(block, 0);
  qmx_mem_free(nullptr, 0);
}

TEST(Memory, CopyReturnsTheDestination) {
  const char source[] = "junkyard";
  char destination[sizeof source] = {};
  EXPECT_EQ(qmx_memcpy(destination, source, sizeof source), destination);
  EXPECT_STREQ(destination, "junkyard");
  EXPECT_EQ(qmx_memcpy(destination, nullptr, 0), destination);
}

}  // namespace
