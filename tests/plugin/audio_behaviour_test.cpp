// The sound as a musician meets it: bypass, the dry path, the mic stage, where
// the echoes land, and recovery from input or settings that are not numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "plugin_fixture.h"

namespace plugin_test {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Line input, no feedback, full depth, shortest delay: one clean echo per input.
void setPlainEcho(PluginInstance& effect) {
  effect.setParameter(kInputSelector, 1.0f);
  effect.setParameter(kRepeat, 0.0f);
  effect.setParameter(kDepth, 1.0f);
  effect.setParameter(kDelay, 0.0f);  // 4 ms left, 7 ms right
  effect.setParameter(kPowerSwitch, 1.0f);
}

long firstNonZeroAfter(const std::vector<float>& v, size_t from) {
  for (size_t i = from; i < v.size(); ++i)
    if (v[i] != 0.0f) return static_cast<long>(i);
  return -1;
}

bool allFinite(const std::vector<float>& v, size_t from = 0) {
  for (size_t i = from; i < v.size(); ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

TEST(Bypass, PowerOffPassesInputBitForBitEvenInPlace) {
  auto effect = makeInstance();
  effect->setParameter(kPowerSwitch, 0.0f);
  Stereo in = noise(1000, 2.0f, 1);
  in.left[10] = kNaN;
  in.right[11] = -kInf;
  in.left[12] = -0.0f;
  Stereo out = render(*effect, in, 256);
  EXPECT_EQ(firstDifference(out.left, in.left), -1);
  EXPECT_EQ(firstDifference(out.right, in.right), -1);

  Stereo inPlace = in;
  float* bufs[2] = {inPlace.left.data(), inPlace.right.data()};
  effect->processReplacing(bufs, bufs, static_cast<VstInt32>(inPlace.frames()));
  EXPECT_EQ(firstDifference(inPlace.left, in.left), -1);
  EXPECT_EQ(firstDifference(inPlace.right, in.right), -1);
}

// While bypassed nothing moves: the tail resumes exactly where it stopped.
TEST(Bypass, TailResumesWhereItStopped) {
  auto bypassed = makeInstance();
  auto continuous = makeInstance();
  const Stereo before = noise(20000, 0.5f, 2);
  const Stereo during = noise(5000, 0.5f, 3);
  const Stereo after(30000);
  render(*bypassed, before);
  render(*continuous, before);
  bypassed->setParameter(kPowerSwitch, 0.0f);
  render(*bypassed, during);
  bypassed->setParameter(kPowerSwitch, 1.0f);
  const Stereo a = render(*bypassed, after);
  const Stereo b = render(*continuous, after);
  EXPECT_EQ(firstDifference(a.left, b.left), -1);
  EXPECT_EQ(firstDifference(a.right, b.right), -1);
  EXPECT_NE(firstNonZeroAfter(a.left, 0), -1);  // there was a tail to resume
}

TEST(DryPath, LineWithoutDepthIsTheAttenuatedInput) {
  auto effect = makeInstance();
  effect->setParameter(kInputSelector, 1.0f);
  effect->setParameter(kRepeat, 0.0f);
  effect->setParameter(kDepth, 0.0f);
  const Stereo in = noise(4000, 3.0f, 4);
  const Stereo out = render(*effect, in, 333);
  for (size_t i = 0; i < in.frames(); ++i) {
    ASSERT_EQ(out.left[i], in.left[i] * 0.8f) << i;
    ASSERT_EQ(out.right[i], in.right[i] * 0.8f) << i;
  }
}

TEST(MicStage, LevelZeroSoundsLikeLine) {
  auto mic = makeInstance();
  auto line = makeInstance();
  mic->setParameter(kInputSelector, 0.0f);
  mic->setParameter(kMicLevel, 0.0f);
  line->setParameter(kInputSelector, 1.0f);
  const Stereo in = noise(30000, 1.0f, 5);
  const Stereo a = render(*mic, in);
  const Stereo b = render(*line, in);
  EXPECT_EQ(firstDifference(a.left, b.left), -1);
  EXPECT_EQ(firstDifference(a.right, b.right), -1);
}

// The clipper answers silence with a small offset, so the dry path carries it.
TEST(MicStage, SilenceCarriesTheClippersCentreValue) {
  auto effect = makeInstance();
  effect->setParameter(kInputSelector, 0.0f);
  effect->setParameter(kMicLevel, 1.0f);
  effect->setParameter(kDepth, 0.0f);
  const Stereo out = render(*effect, Stereo(2000));
  for (size_t i = 0; i < out.frames(); ++i) {
    ASSERT_NEAR(out.left[i], 0.25f * 0.001333f, 1e-9f) << i;
    ASSERT_EQ(out.left[i], out.right[i]) << i;
  }
}

TEST(Echo, LandsAtTheDelayAndTheRightChannelThreeMillisecondsLater) {
  auto effect = makeInstance();
  setPlainEcho(*effect);
  render(*effect, Stereo(44100));  // let the heads settle at the new distance

  Stereo left(2000);
  left.left[0] = 1.0f;
  const Stereo outL = render(*effect, left);
  EXPECT_FLOAT_EQ(outL.left[0], 0.8f * 0.64f);           // dry at full depth
  EXPECT_EQ(firstNonZeroAfter(outL.left, 1), 176 - 2);    // 4 ms: halves at D-2 and D-1
  EXPECT_EQ(firstNonZeroAfter(outL.right, 0), -1);        // nothing crosses over
  render(*effect, Stereo(44100));

  Stereo right(2000);
  right.right[0] = 1.0f;
  const Stereo outR = render(*effect, right);
  EXPECT_EQ(firstNonZeroAfter(outR.right, 1), 308 - 2);   // 7 ms
  EXPECT_EQ(firstNonZeroAfter(outR.left, 0), -1);
}

// The feedback sum is saturated, so a loud input folds back instead of growing.
TEST(Echo, LoudInputStaysBounded) {
  auto effect = makeInstance();
  effect->setParameter(kInputSelector, 1.0f);
  effect->setParameter(kRepeat, 1.0f);
  effect->setParameter(kDepth, 1.0f);
  const Stereo out = render(*effect, noise(44100, 100.0f, 6));
  for (size_t i = 0; i < out.frames(); ++i) ASSERT_LT(std::fabs(out.left[i]), 100.0f * 0.8f * 0.64f + 2.0f);
}

// Above 94117 Hz the lines grow so the longest right-hand delay still settles.
TEST(Echo, LongestDelaySettlesAtHighRates) {
  for (float rate : {96000.0f, 192000.0f}) {
    auto effect = makeInstance(rate);
    setPlainEcho(*effect);
    effect->setParameter(kDelay, 1.0f);  // 150 ms left, 153 ms right
    render(*effect, Stereo(static_cast<size_t>(rate * 4)));
    Stereo impulse(static_cast<size_t>(rate * 0.2f));
    impulse.right[0] = 1.0f;
    // Far from the buffer start the read position carries few fraction bits,
    // so the head rests a sample or two short of D - 1 -- but it rests.
    const long expected = static_cast<long>((153.0f * 0.001f) * rate) - 2;
    const long first = firstNonZeroAfter(render(*effect, impulse).right, 1);
    EXPECT_NEAR(first, expected, 3) << rate;
    render(*effect, Stereo(static_cast<size_t>(rate)));
    EXPECT_EQ(firstNonZeroAfter(render(*effect, impulse).right, 1), first) << rate;
  }
}

class Recovery : public ::testing::TestWithParam<float> {};

TEST_P(Recovery, InputBurstLeavesTheLoopFinite) {
  for (float selector : {0.0f, 1.0f}) {
    auto effect = makeInstance();
    effect->setParameter(kInputSelector, selector);
    effect->setParameter(kMicLevel, 1.0f);
    effect->setParameter(kRepeat, 1.0f);
    render(*effect, noise(10000, 0.5f, 7));
    Stereo burst = noise(300, 0.5f, 8);
    for (size_t i = 0; i < burst.frames(); i += 3) burst.left[i] = burst.right[i] = GetParam();
    render(*effect, burst);
    const Stereo after = render(*effect, noise(44100, 0.5f, 9));
    EXPECT_TRUE(allFinite(after.left)) << selector;
    EXPECT_TRUE(allFinite(after.right)) << selector;
  }
}

TEST_P(Recovery, BadSettingsDoNotBreakTheEchoForGood) {
  auto effect = makeInstance();
  for (int j = 0; j < 6; ++j) effect->setParameter(j, GetParam());
  render(*effect, noise(22050, 0.5f, 10));
  setPlainEcho(*effect);
  const Stereo settle = render(*effect, Stereo(2 * 44100));
  EXPECT_TRUE(allFinite(settle.left, 44100));
  Stereo impulse(1000);
  impulse.left[0] = 1.0f;
  const Stereo out = render(*effect, impulse);
  EXPECT_TRUE(allFinite(out.left));
  EXPECT_EQ(firstNonZeroAfter(out.left, 1), 176 - 2);
}

INSTANTIATE_TEST_SUITE_P(Values, Recovery, ::testing::Values(kNaN, kInf, -kInf, 1e30f, -1e30f));

TEST(Blocks, EmptyAndNullBlocksAreHarmless) {
  auto effect = makeInstance();
  float* none[2] = {nullptr, nullptr};
  effect->processReplacing(none, none, 64);
  effect->processReplacing(nullptr, nullptr, 64);
  Stereo s(8);
  float* bufs[2] = {s.left.data(), s.right.data()};
  effect->processReplacing(bufs, bufs, 0);
  effect->processReplacing(bufs, bufs, -5);
  SUCCEED();
}

}  // namespace
}  // namespace plugin_test
