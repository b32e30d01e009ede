#include "dsp/delay_fad.h"

#include <cmath>
#include <utility>

namespace {

// Largest whole distance the buffer can hold between the heads.
uint32_t longest_delay(uint32_t length) { return length < 2 ? 1 : length - 1; }

// A delay product in slots, truncated, kept inside 1..N-1 so the play head
// can always settle and a NaN or out-of-range value never reaches the
// float-to-integer conversion.
uint32_t delay_from_product(float product, uint32_t length) {
  const uint32_t longest = longest_delay(length);
  if (!(product >= 1.0f)) return 1;
  if (static_cast<double>(product) >= static_cast<double>(longest)) return longest;
  return static_cast<uint32_t>(product);
}

// Positions stay finite and well inside the int64 range, so these are defined.
int64_t floor_to_int(float v) {
  int64_t t = static_cast<int64_t>(v);
  if (static_cast<float>(t) > v) --t;
  return t;
}

int64_t ceil_to_int(float v) {
  int64_t t = static_cast<int64_t>(v);
  if (static_cast<float>(t) < v) ++t;
  return t;
}

uint32_t wrap_index(int64_t k, uint32_t length) {
  int64_t m = k % static_cast<int64_t>(length);
  if (m < 0) m += length;
  return static_cast<uint32_t>(m);
}

// Feedback inside the buffer must not run away: each slot stays within -1..1.
inline float accumulate_slot(float v, float under_read_head) {
  v = v + under_read_head;
  if (v > 1.0f) return 1.0f;
  if (v < -1.0f) return -1.0f;
  return v;
}

// The remembered increment belongs to one D and one read speed.
inline void forget_increment(_delay_fad_struct* line) {
  line->cached_distance = kDelayFadNoDistance;
  line->cached_increment = 0.0f;
}

}  // namespace

float delay_fad_wrap_slow(float p, uint32_t length) {
  if (length == 0) return 0.0f;
  const float nf = static_cast<float>(length);
  p = std::fmod(p, nf);
  if (p < 0.0f) p = p + nf;
  // A tiny negative position rounds onto N itself; NaN cannot occur, but a
  // position must never leave the buffer.
  if (!(p >= 0.0f && p < nf)) p = 0.0f;
  return p;
}

void delay_fad_init(_delay_fad_struct* line, uint32_t length) {
  line->length = length;
  // A null buffer is left for the owner to detect; every operation then
  // answers silence instead of touching memory.
  line->buffer = static_cast<float*>(qmx_mem_alloc(static_cast<size_t>(length) * sizeof(float)));
  line->delay_seconds = 0.5f;
  // The default distance may exceed the buffer (0.5 s against a short line);
  // the record head then starts beyond the end and is wrapped by its first
  // forward write, which is where an effect's start-up glide begins. Only the
  // conversion is guarded here, and a distance no real rate gives is capped
  // at 2^24 slots so the start position stays a whole, exactly stepping float.
  const float product = 0.5f * gAudioSamplingRate;
  uint32_t d = 1;
  if (!(product >= 1.0f)) {
    d = 1;
  } else if (product >= 16777216.0f) {
    d = 16777216;
  } else {
    d = static_cast<uint32_t>(product);
  }
  line->delay_samples = d;
  line->read_pos = 0.0f;
  line->write_pos = static_cast<float>(d - 1);
  line->read_speed = 1.0f;
  line->write_speed = 1.0f;
  line->previous_input = 0.0f;
  line->resync = false;
  line->reverse = false;
  line->reverse_requested = false;
  line->accumulate = false;
  line->dry_mix = 0.0f;
  line->output = 0.0f;
  forget_increment(line);
}

void delay_fad_free(_delay_fad_struct* line) {
  if (line->buffer != nullptr) {
    qmx_mem_free(line->buffer, static_cast<size_t>(line->length) * sizeof(float));
  }
  line->buffer = nullptr;  // a second free, or a stray dsp, stays harmless
}

void delay_fad_clear(_delay_fad_struct* line) {
  if (line->buffer != nullptr) {
    std::memset(line->buffer, 0, static_cast<size_t>(line->length) * sizeof(float));
  }
  line->read_pos = 0.0f;
  line->write_pos = static_cast<float>(line->delay_samples - 1);
  forget_increment(line);
}

void delay_fad_set_attr(_delay_fad_struct* line, int32_t id, float value) {
  switch (id) {
    case ATTR_DELAY_MS:
    case ATTR_DELAY_MS_RESYNC: {
      line->delay_seconds = value * 0.001f;
      const float product = line->delay_seconds * gAudioSamplingRate;
      const uint32_t d = delay_from_product(product, line->length);
      if (d != line->delay_samples) {
        line->delay_samples = d;
        forget_increment(line);
        if (id == ATTR_DELAY_MS_RESYNC) line->resync = true;
      }
      break;
    }
    case ATTR_DELAY_ACCUMULATE: {
      const bool on = value > 0.5f;
      if (on != line->accumulate) {
        line->accumulate = on;
        line->resync = true;
      }
      break;
    }
    case ATTR_DELAY_REVERSE:
      line->reverse_requested = value > 0.5f;
      break;
    case ATTR_DELAY_DRY_MIX:
      line->dry_mix = value;
      break;
    case ATTR_DELAY_SPEED: {
      // The record head writes once per slot it passes: beyond N slots per
      // sample it would only overwrite the whole loop again, and a NaN speed
      // would leave the heads nowhere. Both are bounded here.
      const float limit = static_cast<float>(line->length);
      float speed = value;
      if (speed != speed) speed = 0.0f;
      if (speed > limit) speed = limit;
      if (speed < -limit) speed = -limit;
      line->read_speed = speed;
      line->write_speed = speed;
      forget_increment(line);
      break;
    }
    default:
      break;
  }
}

