// An independent, deliberately plain model of the echo-reverb arithmetic,
// written straight from the product's definition with no fast paths. The
// plug-in must match it bit for bit.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/dist_mxr.h"  // the clipper's transfer table is shared data, not logic

namespace reference {

inline int32_t trunc(float v) { return static_cast<int32_t>(v); }

struct Delay {
  uint32_t N = 0;
  uint32_t D = 0;
  float R = 0, W = 0, xp = 0;
  std::vector<float> buf;

  Delay(uint32_t slots, float rate) : N(slots), buf(slots, 0.0f) {
    D = static_cast<uint32_t>(0.5f * rate);
    W = static_cast<float>(D) - 1.0f;
  }
  void setMs(float ms, float rate) {
    const float product = (ms * 0.001f) * rate;
    uint32_t d;
    if (!(product >= 1.0f)) d = 1;
    else if (product >= static_cast<float>(N - 1)) d = N - 1;
    else d = static_cast<uint32_t>(product);
    D = d;
  }
  float dsp(float x) {
    const float Nf = static_cast<float>(N);
    int32_t g = trunc(W - R + 1.0f);
    if (g < 0) g += static_cast<int32_t>(N);
    const float q = static_cast<float>(D) / static_cast<float>(g);
    R = R + 1.0f / q;
    if (R >= Nf) R = R - Nf;
    const int32_t i = trunc(R);
    const float f = R - static_cast<float>(i);
    const float out = (1.0f - f) * buf[i] + f * buf[(i + 1) % N];
    const float lo = std::floor(W);
    float W2 = W + 1.0f;
    const float s = std::fmin(1.0f, 1.0f / (std::floor(W2) - lo + 1.0f));
    float a = 0.0f;
    for (float k = lo; k < W2; k += 1.0f) {
      a += s;
      const float v = ((1.0f - 0.0f) * x - xp) * a + xp;
      buf[static_cast<uint32_t>(k) % N] = v;
    }
    if (W2 >= Nf) W2 = W2 - Nf;
    xp = x;
    W = W2;
    return out;
  }
};

struct Butterworth {
  float a0 = 0, a1 = 0, a2 = 0, b1 = 0, b2 = 0;
  float x1 = 0, x2 = 0, y1 = 0, y2 = 0, out = 0;

  void set(bool lowPass, float fc, float rate) {
    const float reciprocal = 1.0f / rate;
    const float w = static_cast<float>(static_cast<double>(fc) * 3.141592653589793 *
                                       static_cast<double>(reciprocal));
    const float K = lowPass ? static_cast<float>(1.0 / std::tan(static_cast<double>(w)))
                            : std::tan(w);
    const float K2 = K * K;
    const double sqrt2 = 1.4142135623730951;
    a0 = static_cast<float>(1.0 / (sqrt2 * K + 1.0 + K2));
    if (lowPass) {
      a1 = a0 + a0;
      a2 = a0;
      b1 = a1 * (1.0f - K2);
    } else {
      a1 = -2.0f * a0;
      a2 = a0;
      b1 = (a0 + a0) * (K2 - 1.0f);
    }
    b2 = static_cast<float>(static_cast<double>(a0) * (1.0 - sqrt2 * K + K2));
  }
  float dsp(float x) {
    y2 = y1;
    y1 = out;
    float y = a2 * x2;
    y = y + a1 * x1;
    y = y + a0 * x;
    y = y - b2 * y2;
    y = y - b1 * y1;
    if (std::fpclassify(y) == FP_ZERO || std::fpclassify(y) == FP_SUBNORMAL) y = 0.0f;
    out = y;
    x2 = x1;
    x1 = x;
    return y;
  }
};

inline float clip(float x) {
  const float gain = 1.0f, level = 0.25f;
  const float s = static_cast<float>(static_cast<double>(x) * (static_cast<double>(gain) * 31.415926536 + 1.0));
  float p;
  if (s > 1.0f) p = 255.0f;
  else if (s >= -1.0f) p = s * 255.0f;
  else p = -255.0f;
  p = p + 256.0f;
  const int32_t i = trunc(p);
  const float f = p - static_cast<float>(i);
  const double t = static_cast<double>(_mxr_distortion_plus_data[i]) * (1.0 - static_cast<double>(f)) +
                   static_cast<double>(f * _mxr_distortion_plus_data[i + 1]);
  return static_cast<float>(t * static_cast<double>(level));
}

// Host values of the six parameters, turned into settings the way the
// parameter set defines them.
struct Settings {
  float hostValues[6] = {0, 0, 0, 0, 0, 1};

  float micLevel() const { return 0.0f + (1.0f - 0.0f) * hostValues[0]; }
  float delayMs() const { return 4.0f + (150.0f - 4.0f) * hostValues[1]; }
  float repeat() const { return 0.0f + (0.7f - 0.0f) * hostValues[2]; }
  float depth() const { return 0.0f + (60.0f - 0.0f) * hostValues[3]; }
  int32_t selector() const { return trunc(static_cast<float>(trunc(0.0f + 1.0f * hostValues[4] + 0.5f))); }
  int32_t power() const { return trunc(static_cast<float>(trunc(0.0f + 1.0f * hostValues[5] + 0.5f))); }
  float dry() const {
    const float d = static_cast<float>(static_cast<double>(depth()) * 0.01);
    return 1.0f - d * d;
  }
  float wet() const {
    const float d = static_cast<float>(static_cast<double>(depth()) * 0.01);
    return 1.0f - (d - 1.0f) * (d - 1.0f);
  }
};

struct Chain {
  float rate;
  Delay left, right;
  Butterworth hpL, hpR, lpL, lpR;
  float fbL = 0, fbR = 0;
  Settings settings;
  bool pending = true;

  explicit Chain(float sampleRate, uint32_t slots = 14400)
      : rate(sampleRate), left(slots, sampleRate), right(slots, sampleRate) {
    hpL.set(false, 200.0f, rate);
    hpR.set(false, 200.0f, rate);
    lpL.set(true, 2500.0f, rate);
    lpR.set(true, 2500.0f, rate);
  }
  void setParameter(int index, float value) {
    settings.hostValues[index] = value;
    if (index == 1) pending = true;
  }
  void process(const float* in0, const float* in1, float* out0, float* out1, int frames) {
    if (pending) {
      pending = false;
      left.setMs(settings.delayMs(), rate);
      right.setMs(settings.delayMs() + 3.0f, rate);
    }
    for (int i = 0; i < frames; ++i) {
      if (settings.power() == 0) {
        out0[i] = in0[i];
        out1[i] = in1[i];
        continue;
      }
      float a = in0[i] * 0.8f;
      float b = in1[i] * 0.8f;
      if (settings.selector() == 0) {
        const float m = settings.micLevel();
        a = m * clip(a) + (1.0f - m) * a;
        b = m * clip(b) + (1.0f - m) * b;
      }
      out0[i] = loop(a, fbL, left, hpL, lpL);
      out1[i] = loop(b, fbR, right, hpR, lpR);
    }
  }
  float loop(float in, float& fb, Delay& line, Butterworth& hp, Butterworth& lp) {
    const float x = fb * settings.repeat() + in;
    float s = (x * 0.5f) * (3.0f - x * x);
    if (s > 1.0f) s = 1.0f;
    else s = std::fmax(-1.0f, s);
    const float y = lp.dsp(hp.dsp(line.dsp(s)));
    fb = y;
    return y * settings.wet() + in * settings.dry();
  }
};

}  // namespace reference
