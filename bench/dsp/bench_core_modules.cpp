// ns per sample of the modules the effect runs.
#include <benchmark/benchmark.h>

#include "bench/dsp/dsp_bench_support.h"

#include <vector>

#include "dsp/delay_fad.h"
#include "dsp/dist_mxr.h"
#include "dsp/filter_butterworth.h"

namespace {

using dsp_bench::perSample;

void DelayFad(benchmark::State& state) {
  _delay_fad_struct line{};
  delay_fad_init(&line, 14400);
  delay_fad_clear(&line);
  delay_fad_set_attr(&line, ATTR_DELAY_MS, 100.0f);
  perSample(state, [&](float v) { return delay_fad_dsp(&line, v); });
  delay_fad_free(&line);
}
BENCHMARK(DelayFad);

void ButterworthLowPass(benchmark::State& state) {
  _filter_butterworth_2P_struct f{};
  filter_butterworth_2P_LP_init(&f);
  filter_butterworth_2P_LP_set_attr(&f, ATTR_CUTOFF, 2500.0f);
  perSample(state, [&](float v) { return filter_butterworth_2P_LP_dsp(&f, v); });
}
BENCHMARK(ButterworthLowPass);

void ButterworthHighPass(benchmark::State& state) {
  _filter_butterworth_2P_struct f{};
  filter_butterworth_2P_HP_init(&f);
  filter_butterworth_2P_HP_set_attr(&f, ATTR_CUTOFF, 200.0f);
  perSample(state, [&](float v) { return filter_butterworth_2P_HP_dsp(&f, v); });
}
BENCHMARK(ButterworthHighPass);

void MxrClipper(benchmark::State& state) {
  _dist_mxr_struct mxr{};
  dist_mxr_init(&mxr);
  dist_mxr_set_attr(&mxr, ATTR_MXR_GAIN, 1.0f);
  dist_mxr_set_attr(&mxr, ATTR_MXR_LEVEL, 0.25f);
  perSample(state, [&](float v) { return dist_mxr_dsp(&mxr, v); });
}
BENCHMARK(MxrClipper);

}  // namespace
