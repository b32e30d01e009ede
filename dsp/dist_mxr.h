// MXR-style clipper: a memoryless waveshaper reading the transfer curve of an
// MXR Distortion+ pedal from a fixed table. The drive scales the input into
// the curve's range, the curve is read with linear interpolation and the level
// scales the result.
#pragma once

#include <array>
#include <cstdint>

#include "dsp/qmx.h"

// T[i] is the curve at the scaled, clipped input (i - 256) / 255; entries
// 1..511 span -1..+1. Entry 0 is never read and entry 512 only with weight 0.
extern const std::array<float, 513> _mxr_distortion_plus_data;

struct _dist_mxr_struct {
  float gain;    // drive 0..1
  float level;   // output multiplier
  float output;  // latest output
};

void dist_mxr_init(_dist_mxr_struct* mxr);
void dist_mxr_free(_dist_mxr_struct* mxr);
void dist_mxr_set_attr(_dist_mxr_struct* mxr, int32_t id, float value);
float dist_mxr_get_attr(_dist_mxr_struct* mxr, int32_t id);
float dist_mxr_get_output(_dist_mxr_struct* mxr);

inline float dist_mxr_dsp(_dist_mxr_struct* mxr, float x) {
  const float s = static_cast<float>(static_cast<double>(x) *
                                     (static_cast<double>(mxr->gain) * 31.415926536 + 1.0));
  // Written so that anything failing both comparisons -- NaN included --
  // lands at the bottom of the curve instead of at an undefined position.
  float p;
  if (s > 1.0f) {
    p = 255.0f;
  } else if (s >= -1.0f) {
    p = s * 255.0f;
  } else {
    p = -255.0f;
  }
  p = p + 256.0f;
  const int32_t i = static_cast<int32_t>(p);  // 1..511
  const float f = p - static_cast<float>(i);
  const float upper = f * _mxr_distortion_plus_data[i + 1];
  const float y = static_cast<float>(
      (static_cast<double>(_mxr_distortion_plus_data[i]) * (1.0 - static_cast<double>(f)) +
       static_cast<double>(upper)) *
      static_cast<double>(mxr->level));
  mxr->output = y;
  return y;
}
