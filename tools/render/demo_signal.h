// The built-in demo: a few plucked notes and percussive hits with silence
// between them, so each echo can be heard on its own. Always the same samples.
#pragma once

#include <vector>

namespace junkyard::render {

struct StereoSignal {
  int sampleRate = 0;
  std::vector<float> left;
  std::vector<float> right;
};

constexpr int kDemoSampleRate = 44100;
constexpr float kDemoPeak = 0.5f;

// About 6 s of stereo audio at kDemoSampleRate, peak kDemoPeak.
StereoSignal synthesiseDemo();

}  // namespace junkyard::render
