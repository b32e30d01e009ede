// ns per sample of the hard clipper and the parabolic and sine waveshapers.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/dist_shapers.h"

namespace {

// A block of varied input beyond full scale, so every branch is taken.
std::vector<float> testSignal() {
  std::vector<float> x(1024);
  uint32_t state = 12345;
  for (float& v : x) {
    state = state * 1664525u + 1013904223u;
    v = static_cast<float>(static_cast<int32_t>(state)) * (1.25f / 2147483648.0f);
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
