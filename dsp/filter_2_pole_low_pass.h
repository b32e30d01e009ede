// Two-pole resonant low-pass: a pair of complex poles at angle omega and
// radius exp(-omega / (2Q)), with the input scaled for unity gain at 0 Hz.
// State and coefficients are kept in double precision; the output is rounded
// to single and fed back in that rounded form.
#pragma once

#include <cstdint>

#include "dsp/qmx.h"

struct _filter_2_pole_low_pass_struct {
  float cutoff;       // Hz, as last accepted
  float resonance;    // Q, as last accepted
  double a1;          // previous output
  double a2;          // output two samples back
  double input_gain;  // 1 - a1 + a2, unity gain at 0 Hz
  double k;           // -1 / Q
  double omega;       // radians per sample
  double y1;          // previous output (the rounded one)
  double y2;          // output two samples back
  float output;       // latest output
};

// ATTR_CUTOFF (200) and ATTR_RESONANCE (201). A cutoff that is not a positive
// finite number, or one set while the sampling rate is not, is ignored; so is
// a resonance that is not finite. Every other resonance is accepted: up to
// 0.001 it gives the strongest damping (k = -1000). Cutoffs above half the
// rate alias but stay stable.
void filter_2_pole_low_pass_init(_filter_2_pole_low_pass_struct* filter);
void filter_2_pole_low_pass_free(_filter_2_pole_low_pass_struct* filter);
void filter_2_pole_low_pass_clear(_filter_2_pole_low_pass_struct* filter);
void filter_2_pole_low_pass_set_attr(_filter_2_pole_low_pass_struct* filter, int32_t id, float value);
float filter_2_pole_low_pass_get_attr(_filter_2_pole_low_pass_struct* filter, int32_t id);

inline float filter_2_pole_low_pass_dsp(_filter_2_pole_low_pass_struct* filter, float x) {
  const double y = filter->a1 * filter->y1 - filter->a2 * filter->y2 +
                   static_cast<double>(x) * filter->input_gain;
  const float rounded = static_cast<float>(y);
  filter->output = rounded;
  filter->y2 = filter->y1;
  filter->y1 = rounded;
  return rounded;
}
