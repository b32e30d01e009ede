// Preset files as they arrive from disk or another host: any bytes. A file
// that is accepted must say what this plug-in can load, and writing it out
// again must give a file that reads back the same; a refused one gets a
// one-line reason.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "host/vst_abi.h"
#include "tools/presets/preset_file.h"

namespace presets = junkyard::presets;

namespace {

const presets::Expectations kExpect{kFourCC('M', 'F', 'j', 'r'), 56, 280, 6, 5};

std::optional<presets::Preset> parse(const std::vector<uint8_t>& bytes, std::string& error) {
  return presets::parsePreset(bytes.data(), bytes.size(), kExpect, error);
}

// A name as the program file writer keeps it: at most 27 characters.
std::string writtenName(const std::string& name) { return name.substr(0, presets::kProgramNameField - 1); }

void checkChunkFileRoundTrip(const presets::Preset& first) {
  const bool program = first.kind == presets::PresetKind::Program;
  FUZZ_CHECK(first.chunk.size() == (program ? 56u : 280u));
  // A raw chunk has no header of its own; it goes out as the file a host writes.
  const int32_t fxID = first.format == presets::PresetFormat::RawChunk ? kExpect.fxID : first.fxID;
  const std::vector<uint8_t> file =
      program ? presets::encodeProgramFile(fxID, first.fxVersion, first.programName, first.chunk)
              : presets::encodeBankFile(fxID, first.fxVersion, first.currentProgram, first.chunk);
  FUZZ_CHECK(!file.empty());

  std::string error;
  const std::optional<presets::Preset> again = parse(file, error);
  FUZZ_CHECK(again.has_value());
  FUZZ_CHECK(again->kind == first.kind);
  FUZZ_CHECK(again->format ==
             (program ? presets::PresetFormat::ProgramChunk : presets::PresetFormat::BankChunk));
  FUZZ_CHECK(again->chunk == first.chunk);
  FUZZ_CHECK(again->fxID == fxID);
  FUZZ_CHECK(again->fxVersion == first.fxVersion);
  FUZZ_CHECK(again->currentProgram == first.currentProgram);
  FUZZ_CHECK(again->programName == writtenName(first.programName));
  FUZZ_CHECK(again->programs.empty());
}

// Parameter-list files are read, never written: what was read must fit the plug-in.
void checkParameterLists(const presets::Preset& preset) {
  const bool program = preset.kind == presets::PresetKind::Program;
  FUZZ_CHECK(preset.chunk.empty());
  FUZZ_CHECK(preset.programs.size() == (program ? 1u : 5u));
  for (const presets::ProgramParams& p : preset.programs) {
    FUZZ_CHECK(p.values.size() == 6u);
    FUZZ_CHECK(p.name.size() <= presets::kProgramNameField);
    FUZZ_CHECK(p.name.find('\0') == std::string::npos);
    for (float v : p.values) FUZZ_CHECK(v >= 0.0f && v <= 1.0f);
  }
  if (program) FUZZ_CHECK(preset.programName == preset.programs.front().name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Exactly the file's bytes in their own block, so that reading past the
  // end is caught.
  const std::vector<uint8_t> bytes(data, data + size);
  std::string error;
  const std::optional<presets::Preset> preset = parse(bytes, error);
  if (!preset) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(error.find('\n') == std::string::npos);
    return 0;
  }
  FUZZ_CHECK(preset->currentProgram >= -1 && preset->currentProgram < kExpect.numPrograms);
  FUZZ_CHECK(preset->programName.size() <= presets::kProgramNameField);
  switch (preset->format) {
    case presets::PresetFormat::RawChunk:
      FUZZ_CHECK(preset->chunk == bytes);
      checkChunkFileRoundTrip(*preset);
      break;
    case presets::PresetFormat::ProgramChunk:
    case presets::PresetFormat::BankChunk:
      checkChunkFileRoundTrip(*preset);
      break;
    case presets::PresetFormat::ProgramParams:
    case presets::PresetFormat::BankParams:
      checkParameterLists(*preset);
      break;
  }
  return 0;
}
