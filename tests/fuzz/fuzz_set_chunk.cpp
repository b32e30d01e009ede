// Chunks as a host hands them back from a saved session: any bytes and any
// size, for a program or the bank, through the dispatcher or straight to the
// effect. A restore must keep exactly what it was given, a refused one must
// change nothing, and every text the host asks for afterwards must fit the
// host's buffer.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_effect.h"
#include "fuzz_input.h"

using junkyard::fuzz::askText;
using junkyard::fuzz::FuzzedEffect;
using junkyard::fuzz::FuzzInput;
using junkyard::fuzz::leavesBufferAlone;

namespace {

constexpr size_t kRecordSize = 56;
constexpr size_t kBankSize = 5 * kRecordSize;
constexpr size_t kNameField = 24;
constexpr size_t kValuesAt = 24;
constexpr size_t kControllersAt = 48;
constexpr int kParams = 6;

std::vector<uint8_t> chunkOf(FuzzedEffect& fx, bool preset) {
  void* data = nullptr;
  const VstIntPtr size = fx.dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
  FUZZ_CHECK(size == static_cast<VstIntPtr>(preset ? kRecordSize : kBankSize));
  FUZZ_CHECK(data != nullptr);
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

uint32_t bitsAt(const uint8_t* p) {
  uint32_t bits;
  std::memcpy(&bits, p, sizeof bits);
  return bits;
}

bool isNaNBits(uint32_t bits) { return (bits & 0x7F800000u) == 0x7F800000u && (bits & 0x7FFFFFu); }

// A stored value comes back as the same float; any NaN may stand for any NaN.
bool sameValue(uint32_t a, uint32_t b) { return a == b || (isNaNBits(a) && isNaNBits(b)); }

// The name a program shows: up to its zero, never more than 23 characters.
std::string shownName(const uint8_t* record) {
  const char* name = reinterpret_cast<const char*>(record);
  size_t length = strnlen(name, kNameField);
  if (length > kNameField - 1) length = kNameField - 1;
  return std::string(name, length);
}

// One restored record against the bytes it came from: the name up to its
// zero (a name filling all 24 bytes may lose its last character to a zero),
// the values as given, bound controllers as given and unbound ones unbound.
// The reserved bytes mean nothing.
void checkSameRecord(const uint8_t* given, const uint8_t* kept) {
  const size_t length = strnlen(reinterpret_cast<const char*>(given), kNameField);
  if (length < kNameField) {
    FUZZ_CHECK(std::memcmp(given, kept, length + 1) == 0);
  } else {
    FUZZ_CHECK(std::memcmp(given, kept, kNameField - 1) == 0);
    FUZZ_CHECK(kept[kNameField - 1] == given[kNameField - 1] || kept[kNameField - 1] == 0);
  }
  for (int j = 0; j < kParams; ++j) {
    FUZZ_CHECK(sameValue(bitsAt(given + kValuesAt + 4 * j), bitsAt(kept + kValuesAt + 4 * j)));
    const auto in = static_cast<int8_t>(given[kControllersAt + j]);
    const auto out = static_cast<int8_t>(kept[kControllersAt + j]);
    FUZZ_CHECK(in >= 0 ? out == in : out < 0);
  }
}

uint32_t floatBits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

}  // namespace

// Input: one mode byte, then the chunk bytes.
//   bit 0     preset flag (one program) instead of the bank
//   bit 1     through the dispatcher (effSetChunk) instead of a direct call
//   bits 2-3  size: 0 = 56, 1 = 280, 2/3 = all the remaining bytes
//             (never more than there are)
//   bits 4-7  program made current first, modulo 5
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const uint8_t mode = in.u8();
  const bool preset = (mode & 1) != 0;
  const bool viaDispatcher = (mode & 2) != 0;
  const int sizeChoice = (mode >> 2) & 3;
  const int program = (mode >> 4) % 5;

