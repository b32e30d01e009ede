#include <gtest/gtest.h>

#include <cmath>

#include "bramble_probe.h"
#include "params/bramble_param_manager.h"

namespace {

struct RateCase {
  float rate;
  uint32_t slots;
};

// Up to 94117 Hz the classic 14400 slots hold the right channel's 153 ms;
// above that the lines grow just enough.
TEST(SampleRate, DelayLinesHoldTheLongestDelay) {
  RateGuard guard;
  const RateCase cases[] = {
      {44100.0f, 14400}, {48000.0f, 14400}, {94117.0f, 14400},
      {94118.0f, 14401}, {192000.0f, 29377}, {48000.0f, 14400},
  };
  BrambleProbe effect;
  for (const auto& c : cases) {
    effect.setSampleRate(c.rate);
    EXPECT_EQ(effect.delayLineSlots(), c.slots) << c.rate;
    effect.setParameter(kDelay, 1.0f);
    effect.processSilence(4);
    EXPECT_LT(effect.right().delay_samples, effect.delayLineSlots()) << c.rate;
  }
}

TEST(SampleRate, FiltersFollowTheRate) {
  RateGuard guard;
  BrambleProbe effect;
  const float lowPassB1At44k = effect.lowPass().b1;
  effect.setSampleRate(96000.0f);
  _filter_butterworth_2P_struct fresh{};
  filter_butterworth_2P_LP_init(&fresh);
  filter_butterworth_2P_LP_set_attr(&fresh, ATTR_CUTOFF, 2500.0f);
  EXPECT_NE(effect.lowPass().b1, lowPassB1At44k);
  EXPECT_EQ(effect.lowPass().b1, fresh.b1);
  EXPECT_EQ(effect.lowPass().b2, fresh.b2);
  EXPECT_EQ(effect.lowPass().a0, fresh.a0);

  _filter_butterworth_2P_struct freshHigh{};
  filter_butterworth_2P_HP_init(&freshHigh);
  filter_butterworth_2P_HP_set_attr(&freshHigh, ATTR_CUTOFF, 200.0f);
  EXPECT_EQ(effect.highPass().b1, freshHigh.b1);
}

TEST(SampleRate, UnusableRatesAreIgnored) {
  RateGuard guard;
  BrambleProbe effect;
  effect.setSampleRate(48000.0f);
  for (float rate : {0.0f, -44100.0f, std::nanf(""), INFINITY}) {
    effect.setSampleRate(rate);
    EXPECT_EQ(qmx_get_attr(ATTR_SAMPLING_RATE), 48000.0f) << rate;
    EXPECT_EQ(effect.getSampleRate(), 48000.0f) << rate;
  }
}

TEST(SampleRate, ChangeMarksTheDelayTimePending) {
  RateGuard guard;
  BrambleProbe effect;
  effect.processSilence(1);
  effect.setSampleRate(48000.0f);
  EXPECT_TRUE(effect.pending());
  effect.processSilence(1);
  const uint32_t expected = static_cast<uint32_t>((effect.delayMs() * 0.001f) * 48000.0f);
  EXPECT_EQ(effect.left().delay_samples, expected);
}

}  // namespace
