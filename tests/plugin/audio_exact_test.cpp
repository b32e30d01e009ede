// Every output sample must carry exactly the bits of the reference arithmetic,
// through long runs with parameter changes, both input positions, several
// sampling rates and odd block sizes.
#include <gtest/gtest.h>

#include <random>

#include "plugin_fixture.h"
#include "reference_chain.h"

namespace plugin_test {
namespace {

struct Scenario {
  const char* name;
  float rate;
  uint32_t slots;  // delay-line slots the module uses at this rate
  float selector;  // host value of the input selector
  int maxBlock;
  bool inPlace;
};

class ExactOutput : public ::testing::TestWithParam<Scenario> {};

TEST_P(ExactOutput, MatchesTheReferenceBitForBit) {
  const Scenario& sc = GetParam();
  auto effect = makeInstance(sc.rate);
  ASSERT_TRUE(effect->valid());
  reference::Chain model(sc.rate, sc.slots);
  for (int j = 0; j < 6; ++j) model.setParameter(j, effect->getParameter(j));
  auto set = [&](int index, float value) {
    effect->setParameter(index, value);
    model.setParameter(index, value);
  };
  set(kInputSelector, sc.selector);

  std::mt19937 rng(1234);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  std::uniform_int_distribution<int> blockSize(1, sc.maxBlock);
  const size_t total = static_cast<size_t>(sc.rate * 3.0f);
  size_t done = 0;
  int block = 0;
  while (done < total) {
    const int n = blockSize(rng);
    // Loud and quiet passages, silence, and every setting moving now and then.
    const float amplitude = (block % 7 == 3) ? 0.0f : ((block % 5 == 0) ? 3.0f : 0.4f);
    Stereo in = noise(rng, n, amplitude);
    if (block % 3 == 0) {
      const int index = block / 3 % 4;  // the four knobs
      set(index, unit(rng));
    }
    if (block % 97 == 50) set(kPowerSwitch, 0.0f);
    if (block % 97 == 60) set(kPowerSwitch, 1.0f);

    Stereo expected(n);
    model.process(in.left.data(), in.right.data(), expected.left.data(), expected.right.data(), n);
    Stereo out(n);
    float* ins[2] = {in.left.data(), in.right.data()};
    float* outs[2] = {out.left.data(), out.right.data()};
    if (sc.inPlace) {
      effect->processReplacing(ins, ins, n);
      out = in;
    } else {
      effect->processReplacing(ins, outs, n);
    }
    const long l = firstDifference(out.left, expected.left);
    const long r = firstDifference(out.right, expected.right);
    ASSERT_EQ(l, -1) << "left frame " << done + l << ": " << out.left[l] << " vs " << expected.left[l];
    ASSERT_EQ(r, -1) << "right frame " << done + r << ": " << out.right[r] << " vs " << expected.right[r];
    done += n;
    ++block;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Chains, ExactOutput,
    ::testing::Values(Scenario{"Line44k", 44100.0f, 14400, 1.0f, 512, false},
                      Scenario{"Mic44k", 44100.0f, 14400, 0.0f, 512, false},
                      Scenario{"MicInPlaceSmallBlocks", 44100.0f, 14400, 0.0f, 37, true},
                      Scenario{"Line48kInPlace", 48000.0f, 14400, 1.0f, 700, true},
                      Scenario{"Mic96k", 96000.0f, 14689, 0.0f, 1024, false},
                      Scenario{"Line192k", 192000.0f, 29377, 1.0f, 2048, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plugin_test
