// Replaces the DSP library's allocator for this test program so that a buffer
// allocation can be made to fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "dsp/qmx.h"
#include "effect/bramble.h"

namespace {
int allocationsBeforeFailure = -1;  // negative: never fail
}

void* qmx_mem_alloc(size_t size) {
  if (allocationsBeforeFailure == 0) return nullptr;
  if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
  return std::calloc(size == 0 ? 1 : size, 1);
}

void qmx_mem_free(void* pointer, size_t) { std::free(pointer); }

extern "C" AEffect* VSTPluginMain(audioMasterCallback host);

namespace {

VstIntPtr versionOnlyHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

struct FailAfter {
  explicit FailAfter(int count) { allocationsBeforeFailure = count; }
  ~FailAfter() { allocationsBeforeFailure = -1; }
};

// Either delay line's buffer may be the one that is missing.
TEST(OutOfMemory, ConstructionFailsCleanly) {
  for (int count : {0, 1}) {
    FailAfter fail(count);
    EXPECT_THROW({ delete new bramble(nullptr); }, std::bad_alloc) << count;
  }
}

TEST(OutOfMemory, EntryPointReturnsNoInstance) {
  for (int count : {0, 1}) {
    FailAfter fail(count);
    EXPECT_EQ(VSTPluginMain(versionOnlyHost), nullptr) << count;
  }
  AEffect* effect = VSTPluginMain(versionOnlyHost);
  ASSERT_NE(effect, nullptr);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

TEST(OutOfMemory, GrowingForAHighRateKeepsTheOldLinesWhenMemoryRunsOut) {
  bramble effect(nullptr);
  const uint32_t before = effect.delayLineSlots();
  {
    FailAfter fail(1);
    effect.setSampleRate(192000.0f);
  }
  EXPECT_EQ(effect.delayLineSlots(), before);
  effect.setSampleRate(44100.0f);
}

}  // namespace
