// Drives the built plug-in module through the binary interface, as a host does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "tools/vsthost/plugin_instance.h"
#include "tools/vsthost/plugin_library.h"

namespace plugin_test {

using junkyard::vsthost::HostSettings;
using junkyard::vsthost::PluginInstance;
using junkyard::vsthost::PluginLibrary;

// Loaded once per test program, like a host that keeps the module open.
inline const PluginLibrary& library() {
  static PluginLibrary lib{JUNKYARD_PLUGIN_PATH};
  return lib;
}

enum Param { kMicLevel = 0, kDelay, kRepeat, kDepth, kInputSelector, kPowerSwitch };

// The module's sampling rate is process-wide and a new instance builds its
// delay lines at the rate last set. Settling it first with a throwaway
// instance makes a new instance start from a known state at `rate`.
inline std::unique_ptr<PluginInstance> makeInstance(float rate = 44100.0f, HostSettings settings = {}) {
  {
    PluginInstance settle(library());
    settle.setSampleRate(rate);
  }
  settings.sampleRate = rate;
  auto instance = std::make_unique<PluginInstance>(library(), settings);
  if (instance->valid()) {
    instance->setSampleRate(rate);
    instance->resume();
  }
  return instance;
}

struct Stereo {
  std::vector<float> left, right;
  explicit Stereo(size_t frames = 0, float value = 0.0f) : left(frames, value), right(frames, value) {}
  size_t frames() const { return left.size(); }
};

// Renders the whole input in blocks of `block` frames.
inline Stereo render(PluginInstance& effect, const Stereo& input, int block = 512) {
  Stereo output(input.frames());
  for (size_t start = 0; start < input.frames(); start += block) {
    const int n = static_cast<int>(std::min<size_t>(block, input.frames() - start));
    float* ins[2] = {const_cast<float*>(input.left.data() + start), const_cast<float*>(input.right.data() + start)};
    float* outs[2] = {output.left.data() + start, output.right.data() + start};
    effect.processReplacing(ins, outs, n);
  }
  return output;
}

// Uniform noise in both channels, drawn from `rng`.
inline Stereo noise(std::mt19937& rng, size_t frames, float amplitude) {
  std::uniform_real_distribution<float> dist(-amplitude, amplitude);
  Stereo s(frames);
  for (size_t i = 0; i < frames; ++i) {
    s.left[i] = dist(rng);
    s.right[i] = dist(rng);
  }
  return s;
}

inline Stereo noise(size_t frames, float amplitude, unsigned seed) {
  std::mt19937 rng(seed);
  return noise(rng, frames, amplitude);
}

inline bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Index of the first sample whose bits differ, or -1.
inline long firstDifference(const std::vector<float>& a, const std::vector<float>& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (!sameBits(a[i], b[i])) return static_cast<long>(i);
  return a.size() == b.size() ? -1 : static_cast<long>(std::min(a.size(), b.size()));
}

}  // namespace plugin_test
