// Shared by the DSP module benchmarks: a varied input block and a loop that
// reports ns per sample of one module's dsp operation.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
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

// One call per sample, each output stored into an output block, as a host's
// process call does with the samples of one channel. The outputs used to be
// summed into one float instead: that sum is a chain of its own from sample
// to sample, and where the compiler keeps it in memory (any loop with a call
// left in it) every sample also waited for its store to come back, a cost of
// the benchmark rather than of the module. The empty asm statement keeps the
// compiler from vectorising the loop, which would work four samples at a time
// and time something other than one call per sample; it emits no code and
// forces nothing out of registers.
template <typename Step>
void perSample(benchmark::State& state, Step step) {
  const std::vector<float> x = testSignal();
  std::vector<float> y(x.size());
  const float* const in = x.data();
  float* const out = y.data();
  const size_t n = x.size();
  for (auto _ : state) {
    for (size_t i = 0; i < n; ++i) {
      out[i] = step(in[i]);
      asm volatile("");
    }
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
  state.counters["ns_per_sample"] = benchmark::Counter(
      static_cast<double>(state.iterations() * n),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace dsp_bench
