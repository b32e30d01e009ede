// Reading preset files. Every count and size in a file is a claim to be
// checked against the bytes actually present before anything is read or
// allocated: a file may be cut short, padded, or simply lie.
#include <cmath>
#include <cstdio>

#include "tools/presets/big_endian.h"
#include "tools/presets/preset_file.h"

namespace junkyard::presets {

using namespace detail;

namespace {

// A view of part of the file; records inside a bank are parsed through the
// same code as whole files.
struct Bytes {
  const uint8_t* data;
  std::size_t size;
};

struct Header {
  uint32_t fxMagic;
  int32_t version;
  int32_t fxID;
  int32_t fxVersion;
};

constexpr std::size_t kHeaderBytes = kCountAt + 4;

std::string number(uint64_t n) { return std::to_string(n); }

std::string bytesText(uint64_t n) { return n == 1 ? "1 byte" : number(n) + " bytes"; }

// The name field up to its first zero, never beyond the field.
std::string nameField(const uint8_t* field) {
  std::size_t length = 0;
  while (length < kProgramNameField && field[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(field), length);
}

// The common header: magic, a byteSize matching the bytes present, a known
// type, the expected plug-in ID. Parameter and program counts come later.
std::optional<Header> readHeader(Bytes in, const Expectations& expect, std::string& error) {
  if (in.size < 8) {
    error = "truncated: the header ends after " + bytesText(in.size);
    return std::nullopt;
  }
  if (readU32(in.data) != kChunkMagic) {
    error = "no 'CcnK' magic";
    return std::nullopt;
  }
  const int32_t byteSize = readI32(in.data + kByteSizeAt);
  const uint64_t follow = in.size - 8;
  if (byteSize < 0) {
    error = "the header's byte count is negative (" + std::to_string(byteSize) + ")";
    return std::nullopt;
  }
  if (static_cast<uint64_t>(byteSize) > follow) {
    error = "truncated: the header announces " + bytesText(static_cast<uint64_t>(byteSize)) +
            " after the byte count, only " + number(follow) + " are there";
    return std::nullopt;
  }
  if (static_cast<uint64_t>(byteSize) < follow) {
    error = "the header announces " + bytesText(static_cast<uint64_t>(byteSize)) +
            " after the byte count, but " + number(follow) + " are there";
    return std::nullopt;
  }
  if (in.size < kHeaderBytes) {
    error = "truncated: the header ends after " + bytesText(in.size);
    return std::nullopt;
  }
  Header h{readU32(in.data + kFxMagicAt), readI32(in.data + kVersionAt),
           readI32(in.data + kFxIdAt), readI32(in.data + kFxVersionAt)};
  if (h.fxMagic != kProgramChunkMagic && h.fxMagic != kBankChunkMagic &&
      h.fxMagic != kProgramParamsMagic && h.fxMagic != kBankParamsMagic) {
    error = "unknown preset type '" + fourCCText(static_cast<int32_t>(h.fxMagic)) +
            "' (expected FPCh, FBCh, FxCk or FxBk)";
    return std::nullopt;
  }
  if (h.fxID != expect.fxID) {
    error = "made for plug-in ID '" + fourCCText(h.fxID) + "', not for this plug-in's '" +
            fourCCText(expect.fxID) + "'";
    return std::nullopt;
  }
  const bool bank = h.fxMagic == kBankChunkMagic || h.fxMagic == kBankParamsMagic;
  if (h.version != 1 && !(bank && h.version == 2)) {
    error = "unsupported " + std::string(bank ? "bank" : "program") + " file version " +
            std::to_string(h.version);
    return std::nullopt;
  }
  return h;
}

// Version 2 banks name the program that was current; an index the plug-in
// does not have is ignored rather than trusted.
int32_t currentProgramOf(Bytes in, const Header& h, const Expectations& expect) {
  if (h.version != 2) return -1;
  const int32_t current = readI32(in.data + kReservedAt);
  return current >= 0 && current < expect.numPrograms ? current : -1;
}

// The chunk size field at `at`, the chunk after it: exactly as long as the
// field says, and as long as the plug-in's own chunk of that kind.
bool readChunk(Bytes in, std::size_t at, int32_t expectedSize, const char* what,
               std::vector<uint8_t>& chunk, std::string& error) {
  if (in.size < at + 4) {
    error = std::string("truncated: the ") + what + " header ends after " + bytesText(in.size) +
            ", " + number(at + 4) + " are needed";
    return false;
  }
  const int32_t chunkSize = readI32(in.data + at);
  const uint64_t present = in.size - (at + 4);
  if (chunkSize < 0) {
    error = "the chunk size is negative (" + std::to_string(chunkSize) + ")";
    return false;
  }
  if (static_cast<uint64_t>(chunkSize) != present) {
    error = "the chunk size says " + bytesText(static_cast<uint64_t>(chunkSize)) + ", but " +
            number(present) + " follow";
    return false;
  }
  if (chunkSize != expectedSize) {
    error = std::string("the ") + what + " chunk is " + bytesText(static_cast<uint64_t>(chunkSize)) +
            ", this plug-in's is " + bytesText(static_cast<uint64_t>(expectedSize < 0 ? 0 : expectedSize));
    return false;
  }
  chunk.assign(in.data + at + 4, in.data + in.size);
  return true;
}

std::optional<ProgramParams> readParams(Bytes in, const Expectations& expect, std::string& error) {
  if (in.size < kProgramBodyAt) {
    error = "truncated: the program header ends after " + bytesText(in.size) + ", " +
            number(kProgramBodyAt) + " are needed";
    return std::nullopt;
  }
  const int32_t count = readI32(in.data + kCountAt);
  if (count < 0 || count != expect.numParams) {
    error = "holds " + std::to_string(count) + " parameter values, this plug-in has " +
            std::to_string(expect.numParams);
    return std::nullopt;
  }
  const uint64_t needed = kProgramBodyAt + 4 * static_cast<uint64_t>(count);
  if (in.size != needed) {
    error = std::to_string(count) + " parameter values take " + bytesText(needed) +
            " with the header, but the record has " + number(in.size);
    return std::nullopt;
  }
  ProgramParams program;
  program.name = nameField(in.data + kNameAt);
  program.values.reserve(static_cast<std::size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const float value = readFloat(in.data + kProgramBodyAt + 4 * static_cast<std::size_t>(i));
    // Host values live in 0..1; anything else (NaN included) is damage.
    if (!(value >= 0.0f && value <= 1.0f)) {
      char text[32];
      std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
      error = "parameter " + std::to_string(i) + " has the value " + text + ", outside 0..1";
      return std::nullopt;
    }
    program.values.push_back(value);
  }
  return program;
}

// One FxCk record inside a bank. Only plain programs may sit there, so a
// crafted file cannot nest banks in banks.
std::optional<ProgramParams> readParamRecord(Bytes in, const Expectations& expect,
                                             std::string& error) {
  std::optional<Header> h = readHeader(in, expect, error);
  if (!h) return std::nullopt;
  if (h->fxMagic != kProgramParamsMagic) {
    error = "a bank of parameter lists can only hold FxCk programs, not '" +
            fourCCText(static_cast<int32_t>(h->fxMagic)) + "'";
    return std::nullopt;
  }
  return readParams(in, expect, error);
}

// FxBk: after the bank header, numPrograms complete FxCk files one after
// another, each sized by its own byte count.
bool readParamBank(Bytes in, const Expectations& expect, Preset& preset, std::string& error) {
  if (in.size < kBankBodyAt) {
    error = "truncated: the bank header ends after " + bytesText(in.size) + ", " +
            number(kBankBodyAt) + " are needed";
    return false;
  }
  const int32_t count = readI32(in.data + kCountAt);
  if (count < 0 || count != expect.numPrograms) {
    error = "holds " + std::to_string(count) + " programs, this plug-in has " +
            std::to_string(expect.numPrograms);
    return false;
  }
  // Every record is at least a program header long; a count the bytes cannot
  // hold is refused before anything is reserved for it.
  if (static_cast<uint64_t>(count) * kProgramBodyAt > in.size - kBankBodyAt) {
    error = std::to_string(count) + " programs cannot fit in the " +
            bytesText(in.size - kBankBodyAt) + " after the bank header";
    return false;
  }
  preset.programs.reserve(static_cast<std::size_t>(count));
  std::size_t at = kBankBodyAt;
  for (int32_t i = 0; i < count; ++i) {
    const std::string where = "program record " + std::to_string(i) + ": ";
    const std::size_t left = in.size - at;
    if (left < 8) {
      error = where + "truncated after " + bytesText(left);
      return false;
    }
    const int32_t byteSize = readI32(in.data + at + kByteSizeAt);
    if (byteSize < 0 || static_cast<uint64_t>(byteSize) > left - 8) {
      error = where + "announces " + std::to_string(byteSize) + " bytes, only " +
              number(left - 8) + " are left";
      return false;
    }
    Bytes record{in.data + at, 8 + static_cast<std::size_t>(byteSize)};
    std::string recordError;
    std::optional<ProgramParams> program = readParamRecord(record, expect, recordError);
    if (!program) {
      error = where + recordError;
      return false;
    }
    preset.programs.push_back(std::move(*program));
    at += record.size;
  }
  if (at != in.size) {
    error = bytesText(in.size - at) + " after the last program record";
    return false;
  }
  return true;
}

std::optional<Preset> parseFile(Bytes in, const Expectations& expect, std::string& error) {
  std::optional<Header> h = readHeader(in, expect, error);
  if (!h) return std::nullopt;

  Preset preset;
  preset.fxID = h->fxID;
  preset.fxVersion = h->fxVersion;
  switch (h->fxMagic) {
    case kProgramChunkMagic:
      preset.kind = PresetKind::Program;
      preset.format = PresetFormat::ProgramChunk;
      if (in.size < kProgramBodyAt) {
        error = "truncated: the program header ends after " + bytesText(in.size);
        return std::nullopt;
      }
      preset.programName = nameField(in.data + kNameAt);
      if (!readChunk(in, kProgramBodyAt, expect.programChunkSize, "program", preset.chunk, error)) {
        return std::nullopt;
      }
      return preset;
    case kBankChunkMagic:
      preset.kind = PresetKind::Bank;
      preset.format = PresetFormat::BankChunk;
      if (in.size < kBankBodyAt) {
        error = "truncated: the bank header ends after " + bytesText(in.size);
        return std::nullopt;
      }
      preset.currentProgram = currentProgramOf(in, *h, expect);
      if (!readChunk(in, kBankBodyAt, expect.bankChunkSize, "bank", preset.chunk, error)) {
        return std::nullopt;
      }
      return preset;
    case kProgramParamsMagic: {
      preset.kind = PresetKind::Program;
      preset.format = PresetFormat::ProgramParams;
      std::optional<ProgramParams> program = readParams(in, expect, error);
      if (!program) return std::nullopt;
      preset.programName = program->name;
      preset.programs.push_back(std::move(*program));
      return preset;
    }
    default:  // kBankParamsMagic; readHeader let nothing else through
      preset.kind = PresetKind::Bank;
      preset.format = PresetFormat::BankParams;
      if (!readParamBank(in, expect, preset, error)) return std::nullopt;
      preset.currentProgram = currentProgramOf(in, *h, expect);
      return preset;
  }
}

}  // namespace

std::string fourCCText(int32_t code) {
  std::string text;
  const uint32_t bits = static_cast<uint32_t>(code);
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned char c = static_cast<unsigned char>(bits >> shift);
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      text += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      text += escaped;
    }
  }
  return text;
}

