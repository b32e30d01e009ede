#include "dsp/filter_2_pole_low_pass.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

bool usable_rate(float rate) { return rate > 0.0f && std::isfinite(rate); }

void recompute(_filter_2_pole_low_pass_struct* filter) {
  filter->a1 = 2.0 * std::cos(filter->omega) * std::exp(0.5 * filter->omega * filter->k);
  filter->a2 = std::exp(filter->omega * filter->k);
  filter->input_gain = 1.0 - filter->a1 + filter->a2;
}

}  // namespace

void filter_2_pole_low_pass_init(_filter_2_pole_low_pass_struct* filter) {
  // All-zero coefficients until the defaults arrive; if the sampling rate is
  // broken the cutoff is refused and omega stays 0, which leaves a1 = 2,
  // a2 = 1 and an input gain of 0: a filter that stays silent.
  *filter = _filter_2_pole_low_pass_struct{};
  filter_2_pole_low_pass_set_attr(filter, ATTR_CUTOFF, 1000.0f);
  filter_2_pole_low_pass_set_attr(filter, ATTR_RESONANCE, 1.0f);
}

void filter_2_pole_low_pass_free(_filter_2_pole_low_pass_struct*) {}

void filter_2_pole_low_pass_clear(_filter_2_pole_low_pass_struct* filter) {
  filter->y1 = 0.0;
  filter->y2 = 0.0;
  filter->output = 0.0f;
}

void filter_2_pole_low_pass_set_attr(_filter_2_pole_low_pass_struct* filter, int32_t id, float value) {
  if (id == ATTR_CUTOFF) {
    // A cutoff of zero or below puts the poles on or outside the unit
    // circle, and NaN or infinity would poison every later sample.
    if (!(value > 0.0f) || !std::isfinite(value) || !usable_rate(gAudioSamplingRate)) return;
    filter->cutoff = value;
    filter->omega = kTwoPi * static_cast<double>(value) / static_cast<double>(gAudioSamplingRate);
  } else if (id == ATTR_RESONANCE) {
    if (!std::isfinite(value)) return;
    filter->resonance = value;
    filter->k = value > 0.001f ? -1.0 / static_cast<double>(value) : -1000.0;
  }
  recompute(filter);
}

float filter_2_pole_low_pass_get_attr(_filter_2_pole_low_pass_struct* filter, int32_t id) {
  if (id == ATTR_CUTOFF) return filter->cutoff;
  if (id == ATTR_RESONANCE) return filter->resonance;
  return 0.0f;
}
