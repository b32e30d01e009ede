// junkyard-bench: the instance footprint first, then the timed benchmarks.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench_session.h"
#include "instance_memory.h"

int main(int argc, char** argv) {
  using namespace junkyard::bench;
  std::printf("Plug-in: %s\n", pluginPath().c_str());
  InstanceMemory memory;
  std::string error;
  if (!measureInstanceMemory(memory, error)) {
    std::fprintf(stderr, "junkyard-bench: %s\n", error.c_str());
    return 1;
  }
  std::printf("Heap per instance: %lld bytes (first instance %lld bytes); "
              "%lld bytes still held after effClose\n",
              memory.furtherInstance, memory.firstInstance, memory.heldAfterClose);
  std::fflush(stdout);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
