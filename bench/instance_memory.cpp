#include "instance_memory.h"

#include <malloc.h>

#include "bench_session.h"

namespace junkyard::bench {
namespace {

long long heapInUse() {
  struct mallinfo2 info = mallinfo2();
  return static_cast<long long>(info.uordblks) + static_cast<long long>(info.hblkhd);
}

// A host callback that allocates nothing, unlike the recording test host,
// so the heap difference is the effect's alone.
VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

void closeEffect(AEffect* effect) { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }

}  // namespace

bool measureInstanceMemory(InstanceMemory& result, std::string& error) {
  const vsthost::PluginLibrary& library = pluginLibrary();
  if (!library.ok()) {
    error = library.path() + ": " + library.error();
    return false;
  }
  const long long baseline = heapInUse();
  AEffect* first = library.entry()(&quietHost);
  const long long afterFirst = heapInUse();
  AEffect* second = library.entry()(&quietHost);
  const long long afterSecond = heapInUse();
  if (!first || !second) {
    error = "the plug-in made no instance";
    if (first) closeEffect(first);
    if (second) closeEffect(second);
    return false;
  }
  closeEffect(second);
  closeEffect(first);
  result.firstInstance = afterFirst - baseline;
  result.furtherInstance = afterSecond - afterFirst;
  result.heldAfterClose = heapInUse() - baseline;
  return true;
}

}  // namespace junkyard::bench
