// The audio path: input stage, one echo loop per channel, dry/wet mix, bypass.
#include <atomic>
#include <cstring>

#include "effect/bramble.h"

namespace {

// Soft saturation before the hard limit, so sums beyond +-1 fold back.
// A NaN (from a non-finite input or setting) must not poison the loop for
// good, so it enters the delay line as silence.
inline float saturate(float x) {
  float s = (x * 0.5f) * (3.0f - x * x);
  s = s > 1.0f ? 1.0f : (s < -1.0f ? -1.0f : s);
  return s == s ? s : 0.0f;
}

inline float micStage(_dist_mxr_struct* clipper, float m, float x) {
  return m * dist_mxr_dsp(clipper, x) + (1.0f - m) * x;
}

}  // namespace

void bramble::handOverDelayTime() {
  const float ms = delayTime.load(std::memory_order_relaxed);
  delay_fad_set_attr(&leftDelay, ATTR_DELAY_MS, ms);
  delay_fad_set_attr(&rightDelay, ATTR_DELAY_MS, ms + kRightChannelOffsetMs);
}

void bramble::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (delayTimePending.exchange(false, std::memory_order_acq_rel)) handOverDelayTime();
  if (sampleFrames <= 0 || !inputs || !outputs) return;
  float* in0 = inputs[0];
  float* in1 = inputs[1];
  float* out0 = outputs[0];
  float* out1 = outputs[1];
  if (!in0 || !in1 || !out0 || !out1) return;

  if (power.load(std::memory_order_relaxed) == 0) {
    const size_t bytes = static_cast<size_t>(sampleFrames) * sizeof(float);
    if (out0 != in0) std::memmove(out0, in0, bytes);
    if (out1 != in1) std::memmove(out1, in1, bytes);
    return;
  }
  processOn(in0, in1, out0, out1, sampleFrames);
}

void bramble::processOn(float* in0, float* in1, float* out0, float* out1, VstInt32 frames) {
  // Settings only change between blocks on the audio thread; one read per block.
  const bool mic = inputSelector.load(std::memory_order_relaxed) == 0;
  const float m = micLevel.load(std::memory_order_relaxed);
  const float rep = repeat.load(std::memory_order_relaxed);
  const float dry = dryGain.load(std::memory_order_relaxed);
  const float wet = wetGain.load(std::memory_order_relaxed);
  float fbL = leftFeedback;
  float fbR = rightFeedback;

  for (VstInt32 i = 0; i < frames; ++i) {
    float a = in0[i] * 0.8f;
    float b = in1[i] * 0.8f;
    if (mic) {
      a = micStage(&clipper, m, a);
      b = micStage(&clipper, m, b);
    }
    const float sL = saturate(fbL * rep + a);
    const float sR = saturate(fbR * rep + b);
    const float yL = filter_butterworth_2P_LP_dsp(
        &leftLowPass, filter_butterworth_2P_HP_dsp(&leftHighPass, delay_fad_dsp(&leftDelay, sL)));
    const float yR = filter_butterworth_2P_LP_dsp(
        &rightLowPass, filter_butterworth_2P_HP_dsp(&rightHighPass, delay_fad_dsp(&rightDelay, sR)));
    fbL = yL;
    fbR = yR;
    out0[i] = yL * wet + a * dry;
    out1[i] = yR * wet + b * dry;
  }
  leftFeedback = fbL;
  rightFeedback = fbR;
}
