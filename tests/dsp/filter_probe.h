// Measuring tools shared by the filter tests: the settled response to a
// steady cosine, and values that no filter setting should be hurt by.
#pragma once

#include <cmath>
#include <limits>

namespace filter_probe {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kMax = std::numeric_limits<float>::max();
constexpr float kTiny = std::numeric_limits<float>::denorm_min();

// Frequencies as cycles per sample.
constexpr double kDc = 0.0;
constexpr double kNyquist = 0.5;

// Gain of a filter for a cosine of the given frequency: the largest output
// magnitude once the response has settled, over the input amplitude. Small
// amplitude keeps saturating filters in their linear range.
template <typename Step>
double SettledGain(Step step, double cycles_per_sample, int settle = 40000, int measure = 4000) {
  constexpr double kAmplitude = 0.01;
  const double two_pi = 6.283185307179586;
  double peak = 0.0;
  for (int i = 0; i < settle + measure; ++i) {
    const double phase = two_pi * cycles_per_sample * static_cast<double>(i);
    const float y = step(static_cast<float>(kAmplitude * std::cos(phase)));
    if (i >= settle) peak = std::fmax(peak, std::fabs(static_cast<double>(y)));
  }
  return peak / kAmplitude;
}

// Attribute values that mix sane settings with everything a careless caller
// or a corrupted automation lane might send.
inline constexpr float kWildValues[] = {
    kNaN, kInf, -kInf, kMax, -kMax, 1e30f, -1e30f, 1e9f, -1e9f, 0.0f, -0.0f, kTiny, -kTiny,
    1e-30f, -0.5f, -1.0f, -3.0f, 0.001f, 0.3f, 0.5f, 0.707f, 1.0f, 2.0f, 4.0f, 7.0f, 8.0f,
    9.0f, 10.0f, 12.0f, 20.0f, 100.0f, 440.0f, 1000.0f, 3519.0f, 10000.0f, 22049.0f,
    22050.0f, 22051.0f, 44100.0f, 100000.0f, 200000.0f};

}  // namespace filter_probe
