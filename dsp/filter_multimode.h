// State-variable multimode filter, run twice per sample (the second half-step
// without input) so that it stays well behaved up to its highest tuning, with
// a soft saturation y / (1 + 0.28 y^2) on the output. dsp picks one response
// (low, high, band, notch, or low minus high); dsp_morph blends them along a
// single morph position: notch, low, band, high.
#pragma once

#include <cstdint>

#include "dsp/qmx.h"

struct _filter_multimode_struct {
  float cutoff;     // Hz, as last accepted
  float resonance;  // at 10 the damping reaches 0
  double f;         // tuning
  double res;       // 0.1 x resonance
  double damp;      // damping
  double low, high, band, notch;
  int32_t mode;     // 0 low, 1 high, 2 band, 3 notch, 4 low - high
  float morph;      // 0..1
  float w_low, w_high, w_band, w_notch;
  float output;     // latest output
  bool enabled;
};

// Attributes: ATTR_MORPH (20), ATTR_CUTOFF (200), ATTR_RESONANCE (201),
// ATTR_FILTER_TYPE (210), ATTR_FILTER_ENABLE (299).
// Guards: a cutoff that is not a positive finite number, or one set while
// the sampling rate is broken, is ignored; so are a resonance or a morph
// position that is not finite. A morph position outside 0..1 is taken as the
// nearer end. A negative resonance has no damping term of its own (its
// fourth root does not exist) and damps like resonance 0. Resonances above
// 10 give negative damping: the state then grows without bound until the
// output is NaN; clear and a resonance up to 10 bring the filter back.
void filter_multimode_init(_filter_multimode_struct* filter);
void filter_multimode_free(_filter_multimode_struct* filter);
void filter_multimode_clear(_filter_multimode_struct* filter);
void filter_multimode_set_attr(_filter_multimode_struct* filter, int32_t id, float value);
float filter_multimode_get_attr(_filter_multimode_struct* filter, int32_t id);
void filter_multimode_update_sampling_rate(_filter_multimode_struct* filter);
float filter_multimode_get_output(_filter_multimode_struct* filter);

// A tiny offset added to the input and taken off the low-pass state, its
// sign flipping on every call, keeps the recursion out of subnormal numbers
// when the input falls silent. Each dsp operation has one for the whole
// process, whichever instance calls. Like the sampling rate it is a plain,
// unsynchronised word: an atomic would force the filter state through
// memory on every sample (about 3 ns more per sample), and two threads
// flipping it at once only disturb which sign comes next.
inline float& filter_multimode_renormal_dsp() {
  static float renormal{1e-15f};
  return renormal;
}
inline float& filter_multimode_renormal_dsp_morph() {
  static float renormal{1e-15f};
  return renormal;
}

inline float filter_multimode_take_renormal(float& renormal) {
  const float r = renormal;
  renormal = -r;
  return r;
}

// The first half-step is driven by half the input, the second by none.
inline void filter_multimode_first_half_step(_filter_multimode_struct* filter, float xin, float r) {
  filter->notch = static_cast<double>(xin * 0.5f) - filter->damp * filter->band;
  filter->low = filter->low + filter->f * filter->band - static_cast<double>(r);
  filter->high = filter->notch - filter->low;
  filter->band = filter->band + filter->f * filter->high;
}

inline void filter_multimode_second_half_step(_filter_multimode_struct* filter) {
  filter->notch = 0.0 - filter->damp * filter->band;
  filter->low = filter->low + filter->f * filter->band;
  filter->high = filter->notch - filter->low;
  filter->band = filter->band + filter->f * filter->high;
}

inline double filter_multimode_pick(const _filter_multimode_struct* filter) {
  switch (filter->mode) {
    case 0: return filter->low;
    case 1: return filter->high;
    case 2: return filter->band;
    case 3: return filter->notch;
    case 4: return filter->low - filter->high;
    default: return filter->high;
  }
}

inline double filter_multimode_pick_morph(const _filter_multimode_struct* filter) {
  return filter->w_low * filter->low + filter->w_band * filter->band +
         filter->w_high * filter->high + filter->w_notch * filter->notch;
}

inline float filter_multimode_saturate(_filter_multimode_struct* filter, double y) {
  filter->output = static_cast<float>(y / (1.0 + 0.28 * y * y));
  return filter->output;
}

// Returns 0 while disabled, leaving the state and the stored output alone.
inline float filter_multimode_dsp(_filter_multimode_struct* filter, float x) {
  const float r = filter_multimode_take_renormal(filter_multimode_renormal_dsp());
  const float xin = x + r;
  if (!filter->enabled) return 0.0f;
  filter_multimode_first_half_step(filter, xin, r);
  const bool known_mode = filter->mode >= 0 && filter->mode <= 4;
  const double p1 = filter_multimode_pick(filter);
  filter_multimode_second_half_step(filter);
  // An unknown mode takes the high-pass of the first half-step only.
  const double p2 = known_mode ? filter_multimode_pick(filter) : 0.0;
  return filter_multimode_saturate(filter, p1 + p2);
}

// Blends the responses by the morph weights; has no enable switch.
inline float filter_multimode_dsp_morph(_filter_multimode_struct* filter, float x) {
  const float r = filter_multimode_take_renormal(filter_multimode_renormal_dsp_morph());
  const float xin = x + r;
  filter_multimode_first_half_step(filter, xin, r);
  const double p1 = filter_multimode_pick_morph(filter);
  filter_multimode_second_half_step(filter);
  const double p2 = filter_multimode_pick_morph(filter);
  return filter_multimode_saturate(filter, p1 + p2);
}
