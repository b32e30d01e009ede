// Memoryless clippers and waveshapers beside the MXR-style clipper: a hard
// clipper with adjustable limits and input gain, a parabolic soft clipper and
// a sine folder. Each maps one input sample to one output sample.
#pragma once

#include <cstdint>

#include "dsp/qmx.h"
#include "dsp/qmx_kernels.h"

// ---------------------------------------------------------------------------
// dist_clip: x * gain held between clip_low and clip_high. The limits are used
// as given: with clip_low above clip_high every output is one of the two. A
// NaN product lands on clip_low.
struct _dist_clip_struct {
  float clip_high;  // ATTR_CLIP_HIGH
  float clip_low;   // ATTR_CLIP_LOW
  float gain;       // ATTR_CLIP_GAIN
  float output;
};

void dist_clip_init(_dist_clip_struct* clip);
void dist_clip_free(_dist_clip_struct* clip);
void dist_clip_set_attr(_dist_clip_struct* clip, int32_t id, float value);
float dist_clip_get_attr(_dist_clip_struct* clip, int32_t id);
float dist_clip_get_output(_dist_clip_struct* clip);

inline float dist_clip_dsp(_dist_clip_struct* clip, float x) {
  const float v = x * clip->gain;
  float y;
  if (v > clip->clip_high) {
    y = clip->clip_high;
  } else {
    y = (clip->clip_low < v) ? v : clip->clip_low;
  }
  clip->output = y;
  return y;
}

// ---------------------------------------------------------------------------
// dist_warp_parabola: 2x - x|x| on -1..1 (slope 2 at zero, flat at +-1), held
// at +-1 beyond. NaN passes through.
struct _dist_warp_parabola_struct {
  float output;
};

void dist_warp_parabola_init(_dist_warp_parabola_struct* warp);
void dist_warp_parabola_free(_dist_warp_parabola_struct* warp);
float dist_warp_parabola_get_output(_dist_warp_parabola_struct* warp);

inline float dist_warp_parabola_dsp(_dist_warp_parabola_struct* warp, float x) {
  float y;
  if (x > 1.0f) {
    y = 1.0f;
  } else if (x < -1.0f) {
    y = -1.0f;
  } else if (x > 0.0f) {
    const double d = static_cast<double>(x) - 1.0;
    y = static_cast<float>(1.0 - d * d);
  } else {
    const double d = static_cast<double>(x) + 1.0;
    y = static_cast<float>(d * d - 1.0);
  }
  warp->output = y;
  return y;
}

// ---------------------------------------------------------------------------
// dist_warp_sine: sin(x * 2 pi * frequency). With frequency 1 one full cycle
// spans the inputs -0.5..0.5 and larger inputs fold back. The sine is worked
// out in double precision by qmx_sin_double, then rounded to single.
struct _dist_warp_sine_struct {
  float frequency;  // ATTR_WARP_FREQUENCY
  double omega;     // frequency * 2 pi
  float output;
};

void dist_warp_sine_init(_dist_warp_sine_struct* warp);
void dist_warp_sine_free(_dist_warp_sine_struct* warp);
void dist_warp_sine_set_attr(_dist_warp_sine_struct* warp, int32_t id, float value);
float dist_warp_sine_get_attr(_dist_warp_sine_struct* warp, int32_t id);
float dist_warp_sine_get_output(_dist_warp_sine_struct* warp);

inline float dist_warp_sine_dsp(_dist_warp_sine_struct* warp, float x) {
  const float y = static_cast<float>(qmx_sin_double(static_cast<double>(x) * warp->omega));
  warp->output = y;
  return y;
}
