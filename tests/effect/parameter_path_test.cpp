#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "bramble_probe.h"
#include "params/bramble_param_manager.h"

namespace {

struct DepthCase {
  float hostValue;
  float dry;
  float wet;
};

TEST(ParameterPath, DepthSetsDryAndWetGains) {
  const DepthCase cases[] = {
      {0.0f, 1.0f, 0.0f},
      {50.0f / 60.0f, 0.75f, 0.75f},
      {1.0f, 0.64f, 0.84f},
  };
  BrambleProbe effect;
  for (const auto& c : cases) {
    effect.setParameter(kDepth, c.hostValue);
    EXPECT_NEAR(effect.dry(), c.dry, 1e-6f) << c.hostValue;
    EXPECT_NEAR(effect.wet(), c.wet, 1e-6f) << c.hostValue;
  }
}

TEST(ParameterPath, SelectorAndPowerRoundToWholeNumbers) {
  BrambleProbe effect;
  effect.setParameter(kInputSelector, 0.49f);
  EXPECT_EQ(effect.selector(), 0);
  effect.setParameter(kInputSelector, 0.5f);
  EXPECT_EQ(effect.selector(), 1);
  effect.setParameter(kPowerSwitch, 0.0f);
  EXPECT_EQ(effect.powerValue(), 0);
  effect.setParameter(kPowerSwitch, std::nanf(""));
  effect.setParameter(kInputSelector, INFINITY);  // must not trap on the conversion
  effect.setParameter(kPowerSwitch, 1.0f);
  EXPECT_EQ(effect.powerValue(), 1);
}

TEST(ParameterPath, IndicesOutsideTheSetChangeNothing) {
  BrambleProbe effect;
  std::vector<float> before;
  for (int j = 0; j < 6; ++j) before.push_back(effect.getParameter(j));
  for (int index : {6, 7, -1, 1000, INT32_MIN}) effect.setParameter(index, 0.9f);
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(effect.getParameter(j), before[j]);
    EXPECT_EQ(effect.programValue(0, j), before[j]);
  }
}

TEST(ParameterPath, ChangeIsStoredInTheCurrentProgram) {
  BrambleProbe effect;
  effect.setParameter(kRepeat, 0.3f);
  EXPECT_EQ(effect.programValue(0, kRepeat), 0.3f);
  EXPECT_EQ(effect.getParameter(kRepeat), 0.3f);
}

TEST(ParameterPath, DelayReachesTheLinesOnlyAtTheNextBlock) {
  BrambleProbe effect;
  effect.processSilence(16);
  EXPECT_FALSE(effect.pending());
  const uint32_t before = effect.left().delay_samples;
  effect.setParameter(kDelay, 0.0f);  // 4 ms
  EXPECT_TRUE(effect.pending());
  EXPECT_EQ(effect.left().delay_samples, before);
  effect.processSilence(0);  // an empty block still hands the time over
  EXPECT_FALSE(effect.pending());
  EXPECT_EQ(effect.left().delay_samples, 176u);   // 4 ms at 44.1 kHz
  EXPECT_EQ(effect.right().delay_samples, 308u);  // 3 ms later
}

TEST(ParameterPath, NonFiniteDelayKeepsTheLinesInsideTheirBuffers) {
  BrambleProbe effect;
  for (float v : {std::nanf(""), INFINITY, -INFINITY, -5.0f, 1e9f}) {
    effect.setParameter(kDelay, v);
    effect.processSilence(8);
    EXPECT_GE(effect.left().delay_samples, 1u) << v;
    EXPECT_LE(effect.left().delay_samples, effect.delayLineSlots() - 1) << v;
    EXPECT_LE(effect.right().delay_samples, effect.delayLineSlots() - 1) << v;
  }
}

}  // namespace
