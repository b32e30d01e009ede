// Second-order Butterworth low- and high-pass filters (12 dB per octave,
// maximally flat), direct form I, with coefficients from the bilinear
// transform with frequency prewarping. Both share one record and one
// per-sample recursion; only the coefficient formulas differ.
#pragma once

#include <bit>
#include <cstdint>

#include "dsp/qmx.h"

struct _filter_butterworth_2P_struct {
  float cutoff;  // Hz, as last accepted
  float a0;      // current input
  float a1;      // previous input
  float a2;      // input two samples back
  float b1;      // previous output
  float b2;      // output two samples back
  float x1;      // previous input
  float x2;      // input two samples back
  float y1;      // between calls: the output before the latest one
  float y2;      // between calls: the output two before the latest one
  float output;  // latest output
};

// set_attr takes every call as a cutoff, whatever the id. A cutoff that is not
// a positive finite number is ignored; one at or above half the sampling rate
// is moved just below it (0.499 of the rate); a cutoff whose coefficients
// would not be finite leaves the filter as it was.
void filter_butterworth_2P_LP_init(_filter_butterworth_2P_struct* filter);
void filter_butterworth_2P_LP_free(_filter_butterworth_2P_struct* filter);
void filter_butterworth_2P_LP_clear(_filter_butterworth_2P_struct* filter);
void filter_butterworth_2P_LP_set_attr(_filter_butterworth_2P_struct* filter, int32_t id, float value);
float filter_butterworth_2P_LP_get_output(_filter_butterworth_2P_struct* filter);

void filter_butterworth_2P_HP_init(_filter_butterworth_2P_struct* filter);
void filter_butterworth_2P_HP_free(_filter_butterworth_2P_struct* filter);
void filter_butterworth_2P_HP_clear(_filter_butterworth_2P_struct* filter);
void filter_butterworth_2P_HP_set_attr(_filter_butterworth_2P_struct* filter, int32_t id, float value);
float filter_butterworth_2P_HP_get_output(_filter_butterworth_2P_struct* filter);

// The shared recursion. A result with an all-zero exponent (zero or
// subnormal) becomes +0, so a tail falling silent ends in true zeros instead
// of crawling through slow subnormal arithmetic.
inline float filter_butterworth_2P_dsp(_filter_butterworth_2P_struct* filter, float x) {
  filter->y2 = filter->y1;
  filter->y1 = filter->output;
  float y = filter->a2 * filter->x2 + filter->a1 * filter->x1;
  y = y + filter->a0 * x;
  y = y - filter->b2 * filter->y2;
  y = y - filter->b1 * filter->y1;
  if ((std::bit_cast<uint32_t>(y) & 0x7F800000u) == 0) y = 0.0f;
  filter->output = y;
  filter->x2 = filter->x1;
  filter->x1 = x;
  return y;
}

inline float filter_butterworth_2P_LP_dsp(_filter_butterworth_2P_struct* filter, float x) {
  return filter_butterworth_2P_dsp(filter, x);
}

inline float filter_butterworth_2P_HP_dsp(_filter_butterworth_2P_struct* filter, float x) {
  return filter_butterworth_2P_dsp(filter, x);
}
