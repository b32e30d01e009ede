// The echo loops sample by sample through the modules' own dsp functions. It
// serves every state the steady-state loop does not cover (the first block
// after construction, a record head still wrapping into a fresh buffer).
#include "effect/bramble.h"
#include "effect/chain_math.h"

void bramble::processPlain(const ChainSettings& s, const float* in0, const float* in1, float* out0,
                           float* out1, VstInt32 frames) {
  float fbL = leftFeedback;
  float fbR = rightFeedback;
  for (VstInt32 i = 0; i < frames; ++i) {
    float a = in0[i] * 0.8f;
    float b = in1[i] * 0.8f;
    if (s.mic) {
      a = s.micLevel * dist_mxr_dsp(&clipper, a) + (1.0f - s.micLevel) * a;
      b = s.micLevel * dist_mxr_dsp(&clipper, b) + (1.0f - s.micLevel) * b;
    }
    const float sL = saturate(fbL * s.repeat + a);
    const float sR = saturate(fbR * s.repeat + b);
    const float yL = filter_butterworth_2P_LP_dsp(
        &leftLowPass, filter_butterworth_2P_HP_dsp(&leftHighPass, delay_fad_dsp(&leftDelay, sL)));
    const float yR = filter_butterworth_2P_LP_dsp(
        &rightLowPass, filter_butterworth_2P_HP_dsp(&rightHighPass, delay_fad_dsp(&rightDelay, sR)));
    fbL = yL;
    fbR = yR;
    out0[i] = yL * s.wetGain + a * s.dryGain;
    out1[i] = yR * s.wetGain + b * s.dryGain;
  }
  leftFeedback = fbL;
  rightFeedback = fbR;
}
