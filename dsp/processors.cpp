#include "dsp/processors.h"

#include <cstring>

// ---------------------------------------------------------------------------
// filter_average

namespace {

constexpr size_t kAverageBytes = kFilterAverageSlots * sizeof(float);

// An active loop of L + 1 slots with the read slot one ahead of the write
// slot, holding nothing.
void filter_average_empty_window(_filter_average_struct* avg) {
  if (avg->buffer != nullptr) std::memset(avg->buffer, 0, kAverageBytes);
  avg->sum = 0.0;
  const int32_t l = avg->length;
  avg->end_slot = l;
  if (avg->write_slot > l) avg->write_slot = 0;
  const int32_t w = avg->write_slot;
  avg->read_slot = (w - l < 0) ? w - l + (l + 1) : w - l;
}

}  // namespace

void filter_average_init(_filter_average_struct* avg) {
  avg->mode = 0;
  avg->length = 1;
  avg->inv_length = 1.0;
  avg->buffer = static_cast<float*>(qmx_mem_alloc(kAverageBytes));
  avg->write_slot = 0;
  avg->output = 0.0f;
  filter_average_empty_window(avg);
}

void filter_average_free(_filter_average_struct* avg) {
  if (avg->buffer != nullptr) qmx_mem_free(avg->buffer, kAverageBytes);
  avg->buffer = nullptr;
}

void filter_average_set_attr(_filter_average_struct* avg, int32_t id, float value) {
  if (id == ATTR_AVERAGE_LENGTH) {
    // A window holds at least one value and at most 256 (NaN fails both).
    if (!(value >= 1.0f && value <= 256.0f)) return;
    avg->length = static_cast<int32_t>(value);
    avg->inv_length = static_cast<double>(1.0f / value);
    // The old values never went into the new sum: start from an empty window.
    filter_average_empty_window(avg);
  } else if (id == ATTR_AVERAGE_MODE) {
    avg->mode = qmx_truncate_to_int(value);
  }
}

float filter_average_get_attr(_filter_average_struct* avg, int32_t id) {
  if (id == ATTR_AVERAGE_LENGTH) return static_cast<float>(avg->length);
  if (id == ATTR_AVERAGE_MODE) return static_cast<float>(avg->mode);
  return 0.0f;
}

float filter_average_get_output(_filter_average_struct* avg) { return avg->output; }

double filter_average_window_sum(const _filter_average_struct* avg) {
  const int32_t end = avg->end_slot;
  const int32_t skip = avg->write_slot > end ? 0 : avg->write_slot;
  double sum = 0.0;
  for (int32_t k = 0; k <= end; ++k) {
    if (k != skip) sum = sum + static_cast<double>(avg->buffer[k]);
  }
  return sum;
}

// ---------------------------------------------------------------------------
// filter_derez

void filter_derez_init(_filter_derez_struct* derez) {
  derez->shift = 0;
  derez->output = 0.0f;
}

void filter_derez_free(_filter_derez_struct*) {}

void filter_derez_set_attr(_filter_derez_struct* derez, int32_t id, float value) {
  if (id != ATTR_FILTER_TYPE) return;
  const float difference = 24.0f - value;
  if (difference != difference) return;  // NaN: no bit depth at all
  // Depths 1 to 24 are the ones there are; beyond them the shift would leave
  // the integer's width.
  int32_t shift = qmx_truncate_to_int(difference);
  if (shift < 0) shift = 0;
  if (shift > 23) shift = 23;
  derez->shift = shift;
}

float filter_derez_get_attr(_filter_derez_struct* derez, int32_t id) {
  return id == ATTR_FILTER_TYPE ? static_cast<float>(24 - derez->shift) : 0.0f;
}

float filter_derez_get_output(_filter_derez_struct* derez) { return derez->output; }

// ---------------------------------------------------------------------------
// filter_downsample

void filter_downsample_init(_filter_downsample_struct* ds) {
  ds->rate = 1.0f;
  ds->phase = 0.0f;
  ds->held = 0.0f;
}

void filter_downsample_free(_filter_downsample_struct*) {}

void filter_downsample_set_attr(_filter_downsample_struct* ds, int32_t id, float value) {
  if (id != ATTR_DOWNSAMPLE_RATE) return;
  ds->rate = value;
  ds->phase = 0.0f;
}

float filter_downsample_get_attr(_filter_downsample_struct* ds, int32_t id) {
  return id == ATTR_DOWNSAMPLE_RATE ? ds->rate : 0.0f;
}

float filter_downsample_get_output(_filter_downsample_struct* ds) { return ds->held; }

// ---------------------------------------------------------------------------
// filter_overdrive

void filter_overdrive_init(_filter_overdrive_struct* od) {
  od->amount = 1.0f;
  od->output = 0.0f;
}

void filter_overdrive_free(_filter_overdrive_struct*) {}

void filter_overdrive_set_attr(_filter_overdrive_struct* od, int32_t id, float value) {
  if (id == ATTR_OVERDRIVE_AMOUNT) od->amount = value;
}

float filter_overdrive_get_attr(_filter_overdrive_struct* od, int32_t id) {
  return id == ATTR_OVERDRIVE_AMOUNT ? od->amount : 0.0f;
}

float filter_overdrive_get_output(_filter_overdrive_struct* od) { return od->output; }
