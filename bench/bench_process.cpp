// Time per stereo frame of processReplacing in 512-frame blocks.
#include <benchmark/benchmark.h>

#include <time.h>

#include "bench_session.h"

namespace junkyard::bench {
namespace {

// CPU time of this thread: on a shared machine wall time also counts the
// neighbours' work.
double threadNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

void processBlocks(benchmark::State& state, float inputSelector) {
  if (!pluginLibrary().ok()) {
    state.SkipWithError(pluginLibrary().error().c_str());
    return;
  }
  auto instance = makeRunningInstance(inputSelector);
  if (!instance) {
    state.SkipWithError("the plug-in made no instance");
    return;
  }
  NoiseInput input;
  std::vector<float> outLeft(kBlockFrames), outRight(kBlockFrames);
  float* outputs[2] = {outLeft.data(), outRight.data()};
  float* inputs[2] = {nullptr, nullptr};

  std::size_t block = 0;
  const double start = threadNanoseconds();
  for (auto _ : state) {
    input.block(block++, inputs);
    instance->processReplacing(inputs, outputs, kBlockFrames);
    benchmark::DoNotOptimize(outputs[0][kBlockFrames - 1]);
    benchmark::ClobberMemory();
  }
  const double elapsed = threadNanoseconds() - start;

  const double frames = static_cast<double>(state.iterations()) * kBlockFrames;
  state.SetItemsProcessed(static_cast<int64_t>(frames));
  state.counters["ns_per_frame"] = frames > 0 ? elapsed / frames : 0.0;
}

BENCHMARK_CAPTURE(processBlocks, Mic, 0.0f);
BENCHMARK_CAPTURE(processBlocks, Line, 1.0f);

}  // namespace
}  // namespace junkyard::bench
