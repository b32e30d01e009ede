#include "tools/render/demo_signal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace junkyard::render {
namespace {

constexpr double kDemoSeconds = 6.0;

// A fixed linear congruential generator: the demo must not change between runs
// or machines, which std::rand and the <random> distributions do not promise.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  float next() {  // uniform in [-1, 1)
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) * (2.0f / 16777216.0f) - 1.0f;
  }

 private:
  uint32_t state_;
};

struct Voice {
  double start;     // seconds
  double seconds;   // length before the fade-out ends it
  double pitch;     // Hz; 0 means a noise hit
  float gainLeft;
  float gainRight;
};

// Plucked notes ring for under a second, then the hits, then a chord; the gaps
// leave room for the echoes.
constexpr Voice kScore[] = {
    {0.10, 0.80, 220.00, 0.9f, 0.5f},  {0.75, 0.80, 277.18, 0.5f, 0.9f},
    {1.40, 0.80, 329.63, 0.8f, 0.8f},  {2.05, 0.60, 440.00, 0.7f, 0.7f},
    {3.00, 0.12, 0.0, 1.0f, 0.6f},     {3.40, 0.12, 0.0, 0.6f, 1.0f},
    {3.80, 0.12, 0.0, 0.9f, 0.9f},     {4.40, 0.90, 196.00, 0.7f, 0.5f},
    {4.40, 0.90, 246.94, 0.6f, 0.6f},  {4.40, 0.90, 293.66, 0.5f, 0.7f},
};

// Karplus-Strong: a noise burst circulating through a loss-making average.
void addPluck(const Voice& v, int rate, Noise& noise, StereoSignal& out) {
  const std::size_t period =
      std::max<std::size_t>(2, static_cast<std::size_t>(std::lround(rate / v.pitch)));
  std::vector<float> loop(period);
  float previous = 0.0f;
  for (float& s : loop) {  // a softened burst: a bright one sounds like a click
    float fresh = noise.next();
    s = 0.5f * (fresh + previous);
    previous = fresh;
  }
  const std::size_t begin = static_cast<std::size_t>(std::lround(v.start * rate));
  const std::size_t length = static_cast<std::size_t>(std::lround(v.seconds * rate));
  const std::size_t fade = static_cast<std::size_t>(rate / 20);  // 50 ms
  std::size_t pos = 0;
  for (std::size_t n = 0; n < length && begin + n < out.left.size(); ++n) {
    std::size_t nextPos = (pos + 1) % period;
    float sample = loop[pos];
    loop[pos] = 0.985f * 0.5f * (loop[pos] + loop[nextPos]);
    pos = nextPos;
    float envelope = n + fade > length ? static_cast<float>(length - n) / fade : 1.0f;
    out.left[begin + n] += sample * envelope * v.gainLeft;
    out.right[begin + n] += sample * envelope * v.gainRight;
  }
}

// A short burst of noise with a fast exponential decay, like a knock on metal.
void addHit(const Voice& v, int rate, Noise& noise, StereoSignal& out) {
  const std::size_t begin = static_cast<std::size_t>(std::lround(v.start * rate));
  const std::size_t length = static_cast<std::size_t>(std::lround(v.seconds * rate));
  const float decay = std::exp(-1.0f / (0.015f * rate));  // 15 ms time constant
  float envelope = 1.0f;
  for (std::size_t n = 0; n < length && begin + n < out.left.size(); ++n) {
    float sample = noise.next() * envelope;
    envelope *= decay;
    out.left[begin + n] += sample * v.gainLeft;
    out.right[begin + n] += sample * v.gainRight;
  }
}

}  // namespace

StereoSignal synthesiseDemo() {
  StereoSignal out;
  out.sampleRate = kDemoSampleRate;
  const std::size_t frames = static_cast<std::size_t>(kDemoSeconds * kDemoSampleRate);
  out.left.assign(frames, 0.0f);
  out.right.assign(frames, 0.0f);

  Noise noise(0x4a756e6bu);
  for (const Voice& v : kScore) {
    if (v.pitch > 0.0) {
      addPluck(v, kDemoSampleRate, noise, out);
    } else {
      addHit(v, kDemoSampleRate, noise, out);
    }
  }

  float peak = 0.0f;
  for (std::size_t i = 0; i < frames; ++i) {
    peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
  }
  if (peak > 0.0f) {
    const float scale = kDemoPeak / peak;
    for (std::size_t i = 0; i < frames; ++i) {
      // Clamped because the product can round a hair above the peak.
      out.left[i] = std::clamp(out.left[i] * scale, -kDemoPeak, kDemoPeak);
      out.right[i] = std::clamp(out.right[i] * scale, -kDemoPeak, kDemoPeak);
    }
  }
  return out;
}

}  // namespace junkyard::render
