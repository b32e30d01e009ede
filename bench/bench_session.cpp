#include "bench_session.h"

#include <cstdint>
#include <cstdlib>

namespace junkyard::bench {

std::string pluginPath() {
  const char* fromEnvironment = std::getenv("JUNKYARD_PLUGIN");
  return fromEnvironment && *fromEnvironment ? fromEnvironment : JUNKYARD_PLUGIN_PATH;
}

const vsthost::PluginLibrary& pluginLibrary() {
  static vsthost::PluginLibrary library(pluginPath());
  return library;
}

std::unique_ptr<vsthost::PluginInstance> makeRunningInstance(float inputSelector) {
  vsthost::HostSettings settings;
  settings.sampleRate = kSampleRate;
  settings.blockSize = kBlockFrames;
  auto instance = std::make_unique<vsthost::PluginInstance>(pluginLibrary(), settings);
  if (!instance->valid()) return nullptr;
  instance->open();
  instance->setSampleRate(kSampleRate);
  instance->setBlockSize(kBlockFrames);
  instance->setParameter(kInputSelector, inputSelector);
  instance->resume();
  return instance;
}

NoiseInput::NoiseInput() : left_(kBlocks * kBlockFrames), right_(kBlocks * kBlockFrames) {
  uint32_t state = 0x6a756e6bu;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return (static_cast<float>(state >> 8) * (2.0f / 16777216.0f) - 1.0f) * 0.3f;
  };
  for (std::size_t i = 0; i < left_.size(); ++i) {
    left_[i] = next();
    right_[i] = next();
  }
}

void NoiseInput::block(std::size_t n, float* channels[2]) {
  std::size_t offset = (n % kBlocks) * kBlockFrames;
  channels[0] = left_.data() + offset;
  channels[1] = right_.data() + offset;
}

}  // namespace junkyard::bench
