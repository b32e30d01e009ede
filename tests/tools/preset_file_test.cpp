// The preset file parser and encoder on hand-built byte images: every layout
// it accepts, every lie a file can tell about its sizes, and cut-off files of
// every length. Files are built here byte by byte, not with the encoder, so a
// layout mistake in one cannot hide in the other.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "tools/presets/preset_file.h"

namespace junkyard::presets {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t code(const char (&s)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(s[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(s[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<unsigned char>(s[2])) << 8) |
                              static_cast<uint32_t>(static_cast<unsigned char>(s[3])));
}

const Expectations kExpect{code("MFjr"), 56, 280, 6, 5};

void put32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void put32(Bytes& out, int32_t v) { put32(out, static_cast<uint32_t>(v)); }
void putFloat(Bytes& out, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  put32(out, bits);
}
void set32(Bytes& file, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
void putName(Bytes& out, const std::string& name) {
  Bytes field(28, 0);
  std::memcpy(field.data(), name.data(), std::min<std::size_t>(name.size(), 28));
  out.insert(out.end(), field.begin(), field.end());
}
// The byte count after the first two fields, as a correct file has it.
void fixByteSize(Bytes& file) { set32(file, 4, static_cast<uint32_t>(file.size() - 8)); }

Bytes pattern(std::size_t n, uint8_t seed) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed + 7 * i);
  return b;
}

Bytes header(const char (&fxMagic)[5], int32_t version, int32_t count) {
  Bytes out;
  put32(out, code("CcnK"));
  put32(out, 0);  // byte count, fixed at the end
  put32(out, code(fxMagic));
  put32(out, version);
  put32(out, code("MFjr"));
  put32(out, 0x00010203);  // fxVersion
  put32(out, count);
  return out;
}

Bytes programChunkFile(const std::string& name, const Bytes& chunk) {
  Bytes out = header("FPCh", 1, 6);
  putName(out, name);
  put32(out, static_cast<int32_t>(chunk.size()));
  out.insert(out.end(), chunk.begin(), chunk.end());
  fixByteSize(out);
  return out;
}

// current < -1 gives a version 1 bank; otherwise version 2 naming current.
Bytes bankChunkFile(const Bytes& chunk, int32_t current) {
  const bool v2 = current >= -1;
  Bytes out = header("FBCh", v2 ? 2 : 1, 5);
  Bytes reserved(128, 0);
  if (v2) set32(reserved, 0, static_cast<uint32_t>(current));
  out.insert(out.end(), reserved.begin(), reserved.end());
  put32(out, static_cast<int32_t>(chunk.size()));
  out.insert(out.end(), chunk.begin(), chunk.end());
  fixByteSize(out);
  return out;
}

std::vector<float> valuesOf(int program) {
  std::vector<float> v;
  for (int j = 0; j < 6; ++j) v.push_back(static_cast<float>(program * 6 + j) / 64.0f);
  return v;
}

Bytes paramsFile(const std::string& name, const std::vector<float>& values) {
  Bytes out = header("FxCk", 1, static_cast<int32_t>(values.size()));
  putName(out, name);
  for (float v : values) putFloat(out, v);
  fixByteSize(out);
  return out;
}

Bytes paramBankFile(int32_t current) {
  Bytes out = header("FxBk", 2, 5);
  Bytes reserved(128, 0);
  set32(reserved, 0, static_cast<uint32_t>(current));
  out.insert(out.end(), reserved.begin(), reserved.end());
  for (int i = 0; i < 5; ++i) {
    Bytes record = paramsFile("Slot " + std::to_string(i), valuesOf(i));
    out.insert(out.end(), record.begin(), record.end());
  }
  fixByteSize(out);
  return out;
}

// Parses from a heap block of exactly the file's size, so a read past the
// end is caught by the address sanitizer.
std::optional<Preset> parse(const Bytes& file, std::string& error) {
  Bytes exact(file);
  return parsePreset(exact.empty() ? nullptr : exact.data(), exact.size(), kExpect, error);
}

// ---------------------------------------------------------------- accepted

struct ValidCase {
  const char* name;
  std::function<Bytes()> file;
  PresetKind kind;
  PresetFormat format;
  Bytes chunk;  // expected chunk bytes (chunk formats)
  std::string programName;
  int32_t currentProgram;
  std::size_t programs;  // parameter-list formats
};

void PrintTo(const ValidCase& c, std::ostream* os) { *os << c.name; }

class ParseValid : public ::testing::TestWithParam<ValidCase> {};

TEST_P(ParseValid, GivesTheRecordTheFileHolds) {
  const ValidCase& c = GetParam();
  std::string error = "stale";
  std::optional<Preset> preset = parse(c.file(), error);
  ASSERT_TRUE(preset) << error;
  EXPECT_EQ(error, "");
  EXPECT_EQ(preset->kind, c.kind);
  EXPECT_EQ(preset->format, c.format);
  EXPECT_EQ(preset->chunk, c.chunk);
  EXPECT_EQ(preset->programName, c.programName);
  EXPECT_EQ(preset->currentProgram, c.currentProgram);
  EXPECT_EQ(preset->programs.size(), c.programs);
  if (c.format != PresetFormat::RawChunk) {
    EXPECT_EQ(preset->fxID, code("MFjr"));
    EXPECT_EQ(preset->fxVersion, 0x00010203);
  }
}

const Bytes kProgram = pattern(56, 1);
const Bytes kBank = pattern(280, 2);
const std::string k28 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01";  // fills the field, no zero

INSTANTIATE_TEST_SUITE_P(
    Layouts, ParseValid,
    ::testing::Values(
        ValidCase{"ProgramChunk", [] { return programChunkFile("On The Edge", kProgram); },
                  PresetKind::Program, PresetFormat::ProgramChunk, kProgram, "On The Edge", -1, 0},
        ValidCase{"ProgramNameFillingTheField", [] { return programChunkFile(k28, kProgram); },
                  PresetKind::Program, PresetFormat::ProgramChunk, kProgram, k28, -1, 0},
        ValidCase{"BankVersion1", [] { return bankChunkFile(kBank, -2); }, PresetKind::Bank,
                  PresetFormat::BankChunk, kBank, "", -1, 0},
        ValidCase{"BankVersion2", [] { return bankChunkFile(kBank, 3); }, PresetKind::Bank,
                  PresetFormat::BankChunk, kBank, "", 3, 0},
        ValidCase{"BankVersion2LastProgram", [] { return bankChunkFile(kBank, 4); },
                  PresetKind::Bank, PresetFormat::BankChunk, kBank, "", 4, 0},
        // An index the plug-in lacks is dropped, the bank itself still loads.
        ValidCase{"BankVersion2CurrentTooHigh", [] { return bankChunkFile(kBank, 5); },
                  PresetKind::Bank, PresetFormat::BankChunk, kBank, "", -1, 0},
        ValidCase{"BankVersion2CurrentNegative", [] { return bankChunkFile(kBank, -1); },
                  PresetKind::Bank, PresetFormat::BankChunk, kBank, "", -1, 0},
        ValidCase{"BankVersion2CurrentHuge",
                  [] { return bankChunkFile(kBank, std::numeric_limits<int32_t>::max()); },
                  PresetKind::Bank, PresetFormat::BankChunk, kBank, "", -1, 0},
        ValidCase{"RawProgram", [] { return kProgram; }, PresetKind::Program,
                  PresetFormat::RawChunk, kProgram, "", -1, 0},
        ValidCase{"RawBank", [] { return kBank; }, PresetKind::Bank, PresetFormat::RawChunk,
                  kBank, "", -1, 0},
        ValidCase{"ParamProgram", [] { return paramsFile("Hand Made", valuesOf(2)); },
                  PresetKind::Program, PresetFormat::ProgramParams, {}, "Hand Made", -1, 1},
        ValidCase{"ParamBank", [] { return paramBankFile(2); }, PresetKind::Bank,
                  PresetFormat::BankParams, {}, "", 2, 5}),
    [](const ::testing::TestParamInfo<ValidCase>& info) { return std::string(info.param.name); });

TEST(ParseParams, ValuesAndNamesComeThroughExactly) {
  std::string error;
  std::optional<Preset> one = parse(paramsFile("Hand Made", valuesOf(3)), error);
  ASSERT_TRUE(one) << error;
  EXPECT_EQ(one->programs[0].name, "Hand Made");
  EXPECT_EQ(one->programs[0].values, valuesOf(3));

  std::optional<Preset> bank = parse(paramBankFile(0), error);
  ASSERT_TRUE(bank) << error;
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(bank->programs[i].name, "Slot " + std::to_string(i));
    EXPECT_EQ(bank->programs[i].values, valuesOf(i));
  }
}

