// Random settings and random input for every filter of the family and the
// biquad: nothing crashes or reads out of bounds whatever arrives (checked
// under the sanitizers), and wherever the settings leave a filter stable,
// finite input gives finite output.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "dsp/filter_2_pole_low_pass.h"
#include "dsp/filter_4P_LP.h"
#include "dsp/filter_biquad.h"
#include "dsp/filter_chamberlin_multimode.h"
#include "dsp/filter_multimode.h"
#include "dsp/filter_probe.h"
#include "dsp/sampling_rate_guard.h"

namespace {

using filter_probe::kWildValues;

// Each adapter names the ids a module knows (plus one it does not), offers
// an occasional extra operation, and says whether the settings it holds now
// are ones under which the filter is stable with bounded gain. Settings that
// are not are the documented unstable ranges; Stabilise puts them back.

struct TwoPole {
  using Record = _filter_2_pole_low_pass_struct;
  static constexpr int32_t kIds[] = {ATTR_CUTOFF, ATTR_RESONANCE, 999};
  static void Init(Record* r) { filter_2_pole_low_pass_init(r); }
  static void Set(Record* r, int32_t id, float v) { filter_2_pole_low_pass_set_attr(r, id, v); }
  static float Dsp(Record* r, float x) { return filter_2_pole_low_pass_dsp(r, x); }
  static void Extra(Record* r, std::mt19937&) { filter_2_pole_low_pass_get_attr(r, ATTR_CUTOFF); }
  static void Reset(Record* r) { filter_2_pole_low_pass_clear(r); }
  static void Stabilise(Record*) {}  // stable for every accepted setting
};

struct FourPole {
  using Record = _filter_4P_LP_struct;
  static constexpr int32_t kIds[] = {ATTR_CUTOFF, ATTR_RESONANCE, 999};
  static void Init(Record* r) { filter_4P_LP_init(r); }
  static void Set(Record* r, int32_t id, float v) { filter_4P_LP_set_attr(r, id, v); }
  static float Dsp(Record* r, float x) { return filter_4P_LP_dsp(r, x); }
  static void Extra(Record* r, std::mt19937&) {
    Record other;
    filter_4P_LP_init(&other);
    filter_4P_LP_link(r, &other);
    filter_4P_LP_link(&other, r);
  }
  static void Reset(Record* r) { filter_4P_LP_clear(r); }
  static void Stabilise(Record* r) {
    if (!(r->resonance >= -2.0f && r->resonance <= 9.5f)) Set(r, ATTR_RESONANCE, 1.0f);
  }
};

template <bool kMorph>
struct Multimode {
  using Record = _filter_multimode_struct;
  static constexpr int32_t kIds[] = {ATTR_MORPH, ATTR_CUTOFF, ATTR_RESONANCE, ATTR_FILTER_TYPE,
                                     ATTR_FILTER_ENABLE, 999};
  static void Init(Record* r) { filter_multimode_init(r); }
  static void Set(Record* r, int32_t id, float v) { filter_multimode_set_attr(r, id, v); }
  static float Dsp(Record* r, float x) {
    return kMorph ? filter_multimode_dsp_morph(r, x) : filter_multimode_dsp(r, x);
  }
  static void Extra(Record* r, std::mt19937&) { filter_multimode_update_sampling_rate(r); }
  static void Reset(Record* r) { filter_multimode_clear(r); }
  static void Stabilise(Record* r) {
    if (!(r->damp >= 0.0)) Set(r, ATTR_RESONANCE, 1.0f);
  }
};

struct Chamberlin {
  using Record = _filter_chamberlin_multimode_struct;
  static constexpr int32_t kIds[] = {ATTR_CUTOFF, ATTR_RESONANCE, ATTR_FILTER_TYPE, 999};
  static void Init(Record* r) { filter_chamberlin_multimode_init(r); }
  static void Set(Record* r, int32_t id, float v) { filter_chamberlin_multimode_set_attr(r, id, v); }
  static float Dsp(Record* r, float x) { return filter_chamberlin_multimode_dsp(r, x); }
  static void Extra(Record* r, std::mt19937&) { filter_chamberlin_multimode_get_output(r); }
  static void Reset(Record* r) { filter_chamberlin_multimode_init(r); }  // it has no clear
  static void Stabilise(Record* r) {
    if (!(r->q >= 0.0 && r->f * r->f + 2.0 * r->f * r->q < 4.0)) Set(r, ATTR_RESONANCE, 1.0f);
  }
};

struct Biquad {
  using Record = _filter_biquad_struct;
  static constexpr int32_t kIds[] = {ATTR_CUTOFF,    ATTR_RESONANCE,   ATTR_FILTER_TYPE,
                                     ATTR_GAIN_DB,   ATTR_SHELF_SLOPE, ATTR_BANDWIDTH, 999};
  static void Init(Record* r) { filter_biquad_init(r); }
  static void Set(Record* r, int32_t id, float v) { filter_biquad_set_attr(r, id, v); }
  static float Dsp(Record* r, float x) { return filter_biquad_dsp(r, x); }
  static void Extra(Record* r, std::mt19937& rng) {
    std::uniform_int_distribution<size_t> pick(0, std::size(kWildValues) - 1);
    filter_biquad_set_coeffs(r, kWildValues[pick(rng)], kWildValues[pick(rng)], kWildValues[pick(rng)],
                             kWildValues[pick(rng)], kWildValues[pick(rng)], kWildValues[pick(rng)]);
  }
  static void Reset(Record* r) { filter_biquad_clear(r); }
  // Poles on or inside the unit circle (the stability triangle), and a gain
  // that cannot lift a bounded input past the float range.
  static void Stabilise(Record* r) {
    if (!(std::fabs(r->gain_db) <= 120.0f)) Set(r, ATTR_GAIN_DB, 0.0f);
    const double a1 = double{r->den1} / r->den0;
    const double a2 = double{r->den2} / r->den0;
    if (!(std::fabs(a2) <= 1.0 && std::fabs(a1) <= 1.0 + a2)) Init(r);
  }
};

template <typename M>
class FilterProperties : public ::testing::Test {
 protected:
  void SetUp() override { qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f); }

