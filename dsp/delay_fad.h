// Fading delay line: a tape loop with a record head and a play head. The
// record head lays the input down as a linear fade from the previous input to
// the current one over every slot it passes, so it can move by fractional and
// varying amounts without leaving gaps; the play head reads with linear
// interpolation and glides to a new delay time instead of jumping, bending the
// pitch like a tape machine changing speed.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "dsp/qmx.h"

struct _delay_fad_struct {
  float delay_seconds;      // delay time as last set, seconds
  uint32_t delay_samples;   // D, wanted head distance in slots
  uint32_t length;          // N, slots in the buffer
  float* buffer;            // N samples, owned
  float read_pos;           // R, fractional, 0 <= R < N
  float write_pos;          // W, fractional
  float read_speed;         // slots per sample of the play head at the right distance
  float write_speed;        // slots per sample of the record head
  float previous_input;     // xp, the input of the previous sample
  bool resync;              // put the play head at its distance on the next sample
  bool reverse;             // heads currently run toward lower indices
  bool reverse_requested;   // direction asked for, taken up on the next sample
  bool accumulate;          // feed the buffer's own content back at unity gain
  float dry_mix;            // m, input mix
  float output;             // latest output
  // The last read increment worked out for a head distance other than D. A
  // settled play head hovers between D and one neighbouring distance, so
  // remembering that one pair spares the two dependent divisions on nearly
  // every sample. The increment depends only on the distance, D and the read
  // speed; whatever changes D or the speed forgets the pair.
  float cached_increment;
  int64_t cached_distance;  // kDelayFadNoDistance when nothing is remembered
};

// No head distance ever measured equals this, so it marks an empty cache.
constexpr int64_t kDelayFadNoDistance = INT64_MIN;

void delay_fad_init(_delay_fad_struct* line, uint32_t length);
void delay_fad_free(_delay_fad_struct* line);
void delay_fad_clear(_delay_fad_struct* line);
void delay_fad_set_attr(_delay_fad_struct* line, int32_t id, float value);
void delay_fad_update_sampling_rate(_delay_fad_struct* line);
float delay_fad_get_output(_delay_fad_struct* line);

// Every case the steady path below does not cover: repositioning, direction
// changes, reverse heads, accumulation, speeds other than 1, a record head
// between slots or beyond the buffer, and a missing buffer.
float delay_fad_dsp_general(_delay_fad_struct* line, float x);

// Read increment for the play head: the speed scaled by how far the head
// distance g is from the wanted one. When the distance is right the ratio is
// exactly 1, so the increment is the speed itself and no division is needed;
// for the other distance a settled head keeps visiting, the increment
// remembered from its last visit is the very same float.
inline float delay_fad_read_increment(_delay_fad_struct* line, int64_t g) {
  if (g == static_cast<int64_t>(line->delay_samples)) return line->read_speed;
  if (g == line->cached_distance) return line->cached_increment;
  const float q = static_cast<float>(line->delay_samples) / static_cast<float>(g);
  const float increment = line->read_speed / q;
  line->cached_distance = g;
  line->cached_increment = increment;
  return increment;
}

// Brings a position back into 0 <= p < N when one step of N was not enough
// (huge read increments); also catches values that rounded onto N itself.
float delay_fad_wrap_slow(float p, uint32_t length);

// One sample. The common case in an echo loop -- forward heads at speed 1, no
// accumulation, nothing pending, the record head on a whole slot -- writes
// exactly one slot at the midpoint of the fade, so it is done here without the
// write loop; it gives the same bits as the general walk.
inline float delay_fad_dsp(_delay_fad_struct* line, float x) {
  uint32_t flags;  // resync, reverse, reverse_requested, accumulate: all clear?
  static_assert(offsetof(_delay_fad_struct, accumulate) ==
                offsetof(_delay_fad_struct, resync) + 3);
  std::memcpy(&flags, &line->resync, sizeof flags);
  const float w = line->write_pos;
  const uint32_t n = line->length;
  // W is finite and non-negative at all times, so this conversion is defined.
  const int64_t wi = static_cast<int64_t>(w);
  // The speed is tested on its bits (exactly 1.0f) with one integer compare.
  // Below 2^24 every whole W has W + 1 exactly; above it the walk decides.
  if (flags != 0 || std::bit_cast<uint32_t>(line->write_speed) != 0x3F800000u ||
      line->buffer == nullptr || static_cast<float>(wi) != w ||
      static_cast<uint64_t>(wi) >= n || wi >= (int64_t{1} << 24)) {
    return delay_fad_dsp_general(line, x);
  }
  float* const buffer = line->buffer;
  const float nf = static_cast<float>(n);
  float r = line->read_pos;

  int64_t g = static_cast<int64_t>((w - r) + 1.0f);
  if (g < 0) g += n;
  r = r + delay_fad_read_increment(line, g);
  if (r >= nf) r = r - nf;
  if (!(r < nf)) r = delay_fad_wrap_slow(r, n);  // speed 1 never lands here
  line->read_pos = r;

  const uint32_t i = static_cast<uint32_t>(r);
  const float f = r - static_cast<float>(i);
  const uint32_t i1 = (i + 1 == n) ? 0 : i + 1;
  const float out = (1.0f - f) * buffer[i] + f * buffer[i1];

  // One slot at the midpoint of the fade from the previous input.
  const float xp = line->previous_input;
  const float ramp = (1.0f - line->dry_mix) * x - xp;
  buffer[wi] = ramp * 0.5f + xp;

  float w_next = w + 1.0f;
  if (w_next >= nf) w_next = w_next - nf;
  line->write_pos = w_next;
  line->previous_input = x;
  line->output = out;
  return out;
}
