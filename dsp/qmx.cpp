#include "dsp/qmx.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Every module starts out at 44100 Hz until the host tells us otherwise; the
// derived values are worked out in single precision, like a later rate change.
float gAudioSamplingRate = 44100.0f;
float gAudioSamplingRateReciprocal = 1.0f / 44100.0f;
float gSamplesPerMillisecond = 44100.0f * 0.001f;
float gMillisecondsPerSample = 1000.0f / 44100.0f;

void qmx_set_attr(int32_t id, float value) {
  if (id != ATTR_SAMPLING_RATE) return;
  // The rate is taken as given; a zero or negative rate yields infinities or
  // negative lengths here, which each module's own limits must absorb.
  gAudioSamplingRate = value;
  gAudioSamplingRateReciprocal = 1.0f / value;
  gSamplesPerMillisecond = value * 0.001f;
  gMillisecondsPerSample = 1000.0f / value;
}

float qmx_get_attr(int32_t id) {
  return id == ATTR_SAMPLING_RATE ? gAudioSamplingRate : 0.0f;
}

void* qmx_memcpy(void* destination, const void* source, size_t length) {
  if (length == 0 || destination == nullptr || source == nullptr) return destination;
  return std::memcpy(destination, source, length);
}

float qmx_fast_abs(float x) { return std::fabs(x); }

float qmx_utilities_amplitude2decibels(float a) {
  // Negative amplitudes and NaN have no level; silence is minus infinity.
  if (!(a >= 0.0f)) return 0.0f;
  return static_cast<float>(20.0 * std::log10(static_cast<double>(a)));
}

float qmx_utilities_decibels2amplitude(float d) {
  const float exponent = 0.05f * d;
  return static_cast<float>(std::pow(10.0, static_cast<double>(exponent)));
}

void float2OnOff(float value, char* text) {
  if (text == nullptr) return;
  std::strcpy(text, value == 0.0f ? "Off" : "On");
}

int32_t qmx_truncate_to_int(float x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483648.0f) return INT32_MAX;
  if (x <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(x);
}

void float2percent(float value, char* text) {
  if (text == nullptr) return;
  const float percent = 100.0f * value;
  std::snprintf(text, 12, "%d", static_cast<int>(qmx_truncate_to_int(percent)));
}
