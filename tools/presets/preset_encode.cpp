// Writing .fxp and .fxb files around the plug-in's opaque chunks.
#include <limits>

#include "tools/presets/big_endian.h"
#include "tools/presets/preset_file.h"

namespace junkyard::presets {

using namespace detail;

namespace {

// Room left in the signed 32-bit byte count once the largest header is in.
bool chunkFits(const std::vector<uint8_t>& chunk) {
  return chunk.size() <= static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) -
                             (kBankBodyAt + 4);
}

void appendHeader(std::vector<uint8_t>& out, std::size_t totalSize, uint32_t fxMagic,
                  int32_t version, int32_t fxID, int32_t fxVersion, int32_t count) {
  appendU32(out, kChunkMagic);
  appendI32(out, static_cast<int32_t>(totalSize - 8));
  appendU32(out, fxMagic);
  appendI32(out, version);
  appendI32(out, fxID);
  appendI32(out, fxVersion);
  appendI32(out, count);
}

}  // namespace

std::vector<uint8_t> encodeProgramFile(int32_t fxID, int32_t fxVersion, const std::string& name,
                                       const std::vector<uint8_t>& chunk, int32_t numParams) {
  if (!chunkFits(chunk)) return {};
  const std::size_t total = kProgramBodyAt + 4 + chunk.size();
  std::vector<uint8_t> out;
  out.reserve(total);
  appendHeader(out, total, kProgramChunkMagic, 1, fxID, fxVersion, numParams);
  // At most 27 characters, so readers that expect a terminator find one;
  // an embedded zero ends the name early, as it would in the field.
  std::size_t length = 0;
  while (length < name.size() && length < kProgramNameField - 1 && name[length] != '\0') ++length;
  out.insert(out.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(length));
  out.resize(kProgramBodyAt, 0);
  appendI32(out, static_cast<int32_t>(chunk.size()));
  out.insert(out.end(), chunk.begin(), chunk.end());
  return out;
}

std::vector<uint8_t> encodeBankFile(int32_t fxID, int32_t fxVersion, int32_t currentProgram,
                                    const std::vector<uint8_t>& chunk, int32_t numPrograms) {
  if (!chunkFits(chunk)) return {};
  const std::size_t total = kBankBodyAt + 4 + chunk.size();
  const bool withCurrent = currentProgram >= 0;
  std::vector<uint8_t> out;
  out.reserve(total);
  appendHeader(out, total, kBankChunkMagic, withCurrent ? 2 : 1, fxID, fxVersion, numPrograms);
  if (withCurrent) appendI32(out, currentProgram);
  out.resize(kBankBodyAt, 0);
  appendI32(out, static_cast<int32_t>(chunk.size()));
  out.insert(out.end(), chunk.begin(), chunk.end());
  return out;
}

}  // namespace junkyard::presets
