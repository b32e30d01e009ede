#include "dsp/filter_butterworth.h"

#include <cmath>

namespace {

constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kPi = 3.141592653589793;

struct Coefficients {
  float a0, a1, a2, b1, b2;
};

// The prewarped cutoff in radians per sample. False when no usable filter
// follows: the cutoff is not a positive finite number, or the sampling rate
// itself is broken. A cutoff at or above half the rate, where the tangent
// runs off to infinity, is moved just below it.
bool prewarp(float& cutoff, float& w) {
  const float period = gAudioSamplingRateReciprocal;
  if (!(cutoff > 0.0f) || !std::isfinite(cutoff)) return false;
  if (!(period > 0.0f) || !std::isfinite(period)) return false;
  // Either way of measuring half the rate counts: the rounded reciprocal
  // can put a cutoff of exactly rate / 2 a hair below it.
  if (static_cast<double>(cutoff) * static_cast<double>(period) >= 0.5 ||
      static_cast<double>(cutoff) >= 0.5 * static_cast<double>(gAudioSamplingRate)) {
    cutoff = static_cast<float>(0.499 / static_cast<double>(period));
  }
  w = static_cast<float>(static_cast<double>(cutoff) * kPi * static_cast<double>(period));
  return true;
}

float common_a0(float k, float k2) {
  return static_cast<float>(1.0 / (kSqrt2 * static_cast<double>(k) + 1.0 + static_cast<double>(k2)));
}

float common_b2(float a0, float k, float k2) {
  return static_cast<float>(static_cast<double>(a0) *
                            (1.0 - kSqrt2 * static_cast<double>(k) + static_cast<double>(k2)));
}

bool all_finite(const Coefficients& c) {
  return std::isfinite(c.a0) && std::isfinite(c.a1) && std::isfinite(c.a2) &&
         std::isfinite(c.b1) && std::isfinite(c.b2);
}

// Extreme but valid cutoffs (a few attohertz) overflow K in single
// precision; the filter then keeps its previous setting rather than turning
// every later sample into NaN.
void commit(_filter_butterworth_2P_struct* filter, float cutoff, const Coefficients& c) {
  if (!all_finite(c)) return;
  filter->cutoff = cutoff;
  filter->a0 = c.a0;
  filter->a1 = c.a1;
  filter->a2 = c.a2;
  filter->b1 = c.b1;
  filter->b2 = c.b2;
}

void reset_history(_filter_butterworth_2P_struct* filter) {
  filter->x1 = 0.0f;
  filter->x2 = 0.0f;
  filter->y1 = 0.0f;
  filter->y2 = 0.0f;
  filter->output = 0.0f;
}

// Starts from a silent, all-zero record so that a cutoff refused at init
// (broken sampling rate) leaves a filter that outputs silence.
void reset_all(_filter_butterworth_2P_struct* filter) {
  *filter = _filter_butterworth_2P_struct{};
}

}  // namespace

void filter_butterworth_2P_LP_init(_filter_butterworth_2P_struct* filter) {
  reset_all(filter);
  filter_butterworth_2P_LP_set_attr(filter, ATTR_CUTOFF, 1000.0f);
}

void filter_butterworth_2P_LP_free(_filter_butterworth_2P_struct*) {}

void filter_butterworth_2P_LP_clear(_filter_butterworth_2P_struct* filter) { reset_history(filter); }

void filter_butterworth_2P_LP_set_attr(_filter_butterworth_2P_struct* filter, int32_t, float value) {
  float cutoff = value;
  float w = 0.0f;
  if (!prewarp(cutoff, w)) return;
  const float k = static_cast<float>(1.0 / std::tan(static_cast<double>(w)));
  const float k2 = k * k;
  Coefficients c;
  c.a0 = common_a0(k, k2);
  c.a1 = c.a0 + c.a0;
  c.a2 = c.a0;
  c.b1 = c.a1 * (1.0f - k2);
  c.b2 = common_b2(c.a0, k, k2);
  commit(filter, cutoff, c);
}

float filter_butterworth_2P_LP_get_output(_filter_butterworth_2P_struct* filter) {
  return filter->output;
}

void filter_butterworth_2P_HP_init(_filter_butterworth_2P_struct* filter) {
  reset_all(filter);
  filter_butterworth_2P_HP_set_attr(filter, ATTR_CUTOFF, 1000.0f);
}

void filter_butterworth_2P_HP_free(_filter_butterworth_2P_struct*) {}

void filter_butterworth_2P_HP_clear(_filter_butterworth_2P_struct* filter) { reset_history(filter); }

void filter_butterworth_2P_HP_set_attr(_filter_butterworth_2P_struct* filter, int32_t, float value) {
  float cutoff = value;
  float w = 0.0f;
  if (!prewarp(cutoff, w)) return;
  const float k = std::tan(w);  // single-precision tangent
  const float k2 = k * k;
  Coefficients c;
  c.a0 = common_a0(k, k2);
  c.a1 = -2.0f * c.a0;
  c.a2 = c.a0;
  c.b1 = (c.a0 + c.a0) * (k2 - 1.0f);
  c.b2 = common_b2(c.a0, k, k2);
  commit(filter, cutoff, c);
}

float filter_butterworth_2P_HP_get_output(_filter_butterworth_2P_struct* filter) {
  return filter->output;
}
