#include "tools/vsthost/host_callback.h"

#include <mutex>
#include <unordered_map>

#include "tools/vsthost/plugin_instance.h"

namespace junkyard::vsthost::detail {
namespace {

std::mutex gRegistryMutex;
std::unordered_map<AEffect*, PluginInstance*>& registry() {
  static std::unordered_map<AEffect*, PluginInstance*> instances;
  return instances;
}

thread_local PluginInstance* tConstructing = nullptr;

PluginInstance* route(AEffect* effect) {
  if (effect) {
    std::lock_guard<std::mutex> lock(gRegistryMutex);
    auto found = registry().find(effect);
    if (found != registry().end()) return found->second;
  }
  return tConstructing;
}

}  // namespace

VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                       void* ptr, float opt) {
  PluginInstance* instance = route(effect);
  if (instance) return instance->answerHostCall(HostCall{effect, opcode, index, value, ptr, opt});
  // A record nobody registered: still answer like a VST 2.4 host would.
  return opcode == audioMasterVersion ? 2400 : 0;
}

void registerInstance(AEffect* effect, PluginInstance* instance) {
  std::lock_guard<std::mutex> lock(gRegistryMutex);
  registry()[effect] = instance;
}

void unregisterInstance(AEffect* effect) {
  std::lock_guard<std::mutex> lock(gRegistryMutex);
  registry().erase(effect);
}

ConstructionScope::ConstructionScope(PluginInstance* instance) : previous_(tConstructing) {
  tConstructing = instance;
}

ConstructionScope::~ConstructionScope() { tConstructing = previous_; }

}  // namespace junkyard::vsthost::detail
