// The dispatcher as a careless host uses it: any opcode with any index,
// value and opt, and a pointer that is either null or a valid block of
// memory. Opcodes whose published contract asks for a particular kind of
// pointer get one, as every host provides it; everything else must live with
// a zero-filled (or text-holding) block or null. Parameter changes, reads and
// audio blocks come in between.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_effect.h"
#include "fuzz_input.h"

using junkyard::fuzz::FuzzedEffect;
using junkyard::fuzz::FuzzInput;

namespace {

constexpr int kMaxSteps = 64;
constexpr size_t kBlockSize = 4096;
constexpr size_t kMaxText = 64;

// Opcodes -2..90 most of the time (all published ones and a few either side),
// any 32-bit value now and then.
VstInt32 readOpcode(FuzzInput& in) {
  const uint8_t b = in.u8();
  if (b >= 0xF0) return in.i32();
  return static_cast<VstInt32>(b % 93) - 2;
}

// Values: small ones, the two chunk sizes, or any 64-bit value.
VstIntPtr readValue(FuzzInput& in) {
  const uint8_t b = in.u8();
  if (b < 0x80) return static_cast<VstIntPtr>(b % 16) - 2;
  if (b < 0x90) return 56;
  if (b < 0xA0) return 280;
  return static_cast<VstIntPtr>(in.i64());
}

struct Call {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
  bool nullPtr;
};

// One dispatcher call. The block is zero-filled and, when the input says so,
// starts with a zero-terminated text from the input (program names, canDo
// questions, parameter strings).
void dispatchOne(FuzzedEffect& fx, FuzzInput& in, std::vector<unsigned char>& block) {
  Call call{};
  call.opcode = readOpcode(in);
  call.index = in.smallOr32(-2, 12);
  call.value = readValue(in);
  call.opt = in.interestingFloat();
  const uint8_t pointerMode = in.u8();
  call.nullPtr = (pointerMode & 1) != 0;
  std::memset(block.data(), 0, block.size());
  if (pointerMode & 2) {
    const size_t length = in.u8() % (kMaxText + 1);
    for (size_t i = 0; i < length; ++i) block[i] = in.u8();
  }
  void* ptr = call.nullPtr ? nullptr : block.data();

  // Storage for the opcodes that take something other than a plain block.
  void* chunkAddress = nullptr;
  VstSpeakerArrangement inputArrangement{};
  VstSpeakerArrangement outputArrangement{};
  VstSpeakerArrangement* arrangementSlot = nullptr;
  VstEvents emptyEvents{};

  switch (call.opcode) {
    case effClose:
      // Deletes the object; the host's record pointer is dead afterwards.
      // Each input ends with it instead.
      return;
    case effEditOpen:
      // Hosts pass their native parent window here; a block of zeros is no
      // window, and opening a real one is not what this target is for.
      return;
    case effGetChunk:
      // ptr is where the effect stores the address of its chunk: a void*.
      ptr = call.nullPtr ? nullptr : &chunkAddress;
      break;
    case effSetChunk:
      // value is the number of bytes at ptr: never more than the block holds.
      if (call.value > static_cast<VstIntPtr>(kBlockSize)) call.value = kBlockSize;
      break;
    case effProcessEvents:
      // ptr is a VstEvents list; an empty one here (fuzz_process_events has the rest).
      if (!call.nullPtr) ptr = &emptyEvents;
      break;
    case effSetSpeakerArrangement:
      // value and ptr each point at a VstSpeakerArrangement (or are null).
      call.value = (call.index & 1) ? 0 : reinterpret_cast<VstIntPtr>(&inputArrangement);
      if (!call.nullPtr) ptr = &outputArrangement;
      break;
    case effGetSpeakerArrangement:
      // value and ptr each point at a VstSpeakerArrangement* the effect fills in.
      call.value = (call.index & 1) ? 0 : reinterpret_cast<VstIntPtr>(&arrangementSlot);
      break;
    case effGetDestinationBuffer:
    case effGetIcon:
      // The answer is a pointer of the effect's; a host only passes it on.
      break;
    default:
      break;
  }

  const VstIntPtr result = fx.dispatch(call.opcode, call.index, call.value, ptr, call.opt);

  if (call.opcode == effGetChunk && !call.nullPtr) {
    // The effect's chunk must be readable for as many bytes as it claims.
    FUZZ_CHECK(result == (call.index != 0 ? 56 : 280));
    FUZZ_CHECK(chunkAddress != nullptr);
    std::vector<unsigned char> copy(static_cast<const unsigned char*>(chunkAddress),
                                    static_cast<const unsigned char*>(chunkAddress) + result);
  }
  // Whatever came before, the current program stays one of the five.
  const VstIntPtr program = fx.dispatch(effGetProgram);
  FUZZ_CHECK(program >= 0 && program < 5);
}

}  // namespace

// Input: steps until it runs out, each a step byte and its fields.
//   step % 16 < 13  a dispatcher call: opcode, index, value, opt, pointer
//                   mode (bit 0 null, bit 1 text follows: length byte, bytes)
//   13              setParameter through the record: index, value
//   14              getParameter through the record: index
//   15              processReplacing: frames byte, in place when its top bit is set
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  std::vector<unsigned char> block(kBlockSize);
  FuzzedEffect fx;
  AEffect* effect = fx.effect();

  for (int step = 0; step < kMaxSteps && !in.empty(); ++step) {
    const uint8_t kind = in.u8() % 16;
    if (kind < 13) {
      dispatchOne(fx, in, block);
    } else if (kind == 13) {
      const VstInt32 index = in.smallOr32(-2, 10);
      effect->setParameter(effect, index, in.interestingFloat());
    } else if (kind == 14) {
      effect->getParameter(effect, in.smallOr32(-2, 10));
    } else {
      const uint8_t b = in.u8();
      fx.processBlock(b & 0x7F, (b & 0x80) != 0);
    }
  }
  fx.processBlock(64);
  return 0;
}
