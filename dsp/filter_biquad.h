// General second-order section (direct form I) with nine responses from the
// Audio EQ Cookbook: low-pass, high-pass, two band-passes, notch, peaking,
// all-pass, low and high shelf. The bandwidth is given as a Q, in octaves or,
// for the shelves, as a slope; whichever was set last is in force. The six
// coefficients can also be loaded directly.
#pragma once

#include <cstdint>

#include "dsp/qmx.h"

enum {
  kBiquadBandwidthOctaves = 0,
  kBiquadBandwidthQ = 1,
  kBiquadBandwidthSlope = 2,
};

struct _filter_biquad_struct {
  float frequency;   // centre or corner frequency, Hz
  float gain_db;     // peaking and shelving gain
  float bandwidth;   // octaves
  float resonance;   // Q
  float slope;       // shelf slope
  int32_t type;      // 0 low-pass, 1 high-pass, 2 band-pass (peak Q), 3 notch,
                     // 4 peaking, 5 all-pass, 6 band-pass (0 dB), 7 low shelf,
                     // 8 high shelf
  float output;      // latest output
  float amplitude;   // A = 10^(gain_db / 40)
  float omega;       // radians per sample
  float sin_omega;
  float cos_omega;
  float alpha;       // bandwidth term
  float beta;        // shelf term: beta x sin_omega = 2 sqrt(A) alpha
  float den0, den1, den2;
  float num0, num1, num2;
  float inv_den0;
  int32_t bandwidth_mode;  // kBiquadBandwidthOctaves, _Q or _Slope
  float x1, x2, y1, y2;
};

// Attributes ATTR_CUTOFF (200), ATTR_RESONANCE (201, selects Q mode),
// ATTR_FILTER_TYPE (210), ATTR_GAIN_DB (212), ATTR_SHELF_SLOPE (213, selects
// slope mode) and ATTR_BANDWIDTH (214, selects octave mode). A value equal
// to the stored one changes and recomputes nothing; any other id recomputes.
// Guards: values that are not finite numbers, and frequencies of zero or
// less, are ignored. A frequency at or above half the sampling rate is stored
// but tuned as 0.499 of the rate. When the settings give coefficients that
// are not finite (a Q or bandwidth of 0, a slope too steep for the gain, a
// gain so extreme that A is 0 or infinite) or the sampling rate is broken,
// the coefficients stay as they were. A negative Q or bandwidth gives a
// finite but unstable filter whose output grows until it is infinite.
void filter_biquad_init(_filter_biquad_struct* filter);
void filter_biquad_free(_filter_biquad_struct* filter);
void filter_biquad_clear(_filter_biquad_struct* filter);
void filter_biquad_set_attr(_filter_biquad_struct* filter, int32_t id, float value);
float filter_biquad_get_attr(_filter_biquad_struct* filter, int32_t id);  // always 0
// Loads coefficients directly, bypassing the parameters until the next
// recomputing set_attr. A set that is not finite once divided by den0
// (den0 = 0, say) is refused.
void filter_biquad_set_coeffs(_filter_biquad_struct* filter, float den0, float den1, float den2,
                              float num0, float num1, float num2);
// Copies parameters and coefficients, but not the type, the bandwidth mode
// or the signal state.
void filter_biquad_link(_filter_biquad_struct* source, _filter_biquad_struct* destination);
float filter_biquad_get_output(_filter_biquad_struct* filter);

inline float filter_biquad_dsp(_filter_biquad_struct* filter, float x) {
  const float inv = filter->inv_den0;
  float y = (inv * filter->num0) * x;
  y = y + (inv * filter->num1) * filter->x1;
  y = y + (inv * filter->num2) * filter->x2;
  y = y - (inv * filter->den1) * filter->y1;
  y = y - (inv * filter->den2) * filter->y2;
  filter->output = y;
  filter->x2 = filter->x1;
  filter->x1 = x;
  filter->y2 = filter->y1;
  filter->y1 = y;
  return y;
}
