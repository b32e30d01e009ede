#include "dsp/filter_chamberlin_multimode.h"

#include <cmath>

#include "dsp/filter_svf_tuning.h"

void filter_chamberlin_multimode_init(_filter_chamberlin_multimode_struct* filter) {
  // From an all-zero record, so that a cutoff refused for a broken sampling
  // rate leaves f = 0: the integrators then never move and the low, band and
  // notch outputs stay silent.
  *filter = _filter_chamberlin_multimode_struct{};
  filter_chamberlin_multimode_set_attr(filter, ATTR_CUTOFF, 1000.0f);
  filter_chamberlin_multimode_set_attr(filter, ATTR_RESONANCE, 0.0f);
  filter->mode = 0;
}

void filter_chamberlin_multimode_free(_filter_chamberlin_multimode_struct*) {}

void filter_chamberlin_multimode_set_attr(_filter_chamberlin_multimode_struct* filter, int32_t id,
                                          float value) {
  if (id == ATTR_CUTOFF) {
    if (filter_svf_tuning(value, &filter->f)) filter->cutoff = value;
  } else if (id == ATTR_RESONANCE) {
    const double q = 1.0 / (static_cast<double>(value) + 0.5);
    if (!std::isfinite(value) || !std::isfinite(q)) return;  // -0.5: infinite damping
    filter->resonance = value;
    filter->q = q;
  } else if (id == ATTR_FILTER_TYPE) {
    filter->mode = qmx_truncate_to_int(value);
  }
}

float filter_chamberlin_multimode_get_attr(_filter_chamberlin_multimode_struct* filter, int32_t id) {
  if (id == ATTR_CUTOFF) return filter->cutoff;
  if (id == ATTR_RESONANCE) return filter->resonance;
  if (id == ATTR_FILTER_TYPE) return static_cast<float>(filter->mode);
  return 0.0f;
}

float filter_chamberlin_multimode_get_output(_filter_chamberlin_multimode_struct* filter) {
  return filter->output;
}
