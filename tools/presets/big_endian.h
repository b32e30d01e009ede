// Preset file headers are big-endian whatever the machine; these read and
// write them byte by byte so alignment and host order never matter.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace junkyard::presets::detail {

inline uint32_t readU32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

inline int32_t readI32(const uint8_t* p) { return static_cast<int32_t>(readU32(p)); }

inline float readFloat(const uint8_t* p) {
  uint32_t bits = readU32(p);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline void appendU32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

inline void appendI32(std::vector<uint8_t>& out, int32_t v) {
  appendU32(out, static_cast<uint32_t>(v));
}

constexpr uint32_t fourCC(char a, char b, char c, char d) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(d));
}

constexpr uint32_t kChunkMagic = fourCC('C', 'c', 'n', 'K');
constexpr uint32_t kProgramChunkMagic = fourCC('F', 'P', 'C', 'h');
constexpr uint32_t kBankChunkMagic = fourCC('F', 'B', 'C', 'h');
constexpr uint32_t kProgramParamsMagic = fourCC('F', 'x', 'C', 'k');
constexpr uint32_t kBankParamsMagic = fourCC('F', 'x', 'B', 'k');

// Offsets shared by every file: magic, byteSize, fxMagic, version, fxID,
// fxVersion, then the count of parameters or programs.
constexpr std::size_t kByteSizeAt = 4;
constexpr std::size_t kFxMagicAt = 8;
constexpr std::size_t kVersionAt = 12;
constexpr std::size_t kFxIdAt = 16;
constexpr std::size_t kFxVersionAt = 20;
constexpr std::size_t kCountAt = 24;
// Program files: the name field, then chunk size or parameter values.
constexpr std::size_t kNameAt = 28;
constexpr std::size_t kProgramBodyAt = 56;
// Bank files: 128 reserved bytes (version 2: current program first).
constexpr std::size_t kReservedAt = 28;
constexpr std::size_t kReservedBytes = 128;
constexpr std::size_t kBankBodyAt = 156;

}  // namespace junkyard::presets::detail
