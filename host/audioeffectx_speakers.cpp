// Speaker arrangements of any channel count: a header followed by one
// properties record per channel, allocated as one zero-filled block.
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "host/audioeffectx.h"

namespace {

// Far beyond any real speaker layout; keeps a corrupt count from asking the
// allocator for gigabytes.
constexpr VstInt32 kMaxArrangementChannels = 1024;

constexpr size_t arrangementBytes(VstInt32 channels) {
  return offsetof(VstSpeakerArrangement, speakers) +
         sizeof(VstSpeakerProperties) * static_cast<size_t>(channels);
}
static_assert(arrangementBytes(1) == 8 + 112);

// The record declares a fixed-size array but holds numChannels entries.
VstSpeakerProperties* speakerAt(VstSpeakerArrangement* arrangement, VstInt32 i) {
  VstSpeakerProperties* const first = arrangement->speakers;
  return first + i;
}

}  // namespace

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) {
  if (pluginInput) *pluginInput = nullptr;
  if (pluginOutput) *pluginOutput = nullptr;
  return false;
}

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels) {
  if (!arrangement || nbChannels < 0 || nbChannels > kMaxArrangementChannels) return false;
  deallocateArrangement(arrangement);
  void* block = std::calloc(1, arrangementBytes(nbChannels));
  if (!block) return false;
  *arrangement = static_cast<VstSpeakerArrangement*>(block);
  (*arrangement)->numChannels = nbChannels;
  return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
  if (arrangement && *arrangement) {
    std::free(*arrangement);
    *arrangement = nullptr;
  }
  return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
  if (!to || !from) return false;
  if (to == from) return true;
  // The source name may lack a terminator: take at most 63 characters.
  char name[sizeof(to->name)] = {};
  std::memcpy(name, from->name, strnlen(from->name, sizeof(name) - 1));
  std::memcpy(to->name, name, sizeof(name));
  to->type = from->type;
  to->azimuth = from->azimuth;
  to->elevation = from->elevation;
  to->radius = from->radius;
  to->reserved = from->reserved;
  std::memcpy(to->future, from->future, sizeof(to->future));
  return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
  if (!from || !to) return false;
  // Matching an arrangement to itself must not free the source first.
  if (*to == from) return true;
  deallocateArrangement(to);
  if (!allocateArrangement(to, from->numChannels)) return false;
  (*to)->type = from->type;
  for (VstInt32 i = 0; i < from->numChannels; ++i)
    if (!copySpeaker(speakerAt(*to, i), speakerAt(from, i))) return false;
  return true;
}
