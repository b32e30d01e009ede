// What a drag carries into a view. Drags from other applications are not
// received on X11, so no container ever holds anything; views still have the
// drag operations to override.
#pragma once

#include "gui/creference_counter.h"

class CDragContainer : public CReferenceCounter {
 public:
  enum ItemType { kFile = 0, kText, kUnknown = -1 };

  CDragContainer() = default;

  long getCount() const { return 0; }
  // The first / next item, its size and type; null when there is none.
  void* first(long& size, long& type) {
    size = 0;
    type = kUnknown;
    return nullptr;
  }
  void* next(long& size, long& type) { return first(size, type); }
};
