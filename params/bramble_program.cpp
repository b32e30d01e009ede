#include "params/bramble_program.h"

#include <cstring>

brambleProgram::brambleProgram() {
  std::memset(this, 0, sizeof(*this));
  std::memcpy(name, "init", 5);
  for (auto& c : controllers) c = -1;
}
