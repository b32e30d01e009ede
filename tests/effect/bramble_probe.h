// Opens up the effect's processing state to its unit tests.
#pragma once

#include <vector>

#include "dsp/qmx.h"
#include "effect/bramble.h"

class BrambleProbe : public bramble {
 public:
  BrambleProbe() : bramble(nullptr) {}
  float dry() const { return dryGain.load(); }
  float wet() const { return wetGain.load(); }
  int32_t selector() const { return inputSelector.load(); }
  int32_t powerValue() const { return power.load(); }
  bool pending() const { return delayTimePending.load(); }
  float delayMs() const { return delayTime.load(); }
  const _delay_fad_struct& left() const { return leftDelay; }
  const _delay_fad_struct& right() const { return rightDelay; }
  const _filter_butterworth_2P_struct& lowPass() const { return leftLowPass; }
  const _filter_butterworth_2P_struct& highPass() const { return rightHighPass; }
  float programValue(int program, int index) const { return programs[program].values[index]; }

  void processSilence(int frames) {
    std::vector<float> in0(frames), in1(frames), out0(frames), out1(frames);
    float* ins[2] = {in0.data(), in1.data()};
    float* outs[2] = {out0.data(), out1.data()};
    processReplacing(ins, outs, frames);
  }
};

// The library's rate is process-wide: every test leaves it as it found it.
struct RateGuard {
  ~RateGuard() { qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f); }
};
