// Reads a fuzz input front to back as the fields of a script. Past the end
// every field reads as zero, so any prefix of an input is a shorter script,
// and seed files can be written by hand or by make_corpus.py.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace junkyard::fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }
  size_t remaining() const { return empty() ? 0 : size_ - at_; }
  const uint8_t* cursor() const { return data_ + at_; }

  uint8_t u8() {
    uint8_t v = 0;
    take(&v, 1);
    return v;
  }
  uint32_t u32() {
    uint8_t b[4] = {};
    take(b, 4);
    return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
  }
  int32_t i32() { return static_cast<int32_t>(u32()); }
  int64_t i64() {
    const uint64_t low = u32();
    const uint64_t high = u32();
    return static_cast<int64_t>(low | high << 32);
  }
  float f32bits() {
    const uint32_t bits = u32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  // Skips up to n bytes and returns how many there were.
  size_t skip(size_t n) {
    const size_t got = n < remaining() ? n : remaining();
    at_ += got;
    return got;
  }

  // A small number near the interesting range most of the time (low seven
  // bits give lowest .. lowest+span-1), any 32-bit value when the top bit is set.
  int32_t smallOr32(int32_t lowest, int32_t span) {
    const uint8_t b = u8();
    if (b & 0x80) return i32();
    return lowest + static_cast<int32_t>(b % span);
  }

  // A float that is mostly one of the values hosts send or that break naive
  // code, sometimes any bit pattern.
  float interestingFloat() {
    static const float kValues[] = {0.0f,     1.0f,       0.5f,      -1.0f,    1.5f,
                                    -0.0f,    44100.0f,   48000.0f,  96000.0f, 2.9f,
                                    1e-30f,   1e30f,      3.4e38f,   -3.4e38f, 1e-45f,
                                    __builtin_nanf(""),   -__builtin_nanf(""), __builtin_inff(),
                                    -__builtin_inff(),    0.99999994f, 1.0000001f};
    constexpr uint8_t kCount = sizeof kValues / sizeof kValues[0];
    const uint8_t b = u8();
    if (b >= 0xC0) return f32bits();
    return kValues[b % kCount];
  }

 private:
  void take(uint8_t* out, size_t n) {
    const size_t got = n < remaining() ? n : remaining();
    if (got) std::memcpy(out, data_ + at_, got);
    at_ += got;
  }

  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// A broken promise of the code under test: report and abort, so that
// libFuzzer keeps the input that led here.
[[noreturn]] inline void fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace junkyard::fuzz

#define FUZZ_CHECK(condition)                                                \
  do {                                                                       \
    if (!(condition)) ::junkyard::fuzz::fail(__FILE__, __LINE__, #condition); \
  } while (0)
