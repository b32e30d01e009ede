#include "dsp/tables.h"

#include <cmath>
#include <cstddef>
#include <numbers>

#include "dsp/qmx.h"

namespace {

constexpr double kPi = std::numbers::pi;

size_t table_bytes(int32_t count) {
  return (static_cast<size_t>(count) + 1) * sizeof(float);
}

bool table_usable(const _table_struct* table) {
  return table != nullptr && table->data != nullptr && table->count >= 2;
}

// Position of entry i, the division done in single precision so every entry
// sits exactly where a lookup expects it.
float entry_position(int32_t i, int32_t count) {
  return static_cast<float>(i) / static_cast<float>(count - 1);
}

double clamp_unit(double value) {
  if (value > 1.0) return 1.0;
  if (value < 0.0) return 0.0;
  return value;
}

}  // namespace

void table_init(_table_struct* table, int32_t count) {
  if (table == nullptr) return;
  table->output = 0.0f;
  table->data = nullptr;
  table->count = 0;
  if (count < 2) return;
  auto* data = static_cast<float*>(qmx_mem_alloc(table_bytes(count)));
  if (data == nullptr) return;
  table->data = data;
  table->count = count;
}

void table_free(_table_struct* table) {
  if (table == nullptr || table->data == nullptr) return;
  qmx_mem_free(table->data, table_bytes(table->count));
  table->data = nullptr;
}

void table_fill(_table_struct* table, int32_t kind, float a, float b) {
  if (!table_usable(table)) return;
  const int32_t n = table->count;
  float* data = table->data;

  switch (kind) {
    case TABLE_EXPONENTIAL: {
      // Geometric progression from a to b.
      const float ratio = b / a;
      const double ln_ratio = std::log(static_cast<double>(ratio));
      const double ln_two = std::log(2.0);
      for (int32_t i = 0; i < n; ++i) {
        const double t = entry_position(i, n);
        data[i] = static_cast<float>(static_cast<double>(a) * std::pow(2.0, t * ln_ratio / ln_two));
      }
      break;
    }
    case TABLE_LOG_TAPER: {
      const double scale = (b == 0.0f) ? 1.0 : static_cast<double>(b);
      data[0] = 0.0f;
      for (int32_t i = 1; i < n; ++i) {
        const double t = entry_position(i, n);
        data[i] = static_cast<float>((std::log10(0.9 * t + 0.1) + 1.0) * scale);
      }
      break;
    }
    case TABLE_DECIBEL: {
      // Fader law: the bottom and top of travel are pinned to a and b, the
      // travel between follows a 44 dB-per-decade curve.
      data[0] = a;
      for (int32_t i = 1; i < n - 1; ++i) {
        const double t = entry_position(i, n);
        data[i] = static_cast<float>((static_cast<double>(b) - 0.25) + 44.0 * std::log10(t + 0.0131));
      }
      data[n - 1] = b;
      break;
    }
    case TABLE_DB_METER: {
      const float range = a * b;
      for (int32_t i = 0; i < n; ++i) {
        const double t = entry_position(i, n);
        data[i] = static_cast<float>(clamp_unit(20.0 * std::log10(t) / static_cast<double>(range) + 1.0));
      }
      break;
    }
    case TABLE_SINE_BIPOLAR:
      for (int32_t i = 0; i < n; ++i) {
        const float centred = entry_position(i, n) - 0.5f;
        data[i] = static_cast<float>(std::sin(static_cast<double>(centred) * kPi));
      }
      break;
    case TABLE_SINE_RISE:
      for (int32_t i = 0; i < n; ++i) {
        const double t = entry_position(i, n);
        data[i] = static_cast<float>(std::sin(t * kPi * 0.5));
      }
      break;
    case TABLE_COSINE_FALL:
      for (int32_t i = 0; i < n; ++i) {
        const double t = entry_position(i, n);
        data[i] = static_cast<float>(std::cos(t * kPi * 0.5));
      }
      break;
    case TABLE_SINE_SQUARED:
      for (int32_t i = 0; i < n; ++i) {
        const double t = entry_position(i, n);
        const float s = static_cast<float>(std::sin(t * kPi * 0.5));
        data[i] = s * s;
      }
      break;
    default:
      break;
  }

  data[n] = data[n - 1];
  table_lookup(table, 0.0f);
}

float table_lookup(_table_struct* table, float x) {
  if (table == nullptr) return 0.0f;
  if (!table_usable(table)) {
    table->output = 0.0f;
    return 0.0f;
  }
  const float last = static_cast<float>(table->count - 1);
  float p = last * x;
  // Positions outside 0..1 (and NaN) are held at the ends so a stray value can
  // never read outside the curve; within 0..1 this changes nothing.
  if (!(p >= 0.0f)) p = 0.0f;
  if (p > last) p = last;
  const int32_t i = static_cast<int32_t>(p);
  const float f = p - static_cast<float>(i);
  const float upper = f * table->data[i + 1];
  const double result = static_cast<double>(table->data[i]) * (1.0 - static_cast<double>(f)) + static_cast<double>(upper);
  table->output = static_cast<float>(result);
  return table->output;
}

float table_lookup_clip(_table_struct* table, float x) {
  if (x < 0.0f) x = 0.0f;
  if (x > 1.0f) x = 1.0f;
  return table_lookup(table, x);
}

float table_lookup_clip_bipolar(_table_struct* table, float x) {
  return table_lookup_clip(table, (x + 1.0f) * 0.5f);
}

float table_inverse_lookup(_table_struct* table, float v) {
  if (table == nullptr) return 0.0f;
  if (!table_usable(table)) {
    table->output = 0.0f;
    return 0.0f;
  }
  const int32_t n = table->count;
  int32_t lo = 0;
  int32_t hi = n;
  int32_t mid = 0;
  while (hi - lo > 1) {
    mid = lo + (hi - lo) / 2;
    if (v > table->data[mid]) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  table->output = static_cast<float>(mid) / static_cast<float>(n);
  return table->output;
}

float table_inverse_calculate(int32_t kind, float v, float a, float b) {
  switch (kind) {
    case TABLE_EXPONENTIAL: {
      const float of_value = v / a;
      const float of_range = b / a;
      return static_cast<float>(std::log(static_cast<double>(of_value)) / std::log(static_cast<double>(of_range)));
    }
    case TABLE_LOG_TAPER: {
      const double dv = v;
      const double db = b;
      return static_cast<float>((std::exp((2.302585093 * dv - 2.302585093 * db) / db) * 10.0 - 1.0) * 0.1111111111);
    }
    case TABLE_DECIBEL: {
      const double dv = v;
      const double db = b;
      return static_cast<float>(std::pow(10.0, (dv - (db - 0.25)) / 44.0) - 0.0131);
    }
    default:
      return -999.9f;
  }
}
