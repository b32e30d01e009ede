// Preset files as hosts exchange them, and the plug-in's own raw chunks.
//
// A preset file starts with the magic 'CcnK' and a big-endian header naming
// what follows: 'FPCh' one program as an opaque chunk (.fxp), 'FBCh' the
// whole bank as an opaque chunk (.fxb), 'FxCk' one program as a plain list of
// parameter values, 'FxBk' a bank of such lists. A file without the magic is
// taken as a raw chunk when its size is one the plug-in produces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace junkyard::presets {

enum class PresetKind { Program, Bank };
enum class PresetFormat {
  RawChunk,
  ProgramChunk /*FPCh*/,
  BankChunk /*FBCh*/,
  ProgramParams /*FxCk*/,
  BankParams /*FxBk*/
};

struct ProgramParams {
  std::string name;
  std::vector<float> values;
};

struct Preset {
  PresetKind kind;
  PresetFormat format;
  std::vector<uint8_t> chunk;           // raw chunk bytes (chunk formats)
  std::vector<ProgramParams> programs;  // parameter-list formats
  std::string programName;              // FPCh/FxCk name field (up to 28 chars, no padding)
  int32_t currentProgram = -1;          // bank files of version 2 with a valid index, else -1
  int32_t fxID = 0, fxVersion = 0;
};

// What the loaded plug-in produces and accepts; files are checked against it.
struct Expectations {
  int32_t fxID;
  int32_t programChunkSize;
  int32_t bankChunkSize;
  int32_t numParams;
  int32_t numPrograms;
};

// Bytes of the fixed name field in program files.
constexpr std::size_t kProgramNameField = 28;

// Parses a whole file image; on failure returns nullopt and a one-line reason
// (without the file name). Never reads outside data[0..size) and never
// allocates more than the input could hold.
std::optional<Preset> parsePreset(const uint8_t* data, size_t size, const Expectations& expect,
                                  std::string& error);

// A version 1 'FPCh' program file. The name is cut to 27 characters so the
// field always keeps a terminating zero. Empty when the chunk is too large
// for the 32-bit size fields.
std::vector<uint8_t> encodeProgramFile(int32_t fxID, int32_t fxVersion, const std::string& name,
                                       const std::vector<uint8_t>& chunk, int32_t numParams = 6);

// An 'FBCh' bank file: version 2 carrying currentProgram when it is not
// negative, otherwise version 1 with the reserved bytes zero. Empty when the
// chunk is too large for the 32-bit size fields.
std::vector<uint8_t> encodeBankFile(int32_t fxID, int32_t fxVersion, int32_t currentProgram,
                                    const std::vector<uint8_t>& chunk, int32_t numPrograms = 5);

// 'MFjr' style text of a four-character code, with unprintable bytes as \xNN.
std::string fourCCText(int32_t code);

}  // namespace junkyard::presets