  const size_t available = in.remaining();
  size_t chunkSize = sizeChoice == 0 ? kRecordSize : sizeChoice == 1 ? kBankSize : available;
  if (chunkSize > available) chunkSize = available;
  // Exactly the claimed bytes in their own block, so that reading one byte
  // past them is caught.
  std::vector<uint8_t> chunk(in.cursor(), in.cursor() + chunkSize);
  void* chunkData = chunk.empty() ? nullptr : chunk.data();

  FuzzedEffect fx;
  fx.dispatch(effSetProgram, 0, program);
  FUZZ_CHECK(fx.dispatch(effGetProgram) == program);
  const std::vector<uint8_t> bankBefore = chunkOf(fx, false);

  VstIntPtr result;
  if (viaDispatcher)
    result = fx.dispatch(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(chunkSize), chunkData);
  else
    result = fx.object()->setChunk(chunkData, static_cast<VstInt32>(chunkSize), preset);

  const bool fits = chunkData != nullptr && chunkSize == (preset ? kRecordSize : kBankSize);
  FUZZ_CHECK(result == (fits ? 1 : 0));
  FUZZ_CHECK(fx.dispatch(effGetProgram) == program);

  const std::vector<uint8_t> bankAfter = chunkOf(fx, false);
  if (!fits) {
    FUZZ_CHECK(bankAfter == bankBefore);
  } else if (preset) {
    for (int i = 0; i < 5; ++i) {
      if (i == program)
        checkSameRecord(chunk.data(), &bankAfter[i * kRecordSize]);
      else
        FUZZ_CHECK(std::memcmp(&bankBefore[i * kRecordSize], &bankAfter[i * kRecordSize],
                               kRecordSize) == 0);
    }
  } else {
    for (int i = 0; i < 5; ++i)
      checkSameRecord(&chunk[i * kRecordSize], &bankAfter[i * kRecordSize]);
  }
  const std::vector<uint8_t> current = chunkOf(fx, true);
  FUZZ_CHECK(std::memcmp(current.data(), &bankAfter[program * kRecordSize], kRecordSize) == 0);

  // The restored program is the one in force: its values reach the parameters unchanged.
  for (int j = 0; j < kParams; ++j) {
    const float value = fx.effect()->getParameter(fx.effect(), j);
    FUZZ_CHECK(sameValue(floatBits(value), bitsAt(current.data() + kValuesAt + 4 * j)));
  }

  // Names: 24-byte host buffers, and the stored name as the program shows it.
  for (int i = 0; i < 5; ++i) {
    const std::string name = askText(kNameField, [&](char* text) {
      FUZZ_CHECK(fx.dispatch(effGetProgramNameIndexed, i, 0, text) == 1);
    });
    FUZZ_CHECK(name == shownName(&bankAfter[i * kRecordSize]));
  }
  for (int i : {-1, 5, INT32_MIN, INT32_MAX}) {
    FUZZ_CHECK(leavesBufferAlone([&](char* text) {
      FUZZ_CHECK(fx.dispatch(effGetProgramNameIndexed, i, 0, text) == 0);
    }));
  }
  const std::string currentName =
      askText(kNameField, [&](char* text) { fx.dispatch(effGetProgramName, 0, 0, text); });
  const std::string stored = shownName(current.data());
  FUZZ_CHECK(currentName == (stored == "Init" ? "Init " + std::to_string(program + 1) : stored));

  // Parameter texts: eight characters and the zero, whatever the values are.
  for (int j = -1; j <= kParams; ++j) {
    askText(9, [&](char* text) { fx.dispatch(effGetParamDisplay, j, 0, text); });
    askText(9, [&](char* text) { fx.dispatch(effGetParamLabel, j, 0, text); });
    askText(9, [&](char* text) { fx.dispatch(effGetParamName, j, 0, text); });
  }

  fx.processBlock(64);
  return 0;
}
