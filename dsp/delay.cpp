#include "dsp/delay.h"

#include <cmath>
#include <cstring>

namespace {

float* allocate_slots(uint64_t slots) {
  return static_cast<float*>(qmx_mem_alloc(static_cast<size_t>(slots) * sizeof(float)));
}

void release_slots(float*& buffer, uint64_t slots) {
  if (buffer != nullptr) qmx_mem_free(buffer, static_cast<size_t>(slots) * sizeof(float));
  buffer = nullptr;  // a second free, or a stray dsp, stays harmless
}

}  // namespace

// ---------------------------------------------------------------------------
// delay

void delay_init(_delay_struct* line, uint32_t length) {
  line->delay_ms = 0.0f;
  line->delay_samples = 0;
  line->length = length;
  line->buffer = allocate_slots(uint64_t{length} + 1);
  line->write_slot = 0;
  line->read_slot = 0;
  line->end_slot = length;
}

void delay_free(_delay_struct* line) { release_slots(line->buffer, uint64_t{line->length} + 1); }

void delay_set_attr(_delay_struct* line, int32_t id, float value) {
  double whole;
  float ms;
  if (id == ATTR_DELAY_MS) {
    whole = std::trunc(static_cast<double>(value * gAudioSamplingRate) * 0.001);
    ms = value;
  } else if (id == ATTR_DELAY_SAMPLES) {
    whole = std::trunc(static_cast<double>(value));
    ms = static_cast<float>(static_cast<double>(value) * 1000.0 *
                            static_cast<double>(gAudioSamplingRateReciprocal));
  } else {
    return;
  }
  // Negative, NaN or longer than the buffer: nothing changes.
  if (!(whole >= 0.0 && whole <= static_cast<double>(line->length))) return;
  const uint32_t d = static_cast<uint32_t>(whole);
  line->delay_ms = ms;
  line->delay_samples = d;
  line->end_slot = d;
  // A shorter loop can leave the write head beyond its new end; it restarts
  // at slot 0, or both heads would fall back to slot 0 together and the
  // delay would collapse to nothing.
  if (line->write_slot > d) line->write_slot = 0;
  const uint32_t w = line->write_slot;
  line->read_slot = (w >= d) ? w - d : w + 1;  // w - D, plus D + 1 when before slot 0
}

float delay_get_attr(_delay_struct* line, int32_t id) {
  if (id == ATTR_DELAY_MS) return line->delay_ms;
  if (id == ATTR_DELAY_SAMPLES) return static_cast<float>(line->delay_samples);
  return 0.0f;
}

float delay_get_output(_delay_struct* line) {
  return line->buffer != nullptr ? line->buffer[line->read_slot] : 0.0f;
}

// ---------------------------------------------------------------------------
// delay_frac

void delay_frac_init(_delay_frac_struct* line, uint32_t length) {
  line->delay_ms = 0.0f;
  line->delay_samples = 0;
  line->length = length;
  line->fraction = 0.0f;
  line->write_index = 0;
  line->buffer = allocate_slots(uint64_t{length} + 1);
  line->output = 0.0f;
}

void delay_frac_free(_delay_frac_struct* line) {
  release_slots(line->buffer, uint64_t{line->length} + 1);
}

void delay_frac_clear(_delay_frac_struct* line) {
  if (line->buffer != nullptr) {
    std::memset(line->buffer, 0, (static_cast<size_t>(line->length) + 1) * sizeof(float));
  }
}

void delay_frac_set_attr(_delay_frac_struct* line, int32_t id, float value) {
  float s;
  float ms;
  if (id == ATTR_DELAY_MS) {
    s = value * gAudioSamplingRate * 0.001f;
    ms = value;
  } else if (id == ATTR_DELAY_SAMPLES) {
    s = value;
    ms = value * 1000.0f / gAudioSamplingRate;
  } else {
    return;
  }
  if (s != s) return;  // NaN is no delay at all
  // The same request again changes nothing (a whole delay equal to D with no
  // fraction pending).
  if (s == static_cast<float>(line->delay_samples) && line->fraction == 0.0f) return;
  const uint32_t n = line->length;
  if (static_cast<double>(s) > static_cast<double>(n)) {
    line->delay_samples = n;
    line->fraction = 0.0f;
  } else if (s < 1.0f) {
    // Zero is the shortest delay, one sample; so is anything shorter, which
    // would otherwise read the slot about to be overwritten (N samples back).
    line->delay_samples = n < 1 ? n : 1;
    line->fraction = 0.0f;
  } else {
    const uint32_t d = static_cast<uint32_t>(s);  // 1 <= s <= N: defined
    line->delay_samples = d;
    line->fraction = s - static_cast<float>(d);
  }
  line->delay_ms = ms;
}

float delay_frac_get_attr(_delay_frac_struct* line, int32_t id) {
  if (id == ATTR_DELAY_MS) return line->delay_ms;
  if (id == ATTR_DELAY_SAMPLES) return static_cast<float>(line->delay_samples);
  return 0.0f;
}

float delay_frac_get_output(_delay_frac_struct* line) { return line->output; }

// ---------------------------------------------------------------------------
// delay_cubic

namespace {

// D = s truncated and the fraction s - D, the read slot D behind the write
// slot; kept inside 0 <= D <= N - 1.
void delay_cubic_place(_delay_cubic_struct* line, float s) {
  const uint32_t n = line->length;
  uint32_t d = 0;
  float fraction = 0.0f;
  if (n == 0 || !(s >= 0.0f)) {
    d = 0;  // negative: the shortest delay there is
  } else if (static_cast<double>(s) >= static_cast<double>(n)) {
    d = n - 1;  // the longest the buffer can hold
  } else {
    d = static_cast<uint32_t>(s);
    fraction = s - static_cast<float>(d);
  }
  line->delay_samples = d;
  line->fraction = static_cast<double>(fraction);
  const uint32_t w = line->write_slot;
  line->read_slot = (w >= d) ? w - d : w + (n - d);
}

}  // namespace

void delay_cubic_init(_delay_cubic_struct* line, uint32_t length) {
  line->length = length;
  line->buffer = allocate_slots(length);
  line->write_slot = 0;
  line->read_slot = 0;
  line->last_slot = length > 0 ? length - 1 : 0;
  line->output = 0.0f;
  line->fraction = 0.0;
  line->delay_samples = 0;
  line->delay_ms = 0.0f;
  delay_cubic_set_attr(line, ATTR_DELAY_MS, 10.0f);
}

void delay_cubic_free(_delay_cubic_struct* line) { release_slots(line->buffer, line->length); }

void delay_cubic_clear(_delay_cubic_struct* line) {
  if (line->buffer != nullptr) {
    std::memset(line->buffer, 0, static_cast<size_t>(line->length) * sizeof(float));
  }
}

void delay_cubic_set_attr(_delay_cubic_struct* line, int32_t id, float value) {
  float s;
  float ms;
  if (id == ATTR_DELAY_MS) {
    ms = value;
    s = value * gSamplesPerMillisecond;
  } else if (id == ATTR_DELAY_SAMPLES) {
    ms = value * gMillisecondsPerSample;
    s = value;
  } else {
    return;
  }
  if (s != s) return;  // NaN is no delay at all
  line->delay_ms = ms;
  delay_cubic_place(line, s);
}

float delay_cubic_get_attr(_delay_cubic_struct* line, int32_t id) {
  if (id == ATTR_DELAY_MS) return line->delay_ms;
  if (id == ATTR_DELAY_SAMPLES) return static_cast<float>(line->delay_samples);
  return 0.0f;
}
