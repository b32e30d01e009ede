// Four-pole ladder-style low-pass: four one-pole stages in series, each
// mixing 0.3 of its previous input into the new one, with the last stage fed
// back negatively for resonance. The input scaling 0.35013 f^4 cancels the
// stages' gain at 0 Hz. Everything runs in double precision.
#pragma once

#include <cstdint>

#include "dsp/qmx.h"

struct _filter_4P_LP_struct {
  float cutoff;        // Hz, as last accepted
  float resonance;     // 0 and up, as last accepted
  double fc;           // cutoff as a fraction of half the sampling rate
  double res;          // 0.4 x resonance
  double in1, in2, in3, in4;      // previous input of each stage
  double out1, out2, out3, out4;  // previous output of each stage
  double f;            // stage coefficient, 1.16 fc
  double fb;           // feedback
  double one_minus_f;  // pole of each stage
  double f4;           // f to the fourth
  float output;        // latest output
};

// ATTR_CUTOFF (200) and ATTR_RESONANCE (201); a value equal to the stored one
// recomputes nothing. A cutoff that is not a positive finite number, or one
// set while the sampling rate is broken, is ignored; a cutoff above half the
// sampling rate is stored but tuned as half the rate (beyond it the stages
// turn unstable). A resonance that is not finite is ignored. Resonances
// above about 10 (self-oscillation) or below about -2.4 (positive feedback)
// grow without bound until the output is infinite and then NaN; clear and a
// resonance in range bring the filter back.
void filter_4P_LP_init(_filter_4P_LP_struct* filter);
void filter_4P_LP_free(_filter_4P_LP_struct* filter);
void filter_4P_LP_clear(_filter_4P_LP_struct* filter);
void filter_4P_LP_set_attr(_filter_4P_LP_struct* filter, int32_t id, float value);
float filter_4P_LP_get_attr(_filter_4P_LP_struct* filter, int32_t id);
// Copies the settings (not the stage values) so two channels sound alike.
void filter_4P_LP_link(_filter_4P_LP_struct* source, _filter_4P_LP_struct* destination);

inline float filter_4P_LP_dsp(_filter_4P_LP_struct* filter, float x) {
  const double u = (static_cast<double>(x) - filter->out4 * filter->fb) * (0.35013 * filter->f4);
  filter->out1 = u + 0.3 * filter->in1 + filter->one_minus_f * filter->out1;
  filter->in1 = u;
  filter->out2 = filter->out1 + 0.3 * filter->in2 + filter->one_minus_f * filter->out2;
  filter->in2 = filter->out1;
  filter->out3 = filter->out2 + 0.3 * filter->in3 + filter->one_minus_f * filter->out3;
  filter->in3 = filter->out2;
  filter->out4 = filter->out3 + 0.3 * filter->in4 + filter->one_minus_f * filter->out4;
  filter->in4 = filter->out3;
  filter->output = static_cast<float>(filter->out4);
  return filter->output;
}
