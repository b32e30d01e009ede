// Four small processors of the filter family: a moving average (mean, mean of
// magnitudes or root mean square), a bit-depth reducer, a sample-and-hold rate
// reducer and an overdrive curve.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "dsp/qmx.h"
#include "dsp/qmx_kernels.h"

// ---------------------------------------------------------------------------
// filter_average: the mean of the last L values (1 <= L <= 256), kept as a
// running sum over an active loop of L + 1 slots in which the read slot runs
// one ahead of the write slot. Mode 0 averages x, mode 1 |x|, mode 2 x * x
// and takes the square root.
//
// A new length empties the window (buffer and sum), so no value that was
// never added can be subtracted later. A mode outside 0..2 returns the last
// output and leaves the window untouched. A non-finite value spoils a running
// sum for good, so the sum is rebuilt from the window while it is not finite:
// the output recovers once the value has left the window.
constexpr int32_t kFilterAverageSlots = 257;

struct _filter_average_struct {
  int32_t mode;        // ATTR_AVERAGE_MODE
  int32_t length;      // L, ATTR_AVERAGE_LENGTH
  double sum;          // the values in the window
  double inv_length;   // 1 / (the length as set), not 1 / L for a fractional length
  float* buffer;       // kFilterAverageSlots floats, owned
  int32_t write_slot;
  int32_t read_slot;   // the oldest value
  int32_t end_slot;    // slot L
  float output;
};

void filter_average_init(_filter_average_struct* avg);
void filter_average_free(_filter_average_struct* avg);
void filter_average_set_attr(_filter_average_struct* avg, int32_t id, float value);
float filter_average_get_attr(_filter_average_struct* avg, int32_t id);
float filter_average_get_output(_filter_average_struct* avg);
// The sum of the window taken afresh (all slots of the loop but the write slot).
double filter_average_window_sum(const _filter_average_struct* avg);

inline float filter_average_dsp(_filter_average_struct* avg, float x) {
  float* const buffer = avg->buffer;
  const uint32_t mode = static_cast<uint32_t>(avg->mode);
  if (buffer == nullptr || mode > 2) return avg->output;
  const int32_t end = avg->end_slot;
  int32_t r = avg->read_slot;
  int32_t w = avg->write_slot;
  if (r > end) r = 0;
  if (w > end) w = 0;
  double sum = avg->sum - static_cast<double>(buffer[r]);
  avg->read_slot = r + 1;
  float v = x;
  if (mode == 1) v = std::fabs(x);
  if (mode == 2) v = x * x;
  buffer[w] = v;
  avg->write_slot = w + 1;
  sum = sum + static_cast<double>(v);
  if (!std::isfinite(sum)) sum = filter_average_window_sum(avg);
  avg->sum = sum;
  double result = sum * avg->inv_length;
  // Rounding in the running sum can leave a sum of squares a hair below 0.
  if (mode == 2) result = std::sqrt(result < 0.0 ? 0.0 : result);
  const float y = static_cast<float>(result);
  avg->output = y;
  return y;
}

// ---------------------------------------------------------------------------
// filter_derez: x in steps of 2^-(bit depth - 1), rounded toward minus
// infinity. The bit depth is held within 1..24 (shift 23..0).
struct _filter_derez_struct {
  int32_t shift;  // 24 minus the bit depth
  float output;
};

void filter_derez_init(_filter_derez_struct* derez);
void filter_derez_free(_filter_derez_struct* derez);
void filter_derez_set_attr(_filter_derez_struct* derez, int32_t id, float value);
float filter_derez_get_attr(_filter_derez_struct* derez, int32_t id);
float filter_derez_get_output(_filter_derez_struct* derez);

inline float filter_derez_dsp(_filter_derez_struct* derez, float x) {
  // Inputs beyond +-256 saturate the 24-bit-fraction integer; NaN gives 0.
  const int32_t n = qmx_truncate_to_int(x * 8388608.0f);
  // Clearing the low bits of a two's-complement value is the arithmetic shift
  // right and back left.
  const uint32_t mask = ~((uint32_t{1} << derez->shift) - 1u);
  const int32_t q = static_cast<int32_t>(static_cast<uint32_t>(n) & mask);
  const float y = static_cast<float>(static_cast<double>(q) * 1.1920928955e-07);
  derez->output = y;
  return y;
}

// ---------------------------------------------------------------------------
// filter_downsample: takes a new input whenever the phase, advanced by the
// rate each sample, reaches 1, and holds it in between. Rate 1 passes every
// sample, 0.5 every second, 0 holds forever.
struct _filter_downsample_struct {
  float rate;   // ATTR_DOWNSAMPLE_RATE, a fraction of the sampling rate
  float phase;
  float held;   // the output
};

void filter_downsample_init(_filter_downsample_struct* ds);
void filter_downsample_free(_filter_downsample_struct* ds);
void filter_downsample_set_attr(_filter_downsample_struct* ds, int32_t id, float value);
float filter_downsample_get_attr(_filter_downsample_struct* ds, int32_t id);
float filter_downsample_get_output(_filter_downsample_struct* ds);

inline float filter_downsample_dsp(_filter_downsample_struct* ds, float x) {
  float phase = ds->phase + ds->rate;
  if (phase >= 1.0f) {
    ds->held = x;
    phase = phase - 1.0f;
  }
  ds->phase = phase;
  return ds->held;
}

// ---------------------------------------------------------------------------
// filter_overdrive: s (1 - (1 - |x|)^amount) with s the sign of x (+1 for
// -0), +-1 from |x| = 1 on. Amount 1 is the identity on -1..1; larger
// amounts bend the curve toward +-1. The power e^(amount ln(1 - |x|)) is
// worked out in double precision as 2^(amount log2(1 - |x|)), the same value
// with one rounding step fewer, through qmx_exp2_double and
// qmx_log2_double_normal.
struct _filter_overdrive_struct {
  float amount;  // ATTR_OVERDRIVE_AMOUNT
  float output;
};

void filter_overdrive_init(_filter_overdrive_struct* od);
void filter_overdrive_free(_filter_overdrive_struct* od);
void filter_overdrive_set_attr(_filter_overdrive_struct* od, int32_t id, float value);
float filter_overdrive_get_attr(_filter_overdrive_struct* od, int32_t id);
float filter_overdrive_get_output(_filter_overdrive_struct* od);

inline float filter_overdrive_dsp(_filter_overdrive_struct* od, float x) {
  // The sign goes on as a bit, so no branch follows the signal's sign.
  const uint32_t sign = (x < 0.0f) ? 0x80000000u : 0u;
  const float a = std::fabs(x);
  float magnitude;
  if (a < 1.0f) {
    // 1 - a lies in [2^-24, 1]: a positive normal number.
    const double power = qmx_exp2_double(static_cast<double>(od->amount) *
                                         qmx_log2_double_normal(1.0 - static_cast<double>(a)));
    magnitude = static_cast<float>(1.0 - power);
  } else {
    magnitude = (a >= 1.0f) ? 1.0f : a;  // NaN stays NaN
  }
  const float y = std::bit_cast<float>(std::bit_cast<uint32_t>(magnitude) ^ sign);
  od->output = y;
  return y;
}
