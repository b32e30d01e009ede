// Lookup tables: a curve sampled at equally spaced positions over 0..1, read
// back by linear interpolation, so the transcendental work happens once at fill
// time instead of on every parameter change.
#pragma once

#include <cstdint>

// Curve kinds for table_fill.
enum {
  TABLE_EXPONENTIAL = 800,
  TABLE_LOG_TAPER = 810,
  TABLE_DECIBEL = 812,
  TABLE_DB_METER = 830,
  TABLE_SINE_BIPOLAR = 840,
  TABLE_SINE_RISE = 842,
  TABLE_COSINE_FALL = 843,
  TABLE_SINE_SQUARED = 845,
};

// A zero-filled record (count 0, null data) is a valid "not yet built" table:
// every lookup on it answers 0.
struct _table_struct {
  int32_t count;  // curve entries N
  float* data;    // N + 1 entries; the last repeats entry N - 1 for reads at 1
  float output;   // result of the latest lookup
};

// Allocates N + 1 zeroed entries. A count below 2 or a failed allocation
// leaves a record with null data and count 0. Earlier data is not released.
void table_init(_table_struct* table, int32_t count);
// Releases the entries and nulls the pointer, so a second call is harmless.
void table_free(_table_struct* table);
void table_fill(_table_struct* table, int32_t kind, float a, float b);

float table_lookup(_table_struct* table, float x);
float table_lookup_clip(_table_struct* table, float x);
float table_lookup_clip_bipolar(_table_struct* table, float x);
float table_inverse_lookup(_table_struct* table, float v);
float table_inverse_calculate(int32_t kind, float v, float a, float b);

extern const float quarterSine[128];
extern const float lookup_512_equalPower[512];
