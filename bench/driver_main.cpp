// junkyard-bench-driver MODE FRAMES: renders FRAMES stereo frames of the
// benchmark noise through one instance in Mic or Line, and nothing more.
// Run twice with different FRAMES under callgrind, the difference of the two
// instruction counts is the cost of the frames alone.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_session.h"

int main(int argc, char** argv) {
  using namespace junkyard::bench;
  if (argc != 3) {
    std::fprintf(stderr, "usage: junkyard-bench-driver mic|line FRAMES\n");
    return 1;
  }
  const std::string mode = argv[1];
  if (mode != "mic" && mode != "line") {
    std::fprintf(stderr, "junkyard-bench-driver: MODE must be mic or line, got '%s'\n", argv[1]);
    return 1;
  }
  char* end = nullptr;
  const long long frames = std::strtoll(argv[2], &end, 10);
  if (*argv[2] == '\0' || *end != '\0' || frames < 0) {
    std::fprintf(stderr, "junkyard-bench-driver: FRAMES must be a whole number, got '%s'\n", argv[2]);
    return 1;
  }
  if (!pluginLibrary().ok()) {
    std::fprintf(stderr, "junkyard-bench-driver: %s: %s\n", pluginPath().c_str(),
                 pluginLibrary().error().c_str());
    return 1;
  }
  auto instance = makeRunningInstance(mode == "line" ? 1.0f : 0.0f);
  if (!instance) {
    std::fprintf(stderr, "junkyard-bench-driver: the plug-in made no instance\n");
    return 1;
  }

  NoiseInput input;
  std::vector<float> outLeft(kBlockFrames), outRight(kBlockFrames);
  float* outputs[2] = {outLeft.data(), outRight.data()};
  float* inputs[2] = {nullptr, nullptr};
  for (long long done = 0, block = 0; done < frames; done += kBlockFrames, ++block) {
    input.block(static_cast<std::size_t>(block), inputs);
    const long long count = frames - done < kBlockFrames ? frames - done : kBlockFrames;
    instance->processReplacing(inputs, outputs, static_cast<VstInt32>(count));
  }
  return 0;
}
