// Heap blocks for the delay lines and tables. Kept in a file of their own so a
// test build can link its own allocator in their place and make it fail.
#include <cstdlib>

#include "dsp/qmx.h"

void* qmx_mem_alloc(size_t size) {
  // A zero-byte request still yields a distinct, freeable block so callers
  // can tell it apart from exhaustion.
  return std::calloc(size == 0 ? 1 : size, 1);
}

void qmx_mem_free(void* pointer, size_t /*size*/) { std::free(pointer); }
