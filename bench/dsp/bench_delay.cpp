// ns per sample of the plain, fractional and cubic delay lines.
#include <benchmark/benchmark.h>

#include "bench/dsp/dsp_bench_support.h"

#include <vector>

#include "dsp/delay.h"

namespace {

using dsp_bench::perSample;

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
