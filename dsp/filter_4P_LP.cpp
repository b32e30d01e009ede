#include "dsp/filter_4P_LP.h"

#include <cmath>

namespace {

void update_feedback(_filter_4P_LP_struct* filter) {
  filter->fb = filter->res * (1.0 - 0.15 * filter->f * filter->f);
}

// fc is the cutoff over half the rate. Past 1 the one-pole stages stop
// being stable (at about 1.7 even without resonance, much earlier with it),
// so a cutoff beyond half the rate is tuned exactly as half the rate is.
bool tune(_filter_4P_LP_struct* filter, float cutoff) {
  const float period = gAudioSamplingRateReciprocal;
  if (!(cutoff > 0.0f) || !std::isfinite(cutoff)) return false;
  if (!(period > 0.0f) || !std::isfinite(period)) return false;
  float tuned = cutoff;
  const float half_rate = 0.5f * gAudioSamplingRate;
  if (half_rate > 0.0f && tuned > half_rate) tuned = half_rate;
  const double fc = 2.0 * static_cast<double>(tuned) * static_cast<double>(period);
  filter->cutoff = cutoff;
  filter->fc = fc;
  filter->f = fc * 1.16;
  update_feedback(filter);
  filter->one_minus_f = 1.0 - filter->f;
  filter->f4 = (filter->f * filter->f) * (filter->f * filter->f);
  return true;
}

void zero_stages(_filter_4P_LP_struct* filter) {
  filter->in1 = filter->in2 = filter->in3 = filter->in4 = 0.0;
  filter->out1 = filter->out2 = filter->out3 = filter->out4 = 0.0;
  filter->output = 0.0f;
}

}  // namespace

void filter_4P_LP_init(_filter_4P_LP_struct* filter) {
  // From an all-zero record: resonance 0 is then already in place (res 0),
  // and a cutoff refused for a broken sampling rate leaves f4 = 0, a filter
  // that outputs silence.
  *filter = _filter_4P_LP_struct{};
  tune(filter, 20.0f);
}

void filter_4P_LP_free(_filter_4P_LP_struct*) {}

void filter_4P_LP_clear(_filter_4P_LP_struct* filter) { zero_stages(filter); }

void filter_4P_LP_set_attr(_filter_4P_LP_struct* filter, int32_t id, float value) {
  if (id == ATTR_CUTOFF) {
    if (value == filter->cutoff) return;
    tune(filter, value);
  } else if (id == ATTR_RESONANCE) {
    if (value == filter->resonance || !std::isfinite(value)) return;
    filter->resonance = value;
    filter->res = static_cast<double>(value) * 0.1 * 4.0;
    update_feedback(filter);
  }
}

float filter_4P_LP_get_attr(_filter_4P_LP_struct* filter, int32_t id) {
  if (id == ATTR_CUTOFF) return filter->cutoff;
  if (id == ATTR_RESONANCE) return filter->resonance;
  return 0.0f;
}

void filter_4P_LP_link(_filter_4P_LP_struct* source, _filter_4P_LP_struct* destination) {
  destination->cutoff = source->cutoff;
  destination->resonance = source->resonance;
  destination->fc = source->fc;
  destination->res = source->res;
  destination->fb = source->fb;
  destination->f = source->f;
  destination->one_minus_f = source->one_minus_f;
  destination->f4 = source->f4;
}
