#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "dsp/tables.h"

namespace {

constexpr int32_t kEntries = 1024;
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// One table per test, filled on demand and always released.
class Table : public ::testing::Test {
 protected:
  void TearDown() override { table_free(&table_); }
  void fill(int32_t kind, float a, float b, int32_t count = kEntries) {
    table_init(&table_, count);
    ASSERT_NE(table_.data, nullptr);
    table_fill(&table_, kind, a, b);
  }
  float entry(int32_t i) const { return table_.data[i]; }
  float lookup(float x) { return table_lookup(&table_, x); }

  _table_struct table_{};
};

struct EntryCase {
  int32_t index;
  float value;
};

TEST_F(Table, ExponentialIsAGeometricProgression) {
  fill(TABLE_EXPONENTIAL, 20.0f, 20000.0f);
  const EntryCase cases[] = {
      {0, 20.0f}, {1, 20.1355057f}, {511, 630.323853f}, {512, 634.594421f}, {1022, 19865.4062f}, {1023, 20000.0f},
      {1024, 20000.0f},  // the guard copy
  };
  for (const auto& c : cases) EXPECT_EQ(entry(c.index), c.value) << c.index;
  EXPECT_EQ(table_.output, 20.0f);  // fill leaves the value at position 0
}

TEST_F(Table, LookupInterpolatesWithAMixedPrecisionBlend) {
  fill(TABLE_EXPONENTIAL, 20.0f, 20000.0f);
  const struct {
    float x;
    float value;
  } cases[] = {
      {0.0f, 20.0f},
      {1.0f, 20000.0f},
      {0.5f, 632.459106f},
      {0.3f, 158.866013f},
      // An all-double or all-single blend gives 24.6054955 here.
      {0.03f, 24.6054935f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lookup(c.x), c.value) << c.x;
    EXPECT_EQ(table_.output, c.value) << c.x;
  }
}

TEST_F(Table, DecibelLawPinsBothEndsOfTravel) {
  fill(TABLE_DECIBEL, -96.0f, 12.0f);
  const EntryCase cases[] = {
      {0, -96.0f}, {1, -69.7148514f}, {2, -68.4320068f}, {1022, 11.9802551f}, {1023, 12.0f}, {1024, 12.0f},
  };
  for (const auto& c : cases) EXPECT_EQ(entry(c.index), c.value) << c.index;
  EXPECT_EQ(lookup(0.5f), -1.00111997f);
  EXPECT_EQ(lookup(0.116f), -27.3693676f);  // mixed-precision blend again
}

TEST_F(Table, LogTaperTreatsZeroScaleAsOne) {
  fill(TABLE_LOG_TAPER, 123.0f, 0.0f);
  EXPECT_EQ(entry(0), 0.0f);
  EXPECT_EQ(entry(1), 0.00380406366f);
  EXPECT_EQ(entry(1023), 1.0f);
}

TEST_F(Table, LogTaperScalesToFullScale) {
  fill(TABLE_LOG_TAPER, 0.0f, 5.0f);
  EXPECT_EQ(entry(0), 0.0f);
  EXPECT_EQ(entry(1023), 5.0f);
}

TEST_F(Table, DbMeterStaysWithinZeroToOne) {
  fill(TABLE_DB_METER, 30.0f, 2.0f);
  EXPECT_EQ(entry(0), 0.0f);  // minus infinity, clamped
  EXPECT_EQ(entry(1023), 1.0f);
  bool sawInside = false;
  for (int32_t i = 0; i < kEntries; ++i) {
    ASSERT_GE(entry(i), 0.0f) << i;
    ASSERT_LE(entry(i), 1.0f) << i;
    sawInside = sawInside || (entry(i) > 0.0f && entry(i) < 1.0f);
  }
  EXPECT_TRUE(sawInside);
  // Position t sits 20 log10(t) dB below the top of a 60 dB scale.
  EXPECT_NEAR(entry(512), 20.0 * std::log10(512.0 / 1023.0) / 60.0 + 1.0, 1e-6);
}

TEST_F(Table, SineShapes) {
  const struct {
    int32_t kind;
    float first;
    float last;
    float middle;  // entry 300
  } cases[] = {
      {TABLE_SINE_BIPOLAR, -1.0f, 1.0f, static_cast<float>(std::sin(static_cast<double>(300.0f / 1023.0f - 0.5f) * std::numbers::pi))},
      {TABLE_SINE_RISE, 0.0f, 1.0f, static_cast<float>(std::sin(static_cast<double>(300.0f / 1023.0f) * std::numbers::pi * 0.5))},
      {TABLE_COSINE_FALL, 1.0f, static_cast<float>(std::cos(std::numbers::pi * 0.5)),
       static_cast<float>(std::cos(static_cast<double>(300.0f / 1023.0f) * std::numbers::pi * 0.5))},
      {TABLE_SINE_SQUARED, 0.0f, 1.0f, 0.197602585f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    fill(c.kind, 0.0f, 0.0f);
    EXPECT_EQ(entry(0), c.first);
    EXPECT_EQ(entry(1023), c.last);
    EXPECT_EQ(entry(300), c.middle);
    table_free(&table_);
  }
}

TEST_F(Table, UnknownKindLeavesTheCurveAlone) {
  fill(TABLE_SINE_RISE, 0.0f, 0.0f);
  const float before = entry(700);
  table_fill(&table_, 999, 1.0f, 2.0f);
  EXPECT_EQ(entry(700), before);

  _table_struct fresh{};
  table_init(&fresh, 16);
  table_fill(&fresh, 0, 1.0f, 2.0f);
  for (int32_t i = 0; i <= 16; ++i) EXPECT_EQ(fresh.data[i], 0.0f);
  EXPECT_EQ(table_lookup(&fresh, 0.7f), 0.0f);
  table_free(&fresh);
}

TEST_F(Table, ClippingLookupsHoldTheEnds) {
  fill(TABLE_EXPONENTIAL, 20.0f, 20000.0f);
  const float atZero = lookup(0.0f);
  const float atHalf = lookup(0.5f);
  const float atOne = lookup(1.0f);
  EXPECT_EQ(table_lookup_clip(&table_, -3.0f), atZero);
  EXPECT_EQ(table_lookup_clip(&table_, 7.0f), atOne);
  EXPECT_EQ(table_lookup_clip(&table_, 0.5f), atHalf);
  EXPECT_EQ(table_lookup_clip_bipolar(&table_, -1.0f), atZero);
  EXPECT_EQ(table_lookup_clip_bipolar(&table_, 0.0f), atHalf);
  EXPECT_EQ(table_lookup_clip_bipolar(&table_, 1.0f), atOne);
  EXPECT_EQ(table_lookup_clip_bipolar(&table_, -9.0f), atZero);
  EXPECT_EQ(table_.output, atZero);
}

TEST_F(Table, StrayPositionsNeverReadOutsideTheCurve) {
  fill(TABLE_EXPONENTIAL, 20.0f, 20000.0f);
  const struct {
    float x;
    float value;
  } cases[] = {
      {kNaN, 20.0f},
      {-1e30f, 20.0f},
      {-0.5f, 20.0f},
      {1.5f, 20000.0f},
      {1e30f, 20000.0f},
      {std::numeric_limits<float>::infinity(), 20000.0f},
  };
  for (const auto& c : cases) EXPECT_EQ(lookup(c.x), c.value) << c.x;
  EXPECT_EQ(table_lookup_clip(&table_, kNaN), 20.0f);
}

TEST_F(Table, InverseLookupBisectsOverCount) {
  table_init(&table_, 4);
  for (int32_t i = 0; i < 4; ++i) table_.data[i] = static_cast<float>(i);  // 0 1 2 3
  const struct {
    float v;
    float position;
  } cases[] = {
      {-5.0f, 0.25f},  // below every entry: 1/N
      {1.5f, 0.25f},
      {2.5f, 0.75f},
      {9.0f, 0.75f},  // above every entry: (N-1)/N
      {kNaN, 0.25f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(table_inverse_lookup(&table_, c.v), c.position) << c.v;
    EXPECT_EQ(table_.output, c.position) << c.v;
  }
}

TEST_F(Table, InverseLookupOnAFullTable) {
  fill(TABLE_SINE_RISE, 0.0f, 0.0f);
  EXPECT_EQ(table_inverse_lookup(&table_, -1.0f), 1.0f / 1024.0f);
  EXPECT_EQ(table_inverse_lookup(&table_, 2.0f), 1023.0f / 1024.0f);
  EXPECT_NEAR(table_inverse_lookup(&table_, entry(400)), 400.0f / 1024.0f, 1.0f / 1024.0f);
}

TEST(TableInverse, ClosedFormsPerKind) {
  const struct {
    int32_t kind;
    float v, a, b;
    float position;
  } cases[] = {
      {TABLE_DECIBEL, 0.0f, -96.0f, 12.0f, 0.527597725f},
      {TABLE_DECIBEL, 12.0f, -96.0f, 12.0f, 1.00006878f},   // the formula overshoots at the top
      {TABLE_DECIBEL, -96.0f, -96.0f, 12.0f, -0.00954257045f},
      {TABLE_EXPONENTIAL, 2000.0f, 20.0f, 20000.0f, 0.666666687f},
      {TABLE_EXPONENTIAL, 20.0f, 20.0f, 20000.0f, 0.0f},
      {TABLE_LOG_TAPER, 0.5f, 0.0f, 1.0f, 0.240253076f},
      {TABLE_LOG_TAPER, 1.0f, 0.0f, 1.0f, 1.0f},
      {TABLE_SINE_RISE, 0.5f, 0.0f, 1.0f, -999.9f},
      {0, 0.5f, 0.0f, 1.0f, -999.9f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(table_inverse_calculate(c.kind, c.v, c.a, c.b), c.position) << c.kind << " " << c.v;
  }
}

TEST(TableInverse, ExponentialRoundTripsThroughLookup) {
  _table_struct table{};
  table_init(&table, kEntries);
  table_fill(&table, TABLE_EXPONENTIAL, 20.0f, 20000.0f);
  for (float x : {0.1f, 0.25f, 0.5f, 0.9f}) {
    const float v = table_lookup(&table, x);
    EXPECT_NEAR(table_inverse_calculate(TABLE_EXPONENTIAL, v, 20.0f, 20000.0f), x, 1e-4f) << x;
  }
  table_free(&table);
}

TEST(TableRecord, InvalidCountsLeaveAnEmptyButUsableRecord) {
  for (int32_t count : {1, 0, -1, -5}) {
    SCOPED_TRACE(count);
    _table_struct table{};
    table.output = 3.0f;
    table_init(&table, count);
    EXPECT_EQ(table.data, nullptr);
    EXPECT_EQ(table.count, 0);
    EXPECT_EQ(table.output, 0.0f);
    table_fill(&table, TABLE_EXPONENTIAL, 1.0f, 2.0f);
    EXPECT_EQ(table_lookup(&table, 0.5f), 0.0f);
    EXPECT_EQ(table_lookup_clip(&table, 2.0f), 0.0f);
    EXPECT_EQ(table_lookup_clip_bipolar(&table, 0.0f), 0.0f);
    EXPECT_EQ(table_inverse_lookup(&table, 1.0f), 0.0f);
    table_free(&table);
  }
}

TEST(TableRecord, ZeroFilledRecordAndNullPointersAreHarmless) {
  _table_struct table{};
  EXPECT_EQ(table_lookup(&table, 0.5f), 0.0f);
  table_fill(&table, TABLE_DECIBEL, -96.0f, 12.0f);
  EXPECT_EQ(table.data, nullptr);
  table_free(&table);
  table_init(nullptr, 8);
  table_fill(nullptr, TABLE_DECIBEL, 0.0f, 1.0f);
  table_free(nullptr);
  EXPECT_EQ(table_lookup(nullptr, 0.5f), 0.0f);
  EXPECT_EQ(table_inverse_lookup(nullptr, 0.5f), 0.0f);
}

TEST(TableRecord, FreeReleasesOnceAndForgetsThePointer) {
  _table_struct table{};
  table_init(&table, 2);
  ASSERT_NE(table.data, nullptr);
  EXPECT_EQ(table.count, 2);
  table_fill(&table, TABLE_SINE_RISE, 0.0f, 0.0f);
  EXPECT_EQ(table_lookup(&table, 1.0f), 1.0f);
  table_free(&table);
  EXPECT_EQ(table.data, nullptr);
  table_free(&table);  // a second release must not touch the heap
  EXPECT_EQ(table_lookup(&table, 1.0f), 0.0f);
}

TEST(ConstantTables, QuarterSineAtSixDecimals) {
  EXPECT_EQ(quarterSine[0], 0.0f);
  EXPECT_EQ(quarterSine[64], 0.707107f);
  EXPECT_EQ(quarterSine[127], 0.999925f);
  for (int i = 0; i < 128; ++i) {
    const double exact = std::sin(i * std::numbers::pi / 256.0);
    EXPECT_EQ(quarterSine[i], static_cast<float>(std::round(exact * 1e6) / 1e6)) << i;
  }
}

TEST(ConstantTables, EqualPowerFadeInSixteenBitSteps) {
  EXPECT_EQ(lookup_512_equalPower[0], 32766.0f / 32768.0f);
  EXPECT_EQ(lookup_512_equalPower[511], 0.0f);
  for (int i = 0; i < 512; ++i) {
    const float v = lookup_512_equalPower[i];
    const float steps = v * 32768.0f;
    EXPECT_EQ(steps, std::trunc(steps)) << i;
    EXPECT_NEAR(v, std::cos(i / 511.0 * std::numbers::pi / 2.0), 0.0032) << i;
    if (i > 0) {
      EXPECT_LE(v, lookup_512_equalPower[i - 1]) << i;
    }
  }
}

}  // namespace
