// ns per sample of the moving average, bit-depth reducer, sample-and-hold and
// overdrive curve.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/processors.h"

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

// Modes 0 (mean), 1 (mean magnitude) and 2 (root mean square).
void MovingAverage(benchmark::State& state) {
  _filter_average_struct avg{};
  filter_average_init(&avg);
  filter_average_set_attr(&avg, ATTR_AVERAGE_LENGTH, 64.0f);
  filter_average_set_attr(&avg, ATTR_AVERAGE_MODE, static_cast<float>(state.range(0)));
  perSample(state, [&](float v) { return filter_average_dsp(&avg, v); });
  filter_average_free(&avg);
}
BENCHMARK(MovingAverage)->ArgName("mode")->DenseRange(0, 2);

void BitDepthReducer(benchmark::State& state) {
  _filter_derez_struct derez{};
  filter_derez_init(&derez);
  filter_derez_set_attr(&derez, ATTR_FILTER_TYPE, 8.0f);
  perSample(state, [&](float v) { return filter_derez_dsp(&derez, v); });
}
BENCHMARK(BitDepthReducer);

void SampleAndHold(benchmark::State& state) {
  _filter_downsample_struct ds{};
  filter_downsample_init(&ds);
  filter_downsample_set_attr(&ds, ATTR_DOWNSAMPLE_RATE, 0.37f);
  perSample(state, [&](float v) { return filter_downsample_dsp(&ds, v); });
}
BENCHMARK(SampleAndHold);

void OverdriveCurve(benchmark::State& state) {
  _filter_overdrive_struct od{};
  filter_overdrive_init(&od);
  filter_overdrive_set_attr(&od, ATTR_OVERDRIVE_AMOUNT, 2.5f);
  perSample(state, [&](float v) { return filter_overdrive_dsp(&od, v); });
}
BENCHMARK(OverdriveCurve);

}  // namespace
