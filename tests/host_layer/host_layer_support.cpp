#include "host_layer_support.h"

#include <new>
#include <stdexcept>

namespace hostlayer {

// Pointers print as names when they are the stand-ins, so expectations read well.
std::string describe(const void* p) {
  if (p == nullptr) return "null";
  if (p == kPtr) return "P";
  if (p == kPtr2) return "Q";
  char text[32];
  std::snprintf(text, sizeof(text), "%p", p);
  return text;
}

std::string describe(float f) {
  char text[32];
  std::snprintf(text, sizeof(text), "%g", static_cast<double>(f));
  return text;
}

}  // namespace hostlayer

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  using namespace hostlayer;
  ++gFactoryCalls;
  switch (gFactoryMode) {
    case FactoryMode::fail:
      return nullptr;
    case FactoryMode::throwError:
      throw std::bad_alloc();
    case FactoryMode::build:
      break;
  }
  return new TestEffect(audioMaster);
}
