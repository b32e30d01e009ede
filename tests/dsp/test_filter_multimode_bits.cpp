// The multimode filter's two dsp operations against a plain transcription of
// their arithmetic, bit for bit, over long random runs in which every setting
// keeps changing: the operations are written for speed. A change to the
// recursion shows at once in the double-precision state. A change to the
// final blend or saturation moves only the last bits of a double that is
// then rounded to single, so it shows in the output only on the rare sample
// where it crosses a rounding boundary; those lines must keep their grouping.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <iterator>
#include <random>
#include <string>
#include <type_traits>

#include "dsp/filter_multimode.h"
#include "dsp/sampling_rate_guard.h"

namespace {

using Filter = _filter_multimode_struct;

// The state of one filter as the plain version keeps it; the coefficients,
// mode, weights and switch are read from the library's record, which only
// set_attr writes.
struct Plain {
  double low = 0.0, high = 0.0, band = 0.0, notch = 0.0;
  float output = 0.0f;
  float renormal = 0.0f;

  double Pick(const Filter& c, bool morph) const {
    if (morph) return c.w_low * low + c.w_band * band + c.w_high * high + c.w_notch * notch;
    switch (c.mode) {
      case 0: return low;
      case 1: return high;
      case 2: return band;
      case 3: return notch;
      case 4: return low - high;
      default: return high;
    }
  }

  float Step(const Filter& c, float x, bool morph) {
    const float r = renormal;
    renormal = -r;
    const float xin = x + r;
    if (!morph && !c.enabled) return 0.0f;
    notch = static_cast<double>(xin * 0.5f) - c.damp * band;
    low = low + c.f * band - static_cast<double>(r);
    high = notch - low;
    band = band + c.f * high;
    const double p1 = Pick(c, morph);
    notch = 0.0 - c.damp * band;
    low = low + c.f * band;
    high = notch - low;
    band = band + c.f * high;
    const bool second = morph || (c.mode >= 0 && c.mode <= 4);
    const double p2 = second ? Pick(c, morph) : 0.0;
    const double y = p1 + p2;
    output = static_cast<float>(y / (1.0 + 0.28 * y * y));
    return output;
  }
};

// Equal bits, signed zeros and infinities included. Only a NaN matches any
// NaN: which of two NaN operands an operation passes on, and so the sign of
// the result, is up to the compiler's choice of operand order and is not
// part of the arithmetic.
template <typename T>
bool SameBits(T a, T b) {
  using Word = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  if (std::isnan(a) && std::isnan(b)) return true;
  return std::bit_cast<Word>(a) == std::bit_cast<Word>(b);
}

// Inputs: mostly noise, with stretches of silence (where the renormal
// offset carries the state), loud bursts that drive the saturation, signed
// zeros and, rarely, a value that is not finite.
class InputSource {
 public:
  explicit InputSource(uint32_t seed) : rng_(seed) {}
  float Next() {
    if (stretch_ == 0) {
      stretch_ = std::uniform_int_distribution<int>(1, 3000)(rng_);
      kind_ = std::uniform_int_distribution<int>(0, 9)(rng_);
    }
    --stretch_;
    switch (kind_) {
      case 0: return 0.0f;
      case 1: return std::uniform_int_distribution<int>(0, 1)(rng_) ? -0.0f : 1e-30f;
      case 2: return std::uniform_real_distribution<float>(-60.0f, 60.0f)(rng_);
      case 3: {
        const float odd[] = {std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(), 3e38f, -1.0f, 1.0f};
        return std::uniform_int_distribution<int>(0, 200)(rng_) == 0
                   ? odd[std::uniform_int_distribution<int>(0, 4)(rng_)]
                   : 0.25f;
      }
      default: return std::uniform_real_distribution<float>(-1.0f, 1.0f)(rng_);
    }
  }

