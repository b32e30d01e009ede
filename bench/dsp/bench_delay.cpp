// ns per sample of the plain, fractional and cubic delay lines.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/delay.h"

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

void DelayPlain(benchmark::State& state) {
  _delay_struct line{};
  delay_init(&line, 14400);
  delay_set_attr(&line, ATTR_DELAY_MS, 100.0f);
  perSample(state, [&](float v) { return delay_dsp(&line, v); });
  delay_free(&line);
}
BENCHMARK(DelayPlain);

// A whole-sample delay (the stated read) and a fractional one.
void DelayFrac(benchmark::State& state) {
  _delay_frac_struct line{};
  delay_frac_init(&line, 14400);
  delay_frac_set_attr(&line, ATTR_DELAY_SAMPLES, state.range(0) ? 4410.37f : 4410.0f);
  perSample(state, [&](float v) { return delay_frac_dsp(&line, v); });
  delay_frac_free(&line);
}
BENCHMARK(DelayFrac)->ArgName("fractional")->Arg(0)->Arg(1);

void DelayCubic(benchmark::State& state) {
  _delay_cubic_struct line{};
  delay_cubic_init(&line, 14400);
  delay_cubic_set_attr(&line, ATTR_DELAY_SAMPLES, 4410.37f);
  perSample(state, [&](float v) { return delay_cubic_dsp(&line, v); });
  delay_cubic_free(&line);
}
BENCHMARK(DelayCubic);

}  // namespace
