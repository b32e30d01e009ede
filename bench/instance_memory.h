// Heap held by one effect instance, from construction to effClose.
#pragma once

#include <cstddef>
#include <string>

namespace junkyard::bench {

struct InstanceMemory {
  long long firstInstance = 0;    // includes anything built once per process
  long long furtherInstance = 0;  // what each additional instance costs
  long long heldAfterClose = 0;   // still in use after both were closed
};

// False with a reason when the module cannot be used.
bool measureInstanceMemory(InstanceMemory& result, std::string& error);

}  // namespace junkyard::bench