 private:
  std::mt19937 rng_;
  int stretch_ = 0;
  int kind_ = 0;
};

// Now and then one setting changes, to a usual or an unusual value; a
// resonance above 10 lets the state run away to infinity and NaN, and clear
// brings it back.
void ChangeSomething(std::mt19937& rng, Filter* filter, Plain* plain) {
  const float cutoffs[] = {20.0f, 440.0f, 1000.0f, 3519.0f, 9000.0f, 30000.0f, 0.0f, -5.0f};
  const float resonances[] = {0.0f, 1.0f, 6.0f, 9.99f, 10.0f, 10.5f, -2.0f};
  const float modes[] = {0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, -1.0f, 2.7f};
  const float morphs[] = {0.0f, 1.0f / 3.0f, 0.45f, 2.0f / 3.0f, 0.8f, 1.0f, -0.3f, 1.7f};
  auto any = [&](const auto& values) {
    return values[std::uniform_int_distribution<size_t>(0, std::size(values) - 1)(rng)];
  };
  auto uniform = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
  switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
    case 0: filter_multimode_set_attr(filter, ATTR_CUTOFF, any(cutoffs)); break;
    case 1: filter_multimode_set_attr(filter, ATTR_CUTOFF, uniform(20.0f, 5000.0f)); break;
    case 2: filter_multimode_set_attr(filter, ATTR_RESONANCE, any(resonances)); break;
    case 3: filter_multimode_set_attr(filter, ATTR_RESONANCE, uniform(0.0f, 10.0f)); break;
    case 4: filter_multimode_set_attr(filter, ATTR_FILTER_TYPE, any(modes)); break;
    case 5: filter_multimode_set_attr(filter, ATTR_MORPH, any(morphs)); break;
    case 6: filter_multimode_set_attr(filter, ATTR_MORPH, uniform(0.0f, 1.0f)); break;
    case 7: filter_multimode_set_attr(filter, ATTR_FILTER_ENABLE, uniform(0.0f, 1.0f) < 0.2f ? 0.0f : 1.0f); break;
    default: {
      filter_multimode_clear(filter);
      const float renormal = plain->renormal;
      *plain = Plain{};
      plain->renormal = renormal;
      break;
    }
  }
}

struct Operation {
  const char* name;
  bool morph;
  uint32_t seed;
};

class MultimodeBits : public ::testing::TestWithParam<Operation> {
 protected:
  void SetUp() override { qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f); }

 private:
  SamplingRateGuard rateGuard_;
};

TEST_P(MultimodeBits, MatchTheirPlainArithmeticOverLongRuns) {
  const Operation& run = GetParam();
  float& renormal = run.morph ? filter_multimode_renormal_dsp_morph() : filter_multimode_renormal_dsp();
  Filter filter;
  filter_multimode_init(&filter);
  Plain plain;
  plain.renormal = renormal;  // whatever sign earlier calls left
  std::mt19937 rng(run.seed);
  InputSource input(run.seed + 1);
  int64_t finite_outputs = 0;
  for (int i = 0; i < 400000; ++i) {
    if (std::uniform_int_distribution<int>(0, 999)(rng) == 0) ChangeSomething(rng, &filter, &plain);
    const float x = input.Next();
    const float expected = plain.Step(filter, x, run.morph);
    const float y = run.morph ? filter_multimode_dsp_morph(&filter, x) : filter_multimode_dsp(&filter, x);
    ASSERT_TRUE(SameBits(y, expected)) << "sample " << i << ": " << y << " instead of " << expected;
    ASSERT_TRUE(SameBits(filter.low, plain.low)) << "sample " << i;
    ASSERT_TRUE(SameBits(filter.high, plain.high)) << "sample " << i;
    ASSERT_TRUE(SameBits(filter.band, plain.band)) << "sample " << i;
    ASSERT_TRUE(SameBits(filter.notch, plain.notch)) << "sample " << i;
    ASSERT_TRUE(SameBits(filter_multimode_get_output(&filter), plain.output)) << "sample " << i;
    ASSERT_TRUE(SameBits(renormal, plain.renormal)) << "sample " << i;
    if (std::isfinite(y) && y != 0.0f) ++finite_outputs;
  }
  // The run is no test of the arithmetic if the state sat at NaN throughout.
  EXPECT_GT(finite_outputs, 100000);
}

INSTANTIATE_TEST_SUITE_P(Operations, MultimodeBits,
                         ::testing::Values(Operation{"dsp", false, 11}, Operation{"dsp_morph", true, 12}),
                         [](const ::testing::TestParamInfo<Operation>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
