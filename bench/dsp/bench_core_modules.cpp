// ns per sample of the modules the effect runs.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/delay_fad.h"
#include "dsp/dist_mxr.h"
#include "dsp/filter_butterworth.h"

namespace {

// A block of varied input, so no branch is always taken the same way.
std::vector<float> testSignal() {
  std::vector<float> x(1024);
  uint32_t state = 12345;
  for (float& v : x) {
    state = state * 1664525u + 1013904223u;
    v = static_cast<float>(static_cast<int32_t>(state)) * (1.0f / 2147483648.0f);
  }
  return x;
}

template <typename Step>
void perSample(benchmark::State& state, Step step) {
  const std::vector<float> x = testSignal();
  float sink = 0.0f;
  for (auto _ : state) {
    for (float v : x) sink += step(v);
    benchmark::DoNotOptimize(sink);
  }
  state.counters["ns_per_sample"] = benchmark::Counter(
      static_cast<double>(state.iterations() * x.size()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

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
