// MIDI event lists as a host builds them, for the tests that deliver them.
#pragma once

#include <cstdint>
#include <vector>

#include "host/vst_abi.h"

inline VstMidiEvent midiMessage(uint8_t status, uint8_t data1, uint8_t data2) {
  VstMidiEvent e{};
  e.type = kVstMidiType;
  e.byteSize = sizeof(VstMidiEvent);
  e.midiData[0] = static_cast<char>(status);
  e.midiData[1] = static_cast<char>(data1);
  e.midiData[2] = static_cast<char>(data2);
  return e;
}

// A VstEvents record holding the messages, valid while this object lives.
class MidiEventList {
 public:
  explicit MidiEventList(std::vector<VstMidiEvent> messages)
      : messages_(std::move(messages)),
        storage_(sizeof(VstEvents) + messages_.size() * sizeof(VstEvent*)) {
    auto* list = get();
    list->numEvents = static_cast<VstInt32>(messages_.size());
    // Through a plain pointer: the member array declares two entries, the list holds more.
    VstEvent** slots = list->events;
    for (size_t i = 0; i < messages_.size(); ++i) slots[i] = reinterpret_cast<VstEvent*>(&messages_[i]);
  }
  VstEvents* get() { return reinterpret_cast<VstEvents*>(storage_.data()); }

 private:
  std::vector<VstMidiEvent> messages_;
  std::vector<unsigned char> storage_;
};