std::optional<Preset> parsePreset(const uint8_t* data, size_t size, const Expectations& expect,
                                  std::string& error) {
  error.clear();
  if (!data) size = 0;
  const bool rawProgram = expect.programChunkSize > 0 &&
                          size == static_cast<std::size_t>(expect.programChunkSize);
  const bool rawBank =
      expect.bankChunkSize > 0 && size == static_cast<std::size_t>(expect.bankChunkSize);

  // The magic decides: a damaged preset file cut to a chunk's length must
  // not pass for a raw chunk. (A raw chunk whose first program is named
  // "CcnK..." is the price; no such name is worth the ambiguity.)
  if (size >= 4 && readU32(data) == kChunkMagic) {
    return parseFile(Bytes{data, size}, expect, error);
  }
  if (rawProgram || rawBank) {
    Preset preset;
    preset.kind = rawProgram ? PresetKind::Program : PresetKind::Bank;
    preset.format = PresetFormat::RawChunk;
    preset.chunk.assign(data, data + size);
    return preset;
  }
  if (size == 0) {
    error = "empty file";
  } else {
    error = "not a preset file (no 'CcnK' magic) and " + bytesText(size) +
            " is not the size of a raw program chunk (" +
            bytesText(static_cast<uint64_t>(expect.programChunkSize < 0 ? 0 : expect.programChunkSize)) +
            ") or bank chunk (" +
            bytesText(static_cast<uint64_t>(expect.bankChunkSize < 0 ? 0 : expect.bankChunkSize)) + ")";
  }
  return std::nullopt;
}

}  // namespace junkyard::presets
