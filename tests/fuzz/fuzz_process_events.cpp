// MIDI as the host delivers it, mixed with what the user does meanwhile:
// event lists of any content (mostly Control Change, so the controller and
// learn paths are reached), learn gestures on any tag, program changes to any
// index, parameter changes and audio blocks, in the order the input says.
// A plain model of programs, bindings and learning follows along, and the
// bank, the current program and the parameters must agree with it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_effect.h"
#include "fuzz_input.h"
#include "learn_model.h"

using junkyard::fuzz::FuzzedEffect;
using junkyard::fuzz::FuzzInput;
using junkyard::fuzz::LearnModel;

namespace {

constexpr int kMaxEvents = 64;
constexpr int kMaxSteps = 256;

// The host's VstEvents: a header followed by as many event pointers as it
// holds, in one block sized for exactly that many.
class EventList {
 public:
  explicit EventList(int count) : events_(static_cast<size_t>(count)) {
    const size_t bytes = std::max(sizeof(VstEvents), offsetof(VstEvents, events) +
                                                         sizeof(VstEvent*) * events_.size());
    block_ = static_cast<unsigned char*>(std::calloc(1, bytes));
    FUZZ_CHECK(block_ != nullptr);
    list()->numEvents = count;
    VstEvent** slots = reinterpret_cast<VstEvent**>(block_ + offsetof(VstEvents, events));
    for (size_t i = 0; i < events_.size(); ++i)
      slots[i] = reinterpret_cast<VstEvent*>(&events_[i]);
  }
  ~EventList() { std::free(block_); }
  EventList(const EventList&) = delete;
  EventList& operator=(const EventList&) = delete;

  VstEvents* list() { return reinterpret_cast<VstEvents*>(block_); }
  VstMidiEvent& event(size_t i) { return events_[i]; }

