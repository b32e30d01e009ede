#include "dsp/filter_multimode.h"

#include <cmath>

#include "dsp/filter_svf_tuning.h"

namespace {

// The smallest of 2, the tuning limit and the resonance term. A term that is
// NaN -- the fourth root of a negative resonance -- is passed over, so it
// never becomes the damping.
void update_damping(_filter_multimode_struct* filter) {
  double damp = 2.0;
  const double by_tuning = 2.0 / filter->f - 0.5 * filter->f;
  if (by_tuning < damp) damp = by_tuning;
  const double by_resonance = 2.0 * (1.0 - std::pow(filter->res, 0.25));
  if (by_resonance < damp) damp = by_resonance;
  filter->damp = damp;
}

void set_morph(_filter_multimode_struct* filter, float m) {
  if (m < 0.0f) m = 0.0f;
  if (m > 1.0f) m = 1.0f;
  filter->morph = m;
  filter->w_low = 0.0f;
  filter->w_high = 0.0f;
  filter->w_band = 0.0f;
  filter->w_notch = 0.0f;
  if (m < 1.0f / 3.0f) {
    filter->w_notch = 1.0f - 3.0f * m;
    filter->w_low = 3.0f * m;
  } else if (m < 2.0f / 3.0f) {
    filter->w_low = 2.0f - 3.0f * m;
    filter->w_band = 3.0f * m - 1.0f;
  } else {
    filter->w_band = 3.0f - 3.0f * m;
    filter->w_high = 3.0f * m - 2.0f;
  }
}

}  // namespace

void filter_multimode_init(_filter_multimode_struct* filter) {
  // From an all-zero record, so that a cutoff refused for a broken sampling
  // rate leaves f = 0: the filter then passes nothing through its low and
  // band outputs.
  *filter = _filter_multimode_struct{};
  filter->enabled = true;
  filter->mode = 0;
  set_morph(filter, 0.0f);
  filter_multimode_set_attr(filter, ATTR_RESONANCE, 0.0f);
  filter_multimode_set_attr(filter, ATTR_CUTOFF, 1000.0f);
}

void filter_multimode_free(_filter_multimode_struct*) {}

void filter_multimode_clear(_filter_multimode_struct* filter) {
  filter->output = 0.0f;
  filter->low = 0.0;
  filter->high = 0.0;
  filter->band = 0.0;
  filter->notch = 0.0;
}

void filter_multimode_set_attr(_filter_multimode_struct* filter, int32_t id, float value) {
  switch (id) {
    case ATTR_MORPH:
      if (std::isfinite(value)) set_morph(filter, value);
      return;  // nothing else depends on it
    case ATTR_FILTER_TYPE:
      filter->mode = qmx_truncate_to_int(value);
      return;
    case ATTR_CUTOFF:
      if (!filter_svf_tuning(value, &filter->f)) return;
      filter->cutoff = value;
      break;
    case ATTR_RESONANCE:
      if (!std::isfinite(value)) return;
      filter->resonance = value;
      filter->res = static_cast<double>(value) * 0.1;
      break;
    case ATTR_FILTER_ENABLE:
      filter->enabled = value > 0.0f;
      break;
    default:
      break;
  }
  update_damping(filter);
}

float filter_multimode_get_attr(_filter_multimode_struct* filter, int32_t id) {
  if (id == ATTR_CUTOFF) return filter->cutoff;
  if (id == ATTR_RESONANCE) return filter->resonance;
  if (id == ATTR_FILTER_TYPE) return static_cast<float>(filter->mode);
  return 0.0f;
}

void filter_multimode_update_sampling_rate(_filter_multimode_struct* filter) {
  filter_multimode_set_attr(filter, ATTR_CUTOFF, filter->cutoff);
}

float filter_multimode_get_output(_filter_multimode_struct* filter) { return filter->output; }
