// Chamberlin state-variable filter: one low-pass and one band-pass
// integrator per sample, giving low-, high-, band-pass and notch outputs at
// once; the mode picks which one comes out. Double precision throughout.
#pragma once

#include <cstdint>

#include "dsp/qmx.h"

struct _filter_chamberlin_multimode_struct {
  float cutoff;     // Hz, as last accepted
  float resonance;  // 0 and up
  double f;         // tuning
  double q;         // damping, 1 / (resonance + 0.5)
  double low, high, band, notch;  // this sample's four outputs
  double band_state;
  double low_state;
  int32_t mode;     // 0 low, 1 high, 2 band, 3 notch
  float output;     // latest output
};

// ATTR_CUTOFF (200), ATTR_RESONANCE (201), ATTR_FILTER_TYPE (210).
// A cutoff that is not a positive finite number, or one set while the
// sampling rate is broken, is ignored; so is a resonance that is not finite
// or whose damping would not be (exactly -0.5). Resonances below about -0.37
// (the limit moves towards -0.5 at low cutoffs) give a damping too strong
// for the recursion, which then grows without bound until the output is
// NaN. The filter has no clear operation: init starts it afresh.
void filter_chamberlin_multimode_init(_filter_chamberlin_multimode_struct* filter);
void filter_chamberlin_multimode_free(_filter_chamberlin_multimode_struct* filter);
void filter_chamberlin_multimode_set_attr(_filter_chamberlin_multimode_struct* filter, int32_t id,
                                          float value);
float filter_chamberlin_multimode_get_attr(_filter_chamberlin_multimode_struct* filter, int32_t id);
float filter_chamberlin_multimode_get_output(_filter_chamberlin_multimode_struct* filter);

// An unknown mode outputs 0 and leaves the stored output as it was; the
// state runs on either way.
inline float filter_chamberlin_multimode_dsp(_filter_chamberlin_multimode_struct* filter, float x) {
  filter->low = filter->f * filter->band_state + filter->low_state;
  filter->high = static_cast<double>(x) - filter->low - filter->q * filter->band_state;
  filter->band = filter->f * filter->high + filter->band_state;
  filter->notch = filter->high + filter->low;
  filter->low_state = filter->low;
  filter->band_state = filter->band;
  double y;
  switch (filter->mode) {
    case 0: y = filter->low; break;
    case 1: y = filter->high; break;
    case 2: y = filter->band; break;
    case 3: y = filter->notch; break;
    default: return 0.0f;
  }
  filter->output = static_cast<float>(y);
  return filter->output;
}