 private:
  std::vector<VstMidiEvent> events_;
  unsigned char* block_ = nullptr;
};

// One event from the input: a kind byte, then the record's 32 bytes.
//   kind % 8 == 0  the bytes as they are (any type, any size, any status)
//   otherwise      a MIDI event with a Control Change status on the channel
//                  the status byte names; kinds 4-7 also keep the data bytes
//                  in 0..127, and 6-7 pick the controller from 0..7 so that
//                  the same controller often comes twice in a row (a learn)
void readEvent(FuzzInput& in, VstMidiEvent& event) {
  const uint8_t kind = in.u8() % 8;
  uint8_t bytes[sizeof(VstMidiEvent)] = {};
  for (uint8_t& b : bytes) b = in.u8();
  std::memcpy(&event, bytes, sizeof event);
  if (kind == 0) return;
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.midiData[0] = static_cast<char>(0xB0 | (static_cast<uint8_t>(event.midiData[0]) & 0x0F));
  if (kind >= 4) {
    event.midiData[1] = static_cast<char>(event.midiData[1] & 0x7F);
    event.midiData[2] = static_cast<char>(event.midiData[2] & 0x7F);
  }
  if (kind >= 6) event.midiData[1] = static_cast<char>(event.midiData[1] & 0x07);
}

void sendEvents(FuzzedEffect& fx, FuzzInput& in, LearnModel& model) {
  const int count = in.u8() % (kMaxEvents + 1);
  EventList events(count);
  for (int i = 0; i < count; ++i) readEvent(in, events.event(static_cast<size_t>(i)));
  FUZZ_CHECK(fx.dispatch(effProcessEvents, 0, 0, events.list()) == 1);
  // Only MIDI Control Change messages count; one whose data bytes have the
  // top bit set is no valid message, and the effect drops it.
  for (int i = 0; i < count; ++i) {
    const VstMidiEvent& e = events.event(static_cast<size_t>(i));
    const auto status = static_cast<uint8_t>(e.midiData[0]);
    const auto controller = static_cast<uint8_t>(e.midiData[1]);
    const auto value = static_cast<uint8_t>(e.midiData[2]);
    if (e.type != kVstMidiType || (status & 0xF0) != 0xB0 || controller >= 0x80 || value >= 0x80)
      continue;
    model.controlChange(static_cast<int8_t>(controller), value);
  }
}

uint32_t bitsOf(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

// Any NaN may stand for any other.
bool sameFloat(float a, float b) { return bitsOf(a) == bitsOf(b) || (a != a && b != b); }

// The bank, the current program and the parameters against the model.
void checkAgainst(FuzzedEffect& fx, const LearnModel& model) {
  FUZZ_CHECK(fx.dispatch(effGetProgram) == model.current());
  void* data = nullptr;
  FUZZ_CHECK(fx.dispatch(effGetChunk, 0, 0, &data) == 5 * LearnModel::kRecordSize);
  const auto* bank = static_cast<const uint8_t*>(data);
  for (int i = 0; i < LearnModel::kPrograms; ++i) {
    const uint8_t* record = bank + i * LearnModel::kRecordSize;
    for (int j = 0; j < LearnModel::kParams; ++j) {
      float value;
      std::memcpy(&value, record + 24 + 4 * j, sizeof value);
      FUZZ_CHECK(sameFloat(value, model.value(i, j)));
      const auto slot = static_cast<int8_t>(record[48 + j]);
      const int8_t expected = model.controller(i, j);
      FUZZ_CHECK(expected >= 0 ? slot == expected : slot < 0);
    }
  }
  AEffect* effect = fx.effect();
  for (int j = 0; j < LearnModel::kParams; ++j)
    FUZZ_CHECK(sameFloat(effect->getParameter(effect, j), model.value(model.current(), j)));
}

// Tags of the editor's controls are 0..5 and 7; anything else may come too.
long readTag(FuzzInput& in) {
  const uint8_t b = in.u8();
  if (b & 0x80) return static_cast<long>(in.i64());
  return static_cast<long>(b % 10) - 1;
}

}  // namespace

// Input: steps until it runs out, each a step byte and its fields.
//   0-2  an event list through effProcessEvents: count byte (0..64), events
//   3    handleSpecialClick(tag): tag byte, or an 8-byte tag when its top bit is set
//   4    effSetProgram: value -2..13, or any 32-bit value
//   5    processReplacing: frames byte, in place when its top bit is set
//   6    setParameter: index -1..6 or any, value
//   7    getParameter of every index; programs, bindings and parameters
//        checked against the model
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  FuzzedEffect fx;
  AEffect* effect = fx.effect();
  LearnModel model;
  {
    void* bank = nullptr;
    FUZZ_CHECK(fx.dispatch(effGetChunk, 0, 0, &bank) == 5 * LearnModel::kRecordSize);
    model.start(static_cast<const uint8_t*>(bank), static_cast<int>(fx.dispatch(effGetProgram)));
  }

  for (int step = 0; step < kMaxSteps && !in.empty(); ++step) {
    switch (in.u8() % 8) {
      case 0:
      case 1:
      case 2:
        sendEvents(fx, in, model);
        break;
      case 3: {
        const long tag = readTag(in);
        fx.object()->handleSpecialClick(tag);
        model.specialClick(tag);
        break;
      }
      case 4: {
        const VstInt32 program = in.smallOr32(-2, 16);
        fx.dispatch(effSetProgram, 0, program);
        model.setProgram(program);
        break;
      }
      case 5: {
        const uint8_t b = in.u8();
        fx.processBlock(b & 0x7F, (b & 0x80) != 0);
        break;
      }
      case 6: {
        const VstInt32 index = in.smallOr32(-1, 8);
        const float value = in.interestingFloat();
        effect->setParameter(effect, index, value);
        model.setParameter(index, value);
        break;
      }
      case 7:
        for (VstInt32 j = -1; j <= 6; ++j) effect->getParameter(effect, j);
        checkAgainst(fx, model);
        break;
    }
  }
  fx.processBlock(64);
  checkAgainst(fx, model);
  return 0;
}
