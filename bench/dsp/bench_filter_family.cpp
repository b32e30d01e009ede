// ns per sample of the resonant filter family and the biquad.
#include <benchmark/benchmark.h>

#include "bench/dsp/dsp_bench_support.h"

#include <vector>

#include "dsp/filter_2_pole_low_pass.h"
#include "dsp/filter_4P_LP.h"
#include "dsp/filter_biquad.h"
#include "dsp/filter_chamberlin_multimode.h"
#include "dsp/filter_multimode.h"

namespace {

using dsp_bench::perSample;

void TwoPoleLowPass(benchmark::State& state) {
  _filter_2_pole_low_pass_struct f{};
  filter_2_pole_low_pass_init(&f);
  filter_2_pole_low_pass_set_attr(&f, ATTR_CUTOFF, 1200.0f);
  filter_2_pole_low_pass_set_attr(&f, ATTR_RESONANCE, 4.0f);
  perSample(state, [&](float v) { return filter_2_pole_low_pass_dsp(&f, v); });
}
BENCHMARK(TwoPoleLowPass);

void FourPoleLowPass(benchmark::State& state) {
  _filter_4P_LP_struct f{};
  filter_4P_LP_init(&f);
  filter_4P_LP_set_attr(&f, ATTR_CUTOFF, 2000.0f);
  filter_4P_LP_set_attr(&f, ATTR_RESONANCE, 6.0f);
  perSample(state, [&](float v) { return filter_4P_LP_dsp(&f, v); });
}
BENCHMARK(FourPoleLowPass);

void MultimodeFilter(benchmark::State& state) {
  _filter_multimode_struct f{};
  filter_multimode_init(&f);
  filter_multimode_set_attr(&f, ATTR_CUTOFF, 1500.0f);
  filter_multimode_set_attr(&f, ATTR_RESONANCE, 6.0f);
  filter_multimode_set_attr(&f, ATTR_FILTER_TYPE, 2.0f);
  perSample(state, [&](float v) { return filter_multimode_dsp(&f, v); });
}
BENCHMARK(MultimodeFilter);

void MultimodeFilterMorph(benchmark::State& state) {
  _filter_multimode_struct f{};
  filter_multimode_init(&f);
  filter_multimode_set_attr(&f, ATTR_CUTOFF, 1500.0f);
  filter_multimode_set_attr(&f, ATTR_RESONANCE, 6.0f);
  filter_multimode_set_attr(&f, ATTR_MORPH, 0.45f);
  perSample(state, [&](float v) { return filter_multimode_dsp_morph(&f, v); });
}
BENCHMARK(MultimodeFilterMorph);

// The multimode filter's recursion alone, the two half-steps with nothing
// picked or saturated: the floor under both operations above, set by the
// latency of the double-precision operations from one band value to the next
// (26 cycles per sample where an addition takes 2 and a product 3). What the
// operations take beyond it is their own cost.
void MultimodeFilterRecursionFloor(benchmark::State& state) {
  _filter_multimode_struct f{};
  filter_multimode_init(&f);
  filter_multimode_set_attr(&f, ATTR_CUTOFF, 1500.0f);
  filter_multimode_set_attr(&f, ATTR_RESONANCE, 6.0f);
  perSample(state, [&](float v) {
    const float r = filter_multimode_take_renormal(filter_multimode_renormal_dsp());
    return static_cast<float>(filter_multimode_half_steps(&f, v + r, r).band2);
  });
}
BENCHMARK(MultimodeFilterRecursionFloor);

void ChamberlinMultimode(benchmark::State& state) {
  _filter_chamberlin_multimode_struct f{};
  filter_chamberlin_multimode_init(&f);
  filter_chamberlin_multimode_set_attr(&f, ATTR_CUTOFF, 1500.0f);
  filter_chamberlin_multimode_set_attr(&f, ATTR_RESONANCE, 3.0f);
  filter_chamberlin_multimode_set_attr(&f, ATTR_FILTER_TYPE, 2.0f);
  perSample(state, [&](float v) { return filter_chamberlin_multimode_dsp(&f, v); });
}
BENCHMARK(ChamberlinMultimode);

void BiquadPeaking(benchmark::State& state) {
  _filter_biquad_struct f{};
  filter_biquad_init(&f);
  filter_biquad_set_attr(&f, ATTR_FILTER_TYPE, 4.0f);
  filter_biquad_set_attr(&f, ATTR_GAIN_DB, 6.0f);
  filter_biquad_set_attr(&f, ATTR_CUTOFF, 3000.0f);
  filter_biquad_set_attr(&f, ATTR_RESONANCE, 2.0f);
  perSample(state, [&](float v) { return filter_biquad_dsp(&f, v); });
}
BENCHMARK(BiquadPeaking);

}  // namespace
