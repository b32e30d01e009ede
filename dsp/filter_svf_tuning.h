// Tuning shared by the two state-variable filters.
#pragma once

#include <cmath>

#include "dsp/qmx.h"

// The frequency coefficient f = 2 sin(pi fc / (2 rate)), the doubled rate in
// single precision and the rest in double, limited to 0.25 (about 0.08 of the
// rate): above that the recursion would need more damping than the filters
// give it. The formula already reaches the limit long before half the rate,
// and past the rate itself the sine would fold back, even below zero, so any
// cutoff above half the rate simply takes the limit.
// Returns false, leaving f alone, when the cutoff is not a positive finite
// number (zero or less would stall the filter or run it unstable) or the
// sampling rate is broken.
inline bool filter_svf_tuning(float cutoff, double* f) {
  const float rate = gAudioSamplingRate;
  if (!(cutoff > 0.0f) || !std::isfinite(cutoff)) return false;
  if (!(rate > 0.0f) || !std::isfinite(rate)) return false;
  constexpr double kPi = 3.141592653589793;
  double value = 0.25;
  if (static_cast<double>(cutoff) <= 0.5 * static_cast<double>(rate)) {
    const float doubled_rate = 2.0f * rate;
    value = 2.0 * std::sin(kPi * static_cast<double>(cutoff) / static_cast<double>(doubled_rate));
  }
  if (value > 0.25) value = 0.25;
  *f = value;
  return true;
}
