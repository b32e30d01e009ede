#include "dsp/dist_mxr.h"

void dist_mxr_init(_dist_mxr_struct* mxr) {
  mxr->gain = 0.0f;
  mxr->level = 0.0f;  // silent until the owner sets a level
  mxr->output = 0.0f;
}

void dist_mxr_free(_dist_mxr_struct*) {}

void dist_mxr_set_attr(_dist_mxr_struct* mxr, int32_t id, float value) {
  if (id == ATTR_MXR_GAIN) {
    mxr->gain = value;
  } else if (id == ATTR_MXR_LEVEL) {
    mxr->level = value;
  }
}

float dist_mxr_get_attr(_dist_mxr_struct* mxr, int32_t id) {
  if (id == ATTR_MXR_GAIN) return mxr->gain;
  if (id == ATTR_MXR_LEVEL) return mxr->level;
  return 0.0f;
}

float dist_mxr_get_output(_dist_mxr_struct* mxr) { return mxr->output; }
