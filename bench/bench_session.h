// What every measurement shares: the module, an instance set up like a host
// at 44100 Hz with 512-frame blocks, and a fixed, non-silent input.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/vsthost/plugin_instance.h"
#include "tools/vsthost/plugin_library.h"

namespace junkyard::bench {

constexpr int kBlockFrames = 512;
constexpr float kSampleRate = 44100.0f;
constexpr int kInputSelector = 4;  // 0 Mic (the default), 1 Line

// $JUNKYARD_PLUGIN, else the module of this build tree.
std::string pluginPath();

// Loaded once per process; check ok().
const vsthost::PluginLibrary& pluginLibrary();

// A running instance in the given input position (0 Mic, 1 Line).
std::unique_ptr<vsthost::PluginInstance> makeRunningInstance(float inputSelector);

// 64 blocks of stereo white noise at 0.3 of full scale, always the same, so
// the echo loop is busy the way it is with music.
class NoiseInput {
 public:
  static constexpr int kBlocks = 64;
  NoiseInput();
  // The channel pointers for block number n (taken modulo kBlocks).
  void block(std::size_t n, float* channels[2]);

 private:
  std::vector<float> left_, right_;
};

}  // namespace junkyard::bench
