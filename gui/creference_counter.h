// Shared toolkit objects (views, bitmaps, drawing contexts) live as long as
// somebody holds a reference. The creator holds the first one; whoever keeps
// a pointer longer calls remember() and later forget().
#pragma once

#include <cstdint>

class CReferenceCounter {
 public:
  CReferenceCounter() = default;
  CReferenceCounter(const CReferenceCounter&) = delete;
  CReferenceCounter& operator=(const CReferenceCounter&) = delete;
  virtual ~CReferenceCounter() = default;

  // Drops one reference; the last one destroys the object.
  virtual void forget() {
    if (--nbReference <= 0) delete this;
  }
  virtual void remember() { ++nbReference; }

  int32_t getNbReference() const { return nbReference; }

 private:
  int32_t nbReference = 1;
};
