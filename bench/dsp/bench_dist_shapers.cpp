// ns per sample of the hard clipper and the parabolic and sine waveshapers.
#include <benchmark/benchmark.h>

#include "bench/dsp/dsp_bench_support.h"

#include <vector>

#include "dsp/dist_shapers.h"

namespace {

using dsp_bench::perSample;

void HardClipper(benchmark::State& state) {
  _dist_clip_struct clip{};
  dist_clip_init(&clip);
  dist_clip_set_attr(&clip, ATTR_CLIP_GAIN, 1.5f);
  perSample(state, [&](float v) { return dist_clip_dsp(&clip, v); });
}
BENCHMARK(HardClipper);

void ParabolaShaper(benchmark::State& state) {
  _dist_warp_parabola_struct warp{};
  dist_warp_parabola_init(&warp);
  perSample(state, [&](float v) { return dist_warp_parabola_dsp(&warp, v); });
}
BENCHMARK(ParabolaShaper);

void SineFolder(benchmark::State& state) {
  _dist_warp_sine_struct warp{};
  dist_warp_sine_init(&warp);
  dist_warp_sine_set_attr(&warp, ATTR_WARP_FREQUENCY, 1.3f);
  perSample(state, [&](float v) { return dist_warp_sine_dsp(&warp, v); });
}
BENCHMARK(SineFolder);

}  // namespace