// ---------------------------------------------------------------- refused

struct BadCase {
  const char* name;
  std::function<Bytes()> file;
  std::string reason;  // must appear in the error
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class ParseRefuses : public ::testing::TestWithParam<BadCase> {};

TEST_P(ParseRefuses, WithOneLineSayingWhy) {
  const BadCase& c = GetParam();
  std::string error;
  EXPECT_FALSE(parse(c.file(), error));
  EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

Bytes patched(Bytes file, std::size_t at, uint32_t value) {
  set32(file, at, value);
  return file;
}

Bytes program() { return programChunkFile("Dimed", kProgram); }
Bytes bank() { return bankChunkFile(kBank, 1); }

// A file whose header counts are all consistent with a chunk of n bytes.
Bytes programWithChunkOf(std::size_t n) { return programChunkFile("X", pattern(n, 9)); }

INSTANTIATE_TEST_SUITE_P(
    Files, ParseRefuses,
    ::testing::Values(
        BadCase{"Empty", [] { return Bytes{}; }, "empty"},
        BadCase{"NoMagicOddSize", [] { return patched(program(), 0, code("CcnX")); }, "CcnK"},
        BadCase{"NoMagicSizeNamed", [] { return pattern(100, 3); }, "100 bytes"},
        BadCase{"UnknownType", [] { return patched(program(), 8, code("FPXX")); }, "'FPXX'"},
        BadCase{"UnprintableType", [] { return patched(program(), 8, 0x00FF0A41); }, "\\x00\\xff\\x0aA"},
        BadCase{"OtherPluginProgram", [] { return patched(program(), 16, code("ABCD")); }, "'ABCD'"},
        BadCase{"OtherPluginBank", [] { return patched(bank(), 16, code("MFjR")); }, "'MFjR'"},
        BadCase{"ProgramVersion2", [] { return patched(program(), 12, 2); }, "version 2"},
        BadCase{"BankVersion3", [] { return patched(bank(), 12, 3); }, "version 3"},
        BadCase{"ByteSizeOneShort", [] { return patched(program(), 4, 107); }, "107 bytes"},
        BadCase{"ByteSizeOneLong", [] { return patched(program(), 4, 109); }, "truncated"},
        BadCase{"ByteSizeHuge", [] { return patched(program(), 4, 0x7FFFFFFF); }, "truncated"},
        BadCase{"ByteSizeNegative", [] { return patched(program(), 4, 0x80000000); }, "negative"},
        BadCase{"ChunkSizeShort", [] { return patched(program(), 56, 55); }, "55 bytes"},
        BadCase{"ChunkSizeHuge", [] { return patched(bank(), 156, 0x7FFFFFFF); }, "2147483647 bytes"},
        BadCase{"ChunkSizeNegative", [] { return patched(program(), 56, 0xFFFFFFF0); }, "negative"},
        BadCase{"ProgramChunkNotThePluginsSize", [] { return programWithChunkOf(57); }, "56 bytes"},
        BadCase{"ProgramChunkOfBankSize", [] { return programWithChunkOf(280); }, "56 bytes"},
        BadCase{"BankHoldingAProgramChunk", [] { return bankChunkFile(kProgram, 0); }, "280 bytes"},
        BadCase{"EmptyChunk", [] { return programWithChunkOf(0); }, "0 bytes"},
        BadCase{"ParamsCountWrong", [] { return paramsFile("x", std::vector<float>(7, 0.5f)); }, "7 parameter"},
        BadCase{"ParamsCountHuge", [] { return patched(paramsFile("x", valuesOf(0)), 24, 0x7FFFFFFF); }, "2147483647"},
        BadCase{"ParamsCountNegative", [] { return patched(paramsFile("x", valuesOf(0)), 24, 0xFFFFFFF2); }, "-14"},
        BadCase{"ParamNotANumber", [] { return paramsFile("x", {0, 0, std::nanf(""), 0, 0, 0}); }, "parameter 2"},
        BadCase{"ParamAboveOne", [] { return paramsFile("x", {0, 0, 0, 0, 1.5f, 0}); }, "parameter 4"},
        BadCase{"ParamBankCountHuge", [] { return patched(paramBankFile(0), 24, 0x7FFFFFFF); }, "2147483647 programs"},
        BadCase{"ParamBankRecordOtherPlugin",
                [] { return patched(paramBankFile(0), 156 + 2 * 80 + 16, code("ABCD")); },
                "program record 2: made for plug-in ID 'ABCD'"},
        BadCase{"ParamBankRecordNotParams",
                [] { return patched(paramBankFile(0), 156 + 80 + 8, code("FPCh")); },
                "program record 1: a bank of parameter lists can only hold FxCk"},
        BadCase{"ParamBankRecordByteSizeHuge",
                [] { return patched(paramBankFile(0), 156 + 4 * 80 + 4, 0x7FFFFFFF); },
                "program record 4"},
        BadCase{"ParamBankTrailingByte",
                [] {
                  Bytes f = paramBankFile(0);
                  f.push_back(0);
                  fixByteSize(f);
                  return f;
                },
                "1 byte after the last program record"},
        BadCase{"ParamBankHoldingBanks",
                [] {
                  Bytes f = header("FxBk", 1, 5);
                  f.resize(156, 0);
                  for (int i = 0; i < 5; ++i) {
                    Bytes inner = paramBankFile(0);
                    f.insert(f.end(), inner.begin(), inner.end());
                  }
                  fixByteSize(f);
                  return f;
                },
                "only hold FxCk"}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- cut short

struct Sample {
  const char* name;
  Bytes file;
};

std::vector<Sample> validFiles() {
  return {{"program", program()},
          {"bank", bank()},
          {"params", paramsFile("Hand Made", valuesOf(1))},
          {"param bank", paramBankFile(3)}};
}

TEST(ParseTruncated, EveryShorterPrefixIsRefused) {
  for (const Sample& s : validFiles()) {
    for (std::size_t length = 0; length < s.file.size(); ++length) {
      Bytes prefix(s.file.begin(), s.file.begin() + static_cast<std::ptrdiff_t>(length));
      std::string error;
      EXPECT_FALSE(parse(prefix, error)) << s.name << " cut to " << length;
      EXPECT_FALSE(error.empty()) << s.name << " cut to " << length;
    }
  }
}

// The same, with the outer byte count rewritten to match the cut, so the
// inner sizes (chunk size, parameter count, bank records) must catch it.
TEST(ParseTruncated, EveryPrefixWithAMatchingByteCountIsRefused) {
  for (const Sample& s : validFiles()) {
    for (std::size_t length = 8; length < s.file.size(); ++length) {
      Bytes prefix(s.file.begin(), s.file.begin() + static_cast<std::ptrdiff_t>(length));
      fixByteSize(prefix);
      std::string error;
      EXPECT_FALSE(parse(prefix, error)) << s.name << " cut to " << length;
      EXPECT_FALSE(error.empty()) << s.name << " cut to " << length;
    }
  }
}

TEST(ParseTruncated, ALongerFileIsRefusedToo) {
  for (const Sample& s : validFiles()) {
    Bytes longer = s.file;
    longer.push_back(0);
    std::string error;
    EXPECT_FALSE(parse(longer, error)) << s.name;
    fixByteSize(longer);
    EXPECT_FALSE(parse(longer, error)) << s.name << " with a matching byte count";
  }
}

// Any 32-bit field set to an extreme value: either refused, or the result
// still satisfies everything a caller relies on.
TEST(ParseExtremes, NoFieldValueBreaksTheResult) {
  const uint32_t extremes[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 56, 280, 6, 5};
  for (const Sample& s : validFiles()) {
    for (std::size_t at = 0; at + 4 <= s.file.size() && at < 200; at += 4) {
      for (uint32_t value : extremes) {
        std::string error;
        std::optional<Preset> p = parse(patched(s.file, at, value), error);
        if (!p) {
          EXPECT_FALSE(error.empty());
          continue;
        }
        SCOPED_TRACE(std::string(s.name) + " field at " + std::to_string(at));
        EXPECT_EQ(p->fxID, code("MFjr"));
        EXPECT_GE(p->currentProgram, -1);
        EXPECT_LT(p->currentProgram, 5);
        EXPECT_LE(p->programName.size(), 28u);
        if (p->format == PresetFormat::ProgramChunk) {
          EXPECT_EQ(p->chunk.size(), 56u);
        }
        if (p->format == PresetFormat::BankChunk) {
          EXPECT_EQ(p->chunk.size(), 280u);
        }
        for (const ProgramParams& program : p->programs) {
          ASSERT_EQ(program.values.size(), 6u);
          for (float v : program.values) EXPECT_TRUE(v >= 0.0f && v <= 1.0f);
        }
        if (p->format == PresetFormat::BankParams) {
          EXPECT_EQ(p->programs.size(), 5u);
        }
      }
    }
  }
}

// ---------------------------------------------------------------- encoding

TEST(Encode, ProgramFileHasTheExactLayout) {
  EXPECT_EQ(encodeProgramFile(code("MFjr"), 0x00010203, "Dimed", kProgram), program());
}

TEST(Encode, BankFileVersion2CarriesTheCurrentProgram) {
  EXPECT_EQ(encodeBankFile(code("MFjr"), 0x00010203, 1, kBank), bank());
}

TEST(Encode, BankFileWithoutCurrentProgramIsVersion1) {
  EXPECT_EQ(encodeBankFile(code("MFjr"), 0x00010203, -1, kBank), bankChunkFile(kBank, -2));
}

TEST(Encode, LongNamesKeepATerminatingZero) {
  const std::string longName(40, 'n');
  Bytes file = encodeProgramFile(code("MFjr"), 1, longName, kProgram);
  ASSERT_EQ(file.size(), 116u);
  EXPECT_EQ(file[28 + 26], 'n');
  EXPECT_EQ(file[28 + 27], 0);
  std::string error;
  std::optional<Preset> p = parse(file, error);
  ASSERT_TRUE(p) << error;
  EXPECT_EQ(p->programName, std::string(27, 'n'));
}

TEST(Encode, WhatIsWrittenParsesBackUnchanged) {
  for (const std::string& name : {std::string(""), std::string("Init"), std::string("Smooth Operator")}) {
    std::string error;
    std::optional<Preset> p =
        parse(encodeProgramFile(code("MFjr"), 7, name, pattern(56, 40)), error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->kind, PresetKind::Program);
    EXPECT_EQ(p->format, PresetFormat::ProgramChunk);
    EXPECT_EQ(p->programName, name);
    EXPECT_EQ(p->chunk, pattern(56, 40));
    EXPECT_EQ(p->fxVersion, 7);
  }
  for (int32_t current : {-1, 0, 2, 4}) {
    std::string error;
    std::optional<Preset> p = parse(encodeBankFile(code("MFjr"), 9, current, pattern(280, 50)), error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->kind, PresetKind::Bank);
    EXPECT_EQ(p->format, PresetFormat::BankChunk);
    EXPECT_EQ(p->currentProgram, current);
    EXPECT_EQ(p->chunk, pattern(280, 50));
    EXPECT_EQ(p->fxVersion, 9);
  }
}

}  // namespace
}  // namespace junkyard::presets
