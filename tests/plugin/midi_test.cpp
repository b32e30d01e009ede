// Control Change messages reaching bound parameters through the dispatcher.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin_fixture.h"

namespace plugin_test {
namespace {

VstMidiEvent message(uint8_t status, uint8_t data1, uint8_t data2) {
  VstMidiEvent e{};
  e.type = kVstMidiType;
  e.byteSize = sizeof(VstMidiEvent);
  e.midiData[0] = static_cast<char>(status);
  e.midiData[1] = static_cast<char>(data1);
  e.midiData[2] = static_cast<char>(data2);
  return e;
}

VstIntPtr send(PluginInstance& effect, std::vector<VstMidiEvent> messages) {
  std::vector<unsigned char> storage(sizeof(VstEvents) + messages.size() * sizeof(VstEvent*));
  auto* list = reinterpret_cast<VstEvents*>(storage.data());
  list->numEvents = static_cast<VstInt32>(messages.size());
  // Through a plain pointer: the member array declares two entries, the list holds more.
  VstEvent** slots = list->events;
  for (size_t i = 0; i < messages.size(); ++i) slots[i] = reinterpret_cast<VstEvent*>(&messages[i]);
  return effect.dispatch(effProcessEvents, 0, 0, list);
}

// Bindings arrive with a restored program: controller 21 on Delay and Repeat.
std::unique_ptr<PluginInstance> boundInstance() {
  auto effect = makeInstance();
  void* data = nullptr;
  effect->dispatch(effGetChunk, 1, 0, &data);
  std::vector<uint8_t> record(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + 56);
  record[48 + kDelay] = 21;
  record[48 + kRepeat] = 21;
  effect->dispatch(effSetChunk, 1, 56, record.data());
  return effect;
}

TEST(Midi, ControlChangeOnAnyChannelMovesEveryBoundParameter) {
  auto effect = boundInstance();
  EXPECT_EQ(send(*effect, {message(0xB0, 21, 127)}), 1);
  EXPECT_EQ(effect->getParameter(kDelay), 1.0f);
  EXPECT_EQ(effect->getParameter(kRepeat), 1.0f);
  send(*effect, {message(0xBF, 21, 0)});
  EXPECT_EQ(effect->getParameter(kDelay), 0.0f);
  EXPECT_EQ(effect->getParameter(kRepeat), 0.0f);
  send(*effect, {message(0xB5, 21, 64), message(0xB5, 22, 127)});  // the last one is unbound
  EXPECT_EQ(effect->getParameter(kDelay), 64.0f / 127.0f);
  EXPECT_EQ(effect->getParameterDisplay(kRepeat), "5.0");
}

TEST(Midi, OtherMessagesAndMalformedDataAreIgnored) {
  auto effect = boundInstance();
  send(*effect, {message(0xB0, 21, 0)});
  send(*effect, {message(0x90, 21, 127), message(0xC0, 21, 0), message(0xB0, 21, 0x80),
                 message(0xB0, 21 | 0x80, 127), message(0xF0, 21, 127)});
  EXPECT_EQ(effect->getParameter(kDelay), 0.0f);
  EXPECT_EQ(send(*effect, {}), 1);
}

TEST(Midi, BindingsFollowProgramChanges) {
  auto effect = boundInstance();
  effect->dispatch(effSetProgram, 0, 1);
  const float delay = effect->getParameter(kDelay);
  send(*effect, {message(0xB0, 21, 0)});
  EXPECT_EQ(effect->getParameter(kDelay), delay);
  effect->dispatch(effSetProgram, 0, 0);
  send(*effect, {message(0xB0, 21, 0)});
  EXPECT_EQ(effect->getParameter(kDelay), 0.0f);
}

}  // namespace
}  // namespace plugin_test
