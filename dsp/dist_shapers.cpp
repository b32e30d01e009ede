#include "dsp/dist_shapers.h"

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

void dist_clip_init(_dist_clip_struct* clip) {
  clip->clip_high = 0.9f;
  clip->clip_low = -0.9f;
  clip->gain = 1.0f;
  clip->output = 0.0f;
}

void dist_clip_free(_dist_clip_struct*) {}

void dist_clip_set_attr(_dist_clip_struct* clip, int32_t id, float value) {
  if (id == ATTR_CLIP_LOW) {
    clip->clip_low = value;
  } else if (id == ATTR_CLIP_HIGH) {
    clip->clip_high = value;
  } else if (id == ATTR_CLIP_GAIN) {
    clip->gain = value;
  }
}

float dist_clip_get_attr(_dist_clip_struct* clip, int32_t id) {
  if (id == ATTR_CLIP_LOW) return clip->clip_low;
  if (id == ATTR_CLIP_HIGH) return clip->clip_high;
  if (id == ATTR_CLIP_GAIN) return clip->gain;
  return 0.0f;
}

float dist_clip_get_output(_dist_clip_struct* clip) { return clip->output; }

// Nothing to set up but a defined output before the first sample.
void dist_warp_parabola_init(_dist_warp_parabola_struct* warp) { warp->output = 0.0f; }

void dist_warp_parabola_free(_dist_warp_parabola_struct*) {}

float dist_warp_parabola_get_output(_dist_warp_parabola_struct* warp) { return warp->output; }

void dist_warp_sine_init(_dist_warp_sine_struct* warp) {
  warp->frequency = 1.0f;
  warp->omega = kTwoPi;
  warp->output = 0.0f;
}

void dist_warp_sine_free(_dist_warp_sine_struct*) {}

void dist_warp_sine_set_attr(_dist_warp_sine_struct* warp, int32_t id, float value) {
  if (id != ATTR_WARP_FREQUENCY) return;
  warp->frequency = value;
  warp->omega = static_cast<double>(value) * kTwoPi;
}

float dist_warp_sine_get_attr(_dist_warp_sine_struct* warp, int32_t id) {
  return id == ATTR_WARP_FREQUENCY ? warp->frequency : 0.0f;
}

float dist_warp_sine_get_output(_dist_warp_sine_struct* warp) { return warp->output; }
