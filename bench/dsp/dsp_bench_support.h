// Shared by the DSP module benchmarks: a varied input block and a loop that
// reports ns per sample of one module's dsp operation.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace dsp_bench {

// A block of varied input, so no branch is always taken the same way.
inline std::vector<float> testSignal() {
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

}  // namespace dsp_bench
