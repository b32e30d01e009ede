// Three circular delay lines whose read position is tied to the write
// position: a change of delay time moves the read position at once (a click
// on running material, no glide).
//
//   delay        whole-sample delay over an active loop of D + 1 slots
//   delay_frac   delay read through a four-point cubic Hermite interpolator
//   delay_cubic  fractional delay read through four-point Lagrange interpolation
//
// All three take their delay through ATTR_DELAY_MS or ATTR_DELAY_SAMPLES and
// own a buffer from init to free. No attribute value, however wild (negative,
// NaN, infinite, beyond the buffer), can move a head outside its buffer.
#pragma once

#include <cstdint>

#include "dsp/qmx.h"

// ---------------------------------------------------------------------------
// delay: the output is the input of D calls earlier. A delay longer than the
// buffer, negative or NaN is ignored. Until a delay is set (D = 0) the heads
// coincide and the input passes straight through.
struct _delay_struct {
  float delay_ms;          // as last accepted
  uint32_t delay_samples;  // D
  uint32_t length;         // N; the buffer has N + 1 slots
  float* buffer;
  uint32_t write_slot;
  uint32_t read_slot;
  uint32_t end_slot;       // last slot of the active loop: slot D
};

void delay_init(_delay_struct* line, uint32_t length);
void delay_free(_delay_struct* line);
void delay_set_attr(_delay_struct* line, int32_t id, float value);
float delay_get_attr(_delay_struct* line, int32_t id);
// The sample that the next dsp call will return (unless D is 0).
float delay_get_output(_delay_struct* line);

inline float delay_dsp(_delay_struct* line, float x) {
  float* const buffer = line->buffer;
  if (buffer == nullptr) return 0.0f;
  const uint32_t end = line->end_slot;
  const uint32_t w = line->write_slot;
  buffer[w] = x;
  line->write_slot = (w == end) ? 0 : w + 1;
  const uint32_t r = line->read_slot;
  const float y = buffer[r];
  line->read_slot = (r == end) ? 0 : r + 1;
  return y;
}

// ---------------------------------------------------------------------------
// delay_frac: a delay of D + fraction samples, 1 <= D <= N. The read runs
// through a Catmull-Rom cubic Hermite interpolator: a whole-sample delay
// (fraction 0) reads the slot D calls back at t = 0, which gives that sample;
// a fraction f reads between the samples D + 1 and D calls back, at
// t = 1 - f from the older one, so the delay really is D + f. The fractional
// read stores the current input first, so that its newest neighbour exists;
// it needs the four samples D - 1 .. D + 2 calls back inside the buffer, so
// for D < 1 or D > N - 3 the fraction is kept but the read is whole.
//
// Delays beyond N are clamped to N (fraction 0); zero, negative and
// sub-sample delays become one sample (fraction 0); NaN is ignored. Before any
// delay is set, D = 0 reads the slot about to be overwritten: the input of N
// calls earlier.
struct _delay_frac_struct {
  float delay_ms;          // as last accepted, unclamped
  uint32_t delay_samples;  // D
  uint32_t length;         // N; the buffer has N + 1 slots, N of them in use
  float fraction;          // requested delay minus D
  uint32_t write_index;
  float* buffer;
  float output;
};

void delay_frac_init(_delay_frac_struct* line, uint32_t length);
void delay_frac_free(_delay_frac_struct* line);
void delay_frac_clear(_delay_frac_struct* line);
void delay_frac_set_attr(_delay_frac_struct* line, int32_t id, float value);
float delay_frac_get_attr(_delay_frac_struct* line, int32_t id);
float delay_frac_get_output(_delay_frac_struct* line);

// Catmull-Rom cubic through xm1, x0, x1, x2 at t from x0 (0) toward x1 (1).
inline float delay_frac_hermite(float xm1, float x0, float x1, float x2, float t) {
  const float k1 = 0.5f * (x1 - xm1);
  const float k2 = xm1 - 2.5f * x0 + 2.0f * x1 - 0.5f * x2;
  const float k3 = 0.5f * (x2 - xm1) + 1.5f * (x0 - x1);
  return ((k3 * t + k2) * t + k1) * t + x0;
}

