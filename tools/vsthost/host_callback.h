// Routing of the single host callback to the PluginInstance it belongs to.
// The effect identifies itself only by its record pointer, which is unknown
// (or null) until the entry point returns, so calls made during construction
// go to the instance being constructed on the calling thread.
#pragma once

#include "host/vst_abi.h"

namespace junkyard::vsthost {

class PluginInstance;

namespace detail {

VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                       void* ptr, float opt);

void registerInstance(AEffect* effect, PluginInstance* instance);
void unregisterInstance(AEffect* effect);

// Marks the instance whose entry point call is running on this thread.
class ConstructionScope {
 public:
  explicit ConstructionScope(PluginInstance* instance);
  ~ConstructionScope();
  ConstructionScope(const ConstructionScope&) = delete;
  ConstructionScope& operator=(const ConstructionScope&) = delete;

 private:
  PluginInstance* previous_;
};

}  // namespace detail
}  // namespace junkyard::vsthost