  std::mt19937 rng_{20240607};

  float WildValue() {
    std::uniform_int_distribution<size_t> pick(0, std::size(kWildValues) - 1);
    return kWildValues[pick(rng_)];
  }
  int32_t AnyId() {
    std::uniform_int_distribution<size_t> pick(0, std::size(M::kIds) - 1);
    return M::kIds[pick(rng_)];
  }
  // Anything from silence through subnormals up to 1000, either sign.
  float BoundedInput() {
    std::uniform_real_distribution<float> exponent(-45.0f, 3.0f);
    std::uniform_real_distribution<float> sign(-1.0f, 1.0f);
    return sign(rng_) * std::pow(10.0f, exponent(rng_));
  }
  void MaybeChangeRate(bool wild) {
    static constexpr float kSaneRates[] = {22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f};
    std::uniform_int_distribution<int> pick(0, 4);
    qmx_set_attr(ATTR_SAMPLING_RATE, wild ? WildValue() : kSaneRates[pick(rng_)]);
  }

 private:
  SamplingRateGuard rateGuard_;
};

using Modules = ::testing::Types<TwoPole, FourPole, Multimode<false>, Multimode<true>, Chamberlin, Biquad>;
TYPED_TEST_SUITE(FilterProperties, Modules);

// Wild settings, wild rates and wild input (NaN, infinities, the largest
// floats): the sanitizers watch for undefined behaviour. Afterwards, stable
// settings and a reset bring the filter back to finite output: nothing
// unusable stuck in the settings.
TYPED_TEST(FilterProperties, SurvivesAnythingAndRecovers) {
  using M = TypeParam;
  typename M::Record r;
  for (int round = 0; round < 20; ++round) {
    M::Init(&r);
    for (int i = 0; i < 4000; ++i) {
      if (i % 13 == 0) M::Set(&r, this->AnyId(), this->WildValue());
      if (i % 331 == 0) this->MaybeChangeRate(true);
      if (i % 97 == 0) M::Extra(&r, this->rng_);
      M::Dsp(&r, this->WildValue());
    }
    this->MaybeChangeRate(false);
    M::Stabilise(&r);
    M::Reset(&r);
    for (int i = 0; i < 2000; ++i) {
      const float y = M::Dsp(&r, this->BoundedInput());
      ASSERT_TRUE(std::isfinite(y)) << "round " << round << ", sample " << i;
    }
  }
}

// Wild settings and rates, but bounded input: as long as the settings are
// stable, every output is finite.
TYPED_TEST(FilterProperties, StableSettingsGiveFiniteOutput) {
  using M = TypeParam;
  typename M::Record r;
  M::Init(&r);
  for (int i = 0; i < 200000; ++i) {
    if (i % 61 == 0) {
      if (i % 1220 == 0) this->MaybeChangeRate(true);
      const int32_t id = this->AnyId();
      const float value = this->WildValue();
      M::Set(&r, id, value);
      M::Stabilise(&r);
    }
    const float y = M::Dsp(&r, this->BoundedInput());
    ASSERT_TRUE(std::isfinite(y)) << "sample " << i;
  }
}

}  // namespace
