// The five factory programs, as natural values in parameter order.
#pragma once

#include <cstdint>

#include "params/bramble_program.h"

extern const char* const presetNames[kNumPrograms];
extern const float kPresetData[kNumPrograms][kProgramParams];
// One (parameter index, controller number) pair per program, applied when the
// program's count is non-zero. No factory program carries a binding.
extern const int32_t kMIDIassignments[kNumPrograms][2];
extern const int32_t kNumMIDIassignments[kNumPrograms];
