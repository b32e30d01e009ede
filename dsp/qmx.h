// Shared conventions of the DSP module library: attribute identifiers, the
// process-wide sampling-rate state, memory helpers and small conversions.
// Modules are plain records owned by the caller, driven by free functions
// named module_operation.
#pragma once

#include <cstddef>
#include <cstdint>

// Attribute identifiers, one meaning per id across all modules.
enum {
  ATTR_SAMPLING_RATE = -100,
  ATTR_MORPH = 20,
  ATTR_CUTOFF = 200,
  ATTR_RESONANCE = 201,
  ATTR_FILTER_TYPE = 210,
  ATTR_GAIN_DB = 212,
  ATTR_SHELF_SLOPE = 213,
  ATTR_BANDWIDTH = 214,
  ATTR_DOWNSAMPLE_RATE = 220,
  ATTR_AVERAGE_LENGTH = 230,
  ATTR_AVERAGE_MODE = 231,
  ATTR_OVERDRIVE_AMOUNT = 240,
  ATTR_FILTER_ENABLE = 299,
  ATTR_DELAY_MS = 500,
  ATTR_DELAY_SAMPLES = 501,
  ATTR_DELAY_ACCUMULATE = 510,
  ATTR_DELAY_REVERSE = 511,
  ATTR_DELAY_DRY_MIX = 512,
  ATTR_DELAY_SPEED = 513,
  ATTR_DELAY_MS_RESYNC = 514,
  ATTR_CLIP_LOW = 600,
  ATTR_CLIP_HIGH = 601,
  ATTR_CLIP_GAIN = 610,
  ATTR_WARP_FREQUENCY = 620,
  ATTR_MXR_GAIN = 630,
  ATTR_MXR_LEVEL = 632,
};

// Process-wide sampling-rate state, shared by every module instance.
extern float gAudioSamplingRate;
extern float gAudioSamplingRateReciprocal;
extern float gSamplesPerMillisecond;
extern float gMillisecondsPerSample;

void qmx_set_attr(int32_t id, float value);
float qmx_get_attr(int32_t id);

// Zero-filled heap block, or null when the heap is exhausted.
void* qmx_mem_alloc(size_t size);
void qmx_mem_free(void* pointer, size_t size);
void* qmx_memcpy(void* destination, const void* source, size_t length);

float qmx_fast_abs(float x);
float qmx_utilities_amplitude2decibels(float a);
float qmx_utilities_decibels2amplitude(float d);
void float2OnOff(float value, char* text);
void float2percent(float value, char* text);  // text holds 12 bytes

// Toward-zero float-to-integer conversion that stays defined for every input:
// NaN gives 0, values beyond the 32-bit range give its nearest end.
int32_t qmx_truncate_to_int(float x);
