// One program of the bank: a name, the six host values and the MIDI controller
// bound to each parameter. Its byte image is the unit of the saved chunk, so the
// layout is fixed.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kNumPrograms = 5;
constexpr int kProgramNameSize = 24;
constexpr int kProgramParams = 6;

struct brambleProgram {
  char name[kProgramNameSize];
  float values[kProgramParams];
  int8_t controllers[kProgramParams];  // negative: unbound (-1 written)
  char reserved[2];

  brambleProgram();
};

static_assert(sizeof(brambleProgram) == 56);
static_assert(offsetof(brambleProgram, values) == 24);
static_assert(offsetof(brambleProgram, controllers) == 48);