inline float delay_frac_dsp(_delay_frac_struct* line, float x) {
  float* const buffer = line->buffer;
  const uint64_t n = line->length;
  if (buffer == nullptr || n == 0) {
    line->output = 0.0f;
    return 0.0f;
  }
  const uint64_t w = line->write_index;  // always below N
  const uint64_t d = line->delay_samples;
  const bool fractional = line->fraction != 0.0f && d >= 1 && d + 3 <= n;
  float t = 0.0f;
  uint64_t k;
  if (fractional) {
    buffer[w] = x;
    k = w + n - d - 1;  // the sample D + 1 calls back
    t = 1.0f - line->fraction;
  } else {
    k = w + n - d;  // D <= N
  }
  if (k >= n) k -= n;
  const uint64_t km1 = (k == 0) ? n - 1 : k - 1;
  const uint64_t k1 = (k + 1 == n) ? 0 : k + 1;
  const uint64_t k2 = (k1 + 1 == n) ? 0 : k1 + 1;
  const float y = delay_frac_hermite(buffer[km1], buffer[k], buffer[k1], buffer[k2], t);
  if (!fractional) buffer[w] = x;
  line->write_index = static_cast<uint32_t>((w + 1 == n) ? 0 : w + 1);
  line->output = y;
  return y;
}

// ---------------------------------------------------------------------------
// delay_cubic: four-point Lagrange interpolation at t = fraction between x0,
// the input D calls back, and x1, the input D - 1 calls back. The read leans
// toward the NEWER sample: a requested delay of D + t comes out as D - t
// samples (10.25 gives 9.75). Init sets 10 ms.
//
// The neighbours x1 and x2 (D - 1 and D - 2 calls back) are read before the
// current input is stored, so with a fraction and D below 3 they include the
// slot about to be overwritten. Delays of N or more are clamped to N - 1
// (fraction 0), negative delays count as 0, NaN is ignored.
struct _delay_cubic_struct {
  float delay_ms;          // as last accepted, unclamped
  uint32_t delay_samples;  // D
  double fraction;         // requested delay minus D
  uint32_t length;         // N
  float* buffer;           // N slots
  uint32_t write_slot;
  uint32_t read_slot;
  uint32_t last_slot;      // slot N - 1
  float output;
};

void delay_cubic_init(_delay_cubic_struct* line, uint32_t length);
void delay_cubic_free(_delay_cubic_struct* line);
void delay_cubic_clear(_delay_cubic_struct* line);
void delay_cubic_set_attr(_delay_cubic_struct* line, int32_t id, float value);
float delay_cubic_get_attr(_delay_cubic_struct* line, int32_t id);

inline float delay_cubic_lagrange(float xm1, float x0, float x1, float x2, float t) {
  const float sixth = 0.16666667f;
  const float a = -sixth * xm1 * t * (t - 1.0f) * (t - 2.0f);
  const float b = 0.5f * x0 * (t + 1.0f) * (t - 1.0f) * (t - 2.0f);
  const float c = 0.5f * x1 * (t + 1.0f) * t * (t - 2.0f);
  const float e = sixth * x2 * (t + 1.0f) * t * (t - 1.0f);
  return a + b - c + e;
}

inline float delay_cubic_dsp(_delay_cubic_struct* line, float x) {
  float* const buffer = line->buffer;
  if (buffer == nullptr || line->length == 0) {
    line->output = 0.0f;
    return 0.0f;
  }
  const uint32_t last = line->last_slot;
  const uint32_t r = line->read_slot;  // always at most the last slot
  const uint32_t rm1 = (r == 0) ? last : r - 1;
  const uint32_t r1 = (r == last) ? 0 : r + 1;
  const uint32_t r2 = (r1 == last) ? 0 : r1 + 1;
  line->read_slot = r1;
  const float y = delay_cubic_lagrange(buffer[rm1], buffer[r], buffer[r1], buffer[r2],
                                       static_cast<float>(line->fraction));
  const uint32_t w = line->write_slot;
  buffer[w] = x;
  line->write_slot = (w == last) ? 0 : w + 1;
  line->output = y;
  return y;
}
