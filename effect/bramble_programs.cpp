// The bank of five programs: factory presets, switching, names and the chunk
// the host saves with its session.
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "effect/bramble.h"
#include "params/bramble_param_manager.h"
#include "params/factory_presets.h"

static_assert(std::endian::native == std::endian::little,
              "the chunk is little-endian and written as the bank's own bytes");

namespace {

constexpr size_t kRecordSize = sizeof(brambleProgram);
constexpr size_t kBankSize = kNumPrograms * kRecordSize;
// Hosts hold program names in 24-byte buffers: 23 characters and the zero.
constexpr size_t kNameChars = kProgramNameSize - 1;

// Copies a name field that may lack its zero, never reading past the field.
void copyName(char* destination, const char* field) {
  size_t n = 0;
  while (n < kNameChars && field[n] != '\0') ++n;
  std::memcpy(destination, field, n);
  destination[n] = '\0';
}

}  // namespace

void bramble::initPresets() {
  for (int i = 0; i < kNumPrograms; ++i) {
    brambleProgram& program = programs[i];
    std::memset(program.name, 0, sizeof program.name);
    std::strncpy(program.name, presetNames[i], kNameChars);
    for (int j = 0; j < kProgramParams; ++j) {
      program.controllers[j] = -1;
      const float value = paramManager->VSTvalueFromNaturalValue(j, kPresetData[i][j]);
      program.values[j] = (value >= 0.0f && value <= 1.0f) ? value : 0.0f;
    }
    if (kNumMIDIassignments[i] != 0) {
      const int32_t parameter = kMIDIassignments[i][0];
      if (parameter >= 0 && parameter < kProgramParams)
        program.controllers[parameter] = static_cast<int8_t>(kMIDIassignments[i][1]);
    }
  }
}

VstInt32 bramble::getProgram() { return currentProgram.load(std::memory_order_acquire); }

void bramble::setProgram(VstInt32 program) {
  if (program < 0 || program >= kNumPrograms) return;
  curProgram = program;
  currentProgram.store(program, std::memory_order_release);
  for (VstInt32 j = 0; j < kProgramParams; ++j)
    setParameter(j, std::atomic_ref<float>(programs[program].values[j]).load(std::memory_order_relaxed));
  // The live table becomes the program's bindings in one step.
  MidiBindings::Table table = MidiBindings::kEmpty;
  for (int j = 0; j < kProgramParams; ++j) {
    const int8_t controller =
        std::atomic_ref<int8_t>(programs[program].controllers[j]).load(std::memory_order_relaxed);
    if (controller >= 0) table = MidiBindings::with(table, j, controller);
  }
  bindings.store(table);
}

void bramble::setProgramName(char* name) {
  if (!name) return;
  char* field = programs[getProgram()].name;
  size_t n = 0;
  while (n < kNameChars && name[n] != '\0') ++n;
  std::memset(field, 0, kProgramNameSize);
  std::memcpy(field, name, n);
}

void bramble::getProgramName(char* name) {
  if (!name) return;
  const int32_t program = getProgram();
  char field[kProgramNameSize];
  copyName(field, programs[program].name);
  if (std::strcmp(field, "Init") == 0)
    std::snprintf(name, kProgramNameSize, "%s %d", field, program + 1);
  else
    std::memcpy(name, field, std::strlen(field) + 1);
}

bool bramble::getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) {
  if (index < 0 || index >= kNumPrograms || !text) return false;
  copyName(text, programs[index].name);
  return true;
}

// Record bytes of one program, read field by field: values and controller
// slots may be written by a controller on the audio thread meanwhile.
void bramble::loadProgramRecord(int program, uint8_t* record) const {
  const brambleProgram& source = programs[program];
  brambleProgram copy;
  std::memcpy(copy.name, source.name, sizeof copy.name);
  for (int j = 0; j < kProgramParams; ++j) {
    copy.values[j] = std::atomic_ref<float>(const_cast<float&>(source.values[j])).load(std::memory_order_relaxed);
    copy.controllers[j] =
        std::atomic_ref<int8_t>(const_cast<int8_t&>(source.controllers[j])).load(std::memory_order_relaxed);
  }
  std::memcpy(copy.reserved, source.reserved, sizeof copy.reserved);
  std::memcpy(record, &copy, kRecordSize);
}

void bramble::storeProgramRecord(int program, const uint8_t* record) {
  brambleProgram incoming;
  std::memcpy(&incoming, record, kRecordSize);
  brambleProgram& target = programs[program];
  std::memcpy(target.name, incoming.name, sizeof target.name);
  for (int j = 0; j < kProgramParams; ++j) {
    std::atomic_ref<float>(target.values[j]).store(incoming.values[j], std::memory_order_relaxed);
    std::atomic_ref<int8_t>(target.controllers[j]).store(incoming.controllers[j], std::memory_order_relaxed);
  }
  std::memcpy(target.reserved, incoming.reserved, sizeof target.reserved);
}

VstInt32 bramble::getChunk(void** data, bool isPreset) {
  if (!data) return 0;
  if (isPreset) {
    loadProgramRecord(getProgram(), chunkImage);
    *data = chunkImage;
    return static_cast<VstInt32>(kRecordSize);
  }
  for (int i = 0; i < kNumPrograms; ++i) loadProgramRecord(i, chunkImage + i * kRecordSize);
  *data = chunkImage;
  return static_cast<VstInt32>(kBankSize);
}

// Stored values are taken as they are: sessions rely on it, and every value
// path downstream stays safe for values outside 0..1 or not a number.
VstInt32 bramble::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
  if (!data) return 0;
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (isPreset) {
    if (byteSize != static_cast<VstInt32>(kRecordSize)) return 0;
    storeProgramRecord(getProgram(), bytes);
  } else {
    if (byteSize != static_cast<VstInt32>(kBankSize)) return 0;
    for (int i = 0; i < kNumPrograms; ++i) storeProgramRecord(i, bytes + i * kRecordSize);
  }
  setProgram(getProgram());
  return 1;
}
