// ns per sample of the moving average, bit-depth reducer, sample-and-hold and
// overdrive curve.
#include <benchmark/benchmark.h>

#include "bench/dsp/dsp_bench_support.h"

#include <vector>

#include "dsp/processors.h"

namespace {

using dsp_bench::perSample;

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
