// The library's sampling rate is process-wide: tests that change it put all
// four globals back exactly as they found them.
#pragma once

#include "dsp/qmx.h"

class SamplingRateGuard {
 public:
  SamplingRateGuard()
      : rate_(gAudioSamplingRate),
        reciprocal_(gAudioSamplingRateReciprocal),
        samplesPerMs_(gSamplesPerMillisecond),
        msPerSample_(gMillisecondsPerSample) {}
  ~SamplingRateGuard() {
    gAudioSamplingRate = rate_;
    gAudioSamplingRateReciprocal = reciprocal_;
    gSamplesPerMillisecond = samplesPerMs_;
    gMillisecondsPerSample = msPerSample_;
  }
  SamplingRateGuard(const SamplingRateGuard&) = delete;
  SamplingRateGuard& operator=(const SamplingRateGuard&) = delete;

 private:
  float rate_, reciprocal_, samplesPerMs_, msPerSample_;
};
