// Control Change messages reaching bound parameters through the dispatcher.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "midi_events.h"
#include "plugin_fixture.h"

namespace plugin_test {
namespace {

VstIntPtr send(PluginInstance& effect, std::vector<VstMidiEvent> messages) {
  MidiEventList list(std::move(messages));
  return effect.dispatch(effProcessEvents, 0, 0, list.get());
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
  EXPECT_EQ(send(*effect, {midiMessage(0xB0, 21, 127)}), 1);
  EXPECT_EQ(effect->getParameter(kDelay), 1.0f);
  EXPECT_EQ(effect->getParameter(kRepeat), 1.0f);
  send(*effect, {midiMessage(0xBF, 21, 0)});
  EXPECT_EQ(effect->getParameter(kDelay), 0.0f);
  EXPECT_EQ(effect->getParameter(kRepeat), 0.0f);
  send(*effect, {midiMessage(0xB5, 21, 64), midiMessage(0xB5, 22, 127)});  // the last one is unbound
  EXPECT_EQ(effect->getParameter(kDelay), 64.0f / 127.0f);
  EXPECT_EQ(effect->getParameterDisplay(kRepeat), "5.0");
}

TEST(Midi, OtherMessagesAndMalformedDataAreIgnored) {
  auto effect = boundInstance();
  send(*effect, {midiMessage(0xB0, 21, 0)});
  send(*effect, {midiMessage(0x90, 21, 127), midiMessage(0xC0, 21, 0), midiMessage(0xB0, 21, 0x80),
                 midiMessage(0xB0, 21 | 0x80, 127), midiMessage(0xF0, 21, 127)});
  EXPECT_EQ(effect->getParameter(kDelay), 0.0f);
  EXPECT_EQ(send(*effect, {}), 1);
}

TEST(Midi, BindingsFollowProgramChanges) {
  auto effect = boundInstance();
  effect->dispatch(effSetProgram, 0, 1);
  const float delay = effect->getParameter(kDelay);
  send(*effect, {midiMessage(0xB0, 21, 0)});
  EXPECT_EQ(effect->getParameter(kDelay), delay);
  effect->dispatch(effSetProgram, 0, 0);
  send(*effect, {midiMessage(0xB0, 21, 0)});
  EXPECT_EQ(effect->getParameter(kDelay), 0.0f);
}

}  // namespace
}  // namespace plugin_test
