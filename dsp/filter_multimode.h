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

// One sample's two half-steps, the first driven by half the input, the
// second by none. Everything is worked out in locals and stored once, and
// the responses are picked from the locals afterwards.
//
// The recursion from one band value to the next is the whole cost of this
// filter: through f * band, the low-pass sum, the renormal offset, the
// high-pass difference, f * high and the band sum it takes 14 cycles of
// double-precision latency in the first half-step and 12 in the second (on
// a core where a sum takes 2 cycles and a product 3), and the order of those
// operations is fixed by the output they must give, bit for bit. So the code keeps everything else
// out of its way. The low line comes before the notch line, so that f * band
// -- on the longest path -- is the older of the two products that wait for a
// new band value, and the processor, which issues the oldest ready operation
// first, never makes it wait behind damp * band. For the same reason the
// picks come after both half-steps: the products of the morph blend would
// otherwise be older than the second half-step and delay it.
struct filter_multimode_steps {
  double low1, high1, band1, notch1;  // after the first half-step
  double low2, high2, band2, notch2;  // after the second
};

inline filter_multimode_steps filter_multimode_half_steps(_filter_multimode_struct* filter,
                                                          float xin, float r) {
  const double f = filter->f;
  const double damp = filter->damp;
  const double band = filter->band;
  filter_multimode_steps s;
  s.low1 = filter->low + f * band - static_cast<double>(r);
  s.notch1 = static_cast<double>(xin * 0.5f) - damp * band;
  s.high1 = s.notch1 - s.low1;
  s.band1 = band + f * s.high1;
  s.low2 = s.low1 + f * s.band1;
  s.notch2 = 0.0 - damp * s.band1;
  s.high2 = s.notch2 - s.low2;
  s.band2 = s.band1 + f * s.high2;
  filter->low = s.low2;
  filter->high = s.high2;
  filter->band = s.band2;
  filter->notch = s.notch2;
  return s;
}

inline double filter_multimode_blend(const _filter_multimode_struct* filter, double low,
                                     double band, double high, double notch) {
  return filter->w_low * low + filter->w_band * band + filter->w_high * high +
         filter->w_notch * notch;
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
  const filter_multimode_steps s = filter_multimode_half_steps(filter, xin, r);
  double y;
  switch (filter->mode) {
    case 0: y = s.low1 + s.low2; break;
    case 1: y = s.high1 + s.high2; break;
    case 2: y = s.band1 + s.band2; break;
    case 3: y = s.notch1 + s.notch2; break;
    case 4: y = (s.low1 - s.high1) + (s.low2 - s.high2); break;
    // An unknown mode takes the high-pass of the first half-step only; the
    // 0 in place of the second pick turns a -0 into +0.
    default: y = s.high1 + 0.0; break;
  }
  return filter_multimode_saturate(filter, y);
}

// Blends the responses by the morph weights; has no enable switch.
inline float filter_multimode_dsp_morph(_filter_multimode_struct* filter, float x) {
  const float r = filter_multimode_take_renormal(filter_multimode_renormal_dsp_morph());
  const float xin = x + r;
  const filter_multimode_steps s = filter_multimode_half_steps(filter, xin, r);
  const double p1 = filter_multimode_blend(filter, s.low1, s.band1, s.high1, s.notch1);
  const double p2 = filter_multimode_blend(filter, s.low2, s.band2, s.high2, s.notch2);
  return filter_multimode_saturate(filter, p1 + p2);
}
