// The audio path: block start, bypass, and the choice between the steady-state
// stereo loop and the plain per-module loop.
#include <atomic>
#include <cstring>

#include "effect/bramble.h"

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
    // Bypass copies bits, NaN included, and leaves every module untouched.
    const size_t bytes = static_cast<size_t>(sampleFrames) * sizeof(float);
    if (out0 != in0) std::memmove(out0, in0, bytes);
    if (out1 != in1) std::memmove(out1, in1, bytes);
    return;
  }

  // Settings only change between blocks on the audio thread; one read per block.
  ChainSettings settings;
  settings.mic = inputSelector.load(std::memory_order_relaxed) == 0;
  settings.micLevel = micLevel.load(std::memory_order_relaxed);
  settings.repeat = repeat.load(std::memory_order_relaxed);
  settings.dryGain = dryGain.load(std::memory_order_relaxed);
  settings.wetGain = wetGain.load(std::memory_order_relaxed);
  if (!processSteady(settings, in0, in1, out0, out1, sampleFrames))
    processPlain(settings, in0, in1, out0, out1, sampleFrames);
}