void delay_fad_update_sampling_rate(_delay_fad_struct*) {
  // Lengths follow the rate only when the owner sets the delay time again.
}

float delay_fad_get_output(_delay_fad_struct* line) { return line->output; }

float delay_fad_dsp_general(_delay_fad_struct* line, float x) {
  float* const buffer = line->buffer;
  const uint32_t n = line->length;
  if (buffer == nullptr || n == 0) {
    line->output = 0.0f;
    return 0.0f;
  }
  const float nf = static_cast<float>(n);
  float r = line->read_pos;
  float w = line->write_pos;

  // Read increment, or a jump of the play head to its distance.
  float increment;
  if (line->resync) {
    if (!line->reverse) {
      r = (w - static_cast<float>(line->delay_samples)) + 1.0f;
      if (r < 0.0f) r = r + nf;
    } else {
      r = (static_cast<float>(line->delay_samples) + w) - 1.0f;
      if (r >= nf) r = r - nf;
    }
    // A record head beyond the buffer (right after init) or a distance of N
    // or more would put the play head outside it.
    if (!(r >= 0.0f && r < nf)) r = delay_fad_wrap_slow(r, n);
    line->resync = false;
    increment = line->read_speed;  // ratio 1
  } else {
    const float distance = line->reverse ? (r - w) + 1.0f : (w - r) + 1.0f;
    int64_t g = static_cast<int64_t>(distance);
    if (g < 0) g += n;
    increment = delay_fad_read_increment(line, g);
  }

  // A direction change swaps the heads: the play head replays what was just
  // recorded, backwards.
  if (line->reverse_requested != line->reverse) {
    line->reverse = line->reverse_requested;
    std::swap(r, w);
  }

  const float xp = line->previous_input;
  const float m = line->dry_mix;
  const float ramp = (1.0f - m) * x - xp;
  const bool accumulate = line->accumulate;
  const float speed = line->write_speed;
  float out;
  float w_next;

  if (!line->reverse) {
    r = r + increment;
    if (r >= nf) r = r - nf;
    if (!(r >= 0.0f && r < nf)) r = delay_fad_wrap_slow(r, n);
    const uint32_t i = static_cast<uint32_t>(r);
    const float f = r - static_cast<float>(i);
    const uint32_t i1 = (i + 1 == n) ? 0 : i + 1;
    out = (1.0f - f) * buffer[i] + f * buffer[i1];

    const int64_t lo = floor_to_int(w);
    w_next = w + speed;
    const float span =
        (static_cast<float>(floor_to_int(w_next)) - static_cast<float>(lo)) + 1.0f;
    float step = 1.0f / span;
    if (!(step < 1.0f)) step = 1.0f;
    float a = 0.0f;
    uint32_t index = wrap_index(lo, n);
    // At most |speed| + 1 <= N + 1 slots: the speed is bounded by N.
    for (int64_t k = lo; static_cast<double>(k) < static_cast<double>(w_next); ++k) {
      a = a + step;
      float v = ramp * a + xp;
      if (accumulate) v = accumulate_slot(v, buffer[i]);
      buffer[index] = v;
      if (++index == n) index = 0;
    }
    if (w_next >= nf) {
      w_next = w_next - nf;
    } else if (w_next < 0.0f) {
      w_next = w_next + nf;  // a negative speed runs the record head backwards
    }
  } else {
    r = r - increment;
    if (r < 0.0f) r = r + nf;
    if (!(r >= 0.0f && r < nf)) r = delay_fad_wrap_slow(r, n);
    const uint32_t i = static_cast<uint32_t>(r);
    const float f = r - static_cast<float>(i);
    const uint32_t j = (i == 0) ? n - 1 : i - 1;
    out = (1.0f - f) * buffer[i] + f * buffer[j] + x * m;

    const int64_t hi = ceil_to_int(w);
    w_next = w - speed;
    const float span =
        (static_cast<float>(hi) - static_cast<float>(ceil_to_int(w_next))) + 1.0f;
    float step = 1.0f / span;
    if (!(step < 1.0f)) step = 1.0f;
    const int64_t start = static_cast<int64_t>(w_next);
    const int64_t count = hi - start;
    // Positions are taken modulo N; an index of N itself is valid here
    // because it is decremented before use.
    int64_t index = start > static_cast<int64_t>(n) ? start % n : start;
    float a = 0.0f;
    for (int64_t c = 0; c < count; ++c) {
      a = a + step;
      if (index <= 0) index = n;
      --index;
      float v = ramp * a + xp;
      if (accumulate) v = accumulate_slot(v, buffer[i]);
      buffer[index] = v;
    }
    if (w_next < 0.0f) {
      w_next = w_next + nf;
    } else if (w_next >= nf) {
      w_next = w_next - nf;  // a negative speed runs the record head forwards
    }
  }

  line->previous_input = x;
  line->read_pos = r;
  line->write_pos = w_next;
  line->output = out;
  return out;
}
