// One fresh effect per fuzz input, driven through its AEffect record the way
// a host drives it, plus the few host-side chores every target needs.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

#include "dsp/qmx.h"
#include "effect/bramble.h"
#include "fuzz_input.h"
#include "host/vst_abi.h"

namespace junkyard::fuzz {

// A host that says it is a VST 2.4 host and answers every other question with
// "don't know": the effect must cope with a host that offers nothing.
inline VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

class FuzzedEffect {
 public:
  FuzzedEffect() {
    // The library's sampling rate is process-wide and an input may change
    // it: every input starts from the same rate so that findings reproduce.
    qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f);
    effect_ = createEffectInstance(&quietHost)->getAeffect();
    FUZZ_CHECK(effect_ != nullptr && effect_->magic == kEffectMagic);
  }
  // effClose: the record's own trampoline deletes the object.
  ~FuzzedEffect() { dispatch(effClose); }
  FuzzedEffect(const FuzzedEffect&) = delete;
  FuzzedEffect& operator=(const FuzzedEffect&) = delete;

  AEffect* effect() const { return effect_; }
  // The object behind the record, for the operations that have no opcode.
  bramble* object() const {
    return static_cast<bramble*>(static_cast<AudioEffect*>(effect_->object));
  }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
  }

  // One block of a fixed stereo signal through processReplacing, into
  // separate output buffers or in place as many hosts do.
  void processBlock(VstInt32 frames, bool inPlace = false) {
    if (frames < 0) frames = 0;
    if (frames > kMaxFrames) frames = kMaxFrames;
    for (int i = 0; i < kMaxFrames; ++i) {
      const float phase = static_cast<float>(i) * 0.07f;
      in_[0][i] = 0.5f * std::sin(phase);
      in_[1][i] = (i % 16 < 8) ? 0.25f : -0.25f;
    }
    float* inputs[2] = {in_[0], in_[1]};
    float* outputs[2] = {inPlace ? in_[0] : out_[0], inPlace ? in_[1] : out_[1]};
    effect_->processReplacing(effect_, inputs, outputs, frames);
  }

  static constexpr VstInt32 kMaxFrames = 256;

 private:
  AEffect* effect_ = nullptr;
  float in_[2][kMaxFrames] = {};
  float out_[2][kMaxFrames] = {};
};

// Asks for a text through `ask` into a 256-byte buffer that is filled with a
// marker first, and checks the host's side of the bargain: a terminated text
// of at most `limit` bytes including its zero, and nothing touched past that.
template <class Ask>
std::string askText(size_t limit, Ask ask) {
  constexpr unsigned char kMarker = 0xA5;
  char buffer[256];
  std::memset(buffer, kMarker, sizeof buffer);
  ask(buffer);
  const size_t length = strnlen(buffer, sizeof buffer);
  FUZZ_CHECK(length < limit);
  for (size_t i = limit; i < sizeof buffer; ++i)
    FUZZ_CHECK(static_cast<unsigned char>(buffer[i]) == kMarker);
  return std::string(buffer, length);
}

// True when `ask` writes nothing at all into the buffer it is given.
template <class Ask>
bool leavesBufferAlone(Ask ask) {
  constexpr unsigned char kMarker = 0x5A;
  char buffer[256];
  std::memset(buffer, kMarker, sizeof buffer);
  ask(buffer);
  for (char c : buffer)
    if (static_cast<unsigned char>(c) != kMarker) return false;
  return true;
}

}  // namespace junkyard::fuzz
