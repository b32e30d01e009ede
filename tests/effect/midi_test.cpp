// Control Change messages, bindings and the learn gesture, driven the way the
// host (events) and the editor (special clicks) drive them.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "bramble_probe.h"
#include "midi_events.h"
#include "params/bramble_param_manager.h"

namespace {

class MidiProbe : public BrambleProbe {
 public:
  std::vector<std::pair<long, bool>> marks;
  std::vector<int> changed;  // parameters set, in order
  void highlightControl(long tag, bool on) override { marks.emplace_back(tag, on); }
  void setParameter(VstInt32 index, float value) override {
    changed.push_back(index);
    BrambleProbe::setParameter(index, value);
  }

  int8_t slot(int program, int parameter) {
    void* data = nullptr;
    getChunk(&data, false);
    return static_cast<const int8_t*>(data)[56 * program + 48 + parameter];
  }
};

// Delivers the messages as one event list, as a host does before a block.
void deliver(bramble& effect, std::vector<VstMidiEvent> messages) {
  MidiEventList list(std::move(messages));
  EXPECT_EQ(effect.processEvents(list.get()), 1);
}

void cc(bramble& effect, uint8_t controller, uint8_t value, uint8_t channel = 0) {
  deliver(effect, {midiMessage(0xB0 | channel, controller, value)});
}

class Midi : public ::testing::Test {
 protected:
  // Binds `controller` to `parameter` with the learn gesture.
  void learn(long tag, uint8_t controller) {
    effect.handleSpecialClick(tag);
    cc(effect, controller, 1);
    cc(effect, controller, 2);
  }
  MidiProbe effect;
};

TEST_F(Midi, LearnBindsOnTheSecondMessageOfOneController) {
  const float depth = effect.getParameter(kDepth);
  effect.handleSpecialClick(kDepth);
  EXPECT_EQ(effect.marks, (std::vector<std::pair<long, bool>>{{kDepth, true}}));
  cc(effect, 7, 100);
  EXPECT_EQ(effect.slot(0, kDepth), -1);
  cc(effect, 7, 10);
  EXPECT_EQ(effect.slot(0, kDepth), 7);
  EXPECT_EQ(effect.marks.back(), std::make_pair(long{kDepth}, false));
  EXPECT_EQ(effect.getParameter(kDepth), depth);  // learning messages move nothing

  const std::pair<uint8_t, float> values[] = {{127, 1.0f}, {0, 0.0f}, {64, 64.0f / 127.0f}};
  for (const auto& [value, host] : values) {
    cc(effect, 7, value);
    EXPECT_EQ(effect.getParameter(kDepth), host) << int(value);
  }
  char text[16];
  cc(effect, 7, 127);
  effect.getParameterDisplay(kDepth, text);
  EXPECT_STREQ(text, "10.0");
}

TEST_F(Midi, AlternatingControllersOnlyPrime) {
  effect.handleSpecialClick(kDelay);
  cc(effect, 7, 1);
  cc(effect, 10, 1);
  cc(effect, 7, 1);
  EXPECT_EQ(effect.slot(0, kDelay), -1);
  cc(effect, 7, 1);
  EXPECT_EQ(effect.slot(0, kDelay), 7);
}

TEST_F(Midi, AnyChannelButOnlyControlChange) {
  learn(kRepeat, 20);
  deliver(effect, {midiMessage(0xBF, 20, 127)});  // channel 16
  EXPECT_EQ(effect.getParameter(kRepeat), 1.0f);
  deliver(effect, {midiMessage(0x90, 20, 0), midiMessage(0xE0, 20, 0), midiMessage(0xA0, 20, 0)});  // note, bend, pressure
  EXPECT_EQ(effect.getParameter(kRepeat), 1.0f);
  VstMidiEvent sysex = midiMessage(0xB0, 20, 0);
  sysex.type = 6;  // not a MIDI event record
  deliver(effect, {sysex});
  EXPECT_EQ(effect.getParameter(kRepeat), 1.0f);
}

TEST_F(Midi, MalformedDataBytesAreIgnored) {
  learn(kRepeat, 20);
  cc(effect, 20, 0);
  deliver(effect, {midiMessage(0xB0, 20, 0x80), midiMessage(0xB0, 20, 0xFF), midiMessage(0xB0, 0x80 | 20, 127)});
  EXPECT_EQ(effect.getParameter(kRepeat), 0.0f);
  EXPECT_EQ(effect.processEvents(nullptr), 1);
}

TEST_F(Midi, OneControllerDrivesSeveralParametersInOrder) {
  learn(kRepeat, 5);
  learn(kDelay, 5);
  effect.changed.clear();
  cc(effect, 5, 127);
  EXPECT_EQ(effect.changed, (std::vector<int>{kDelay, kRepeat}));
  EXPECT_EQ(effect.getParameter(kDelay), 1.0f);
  EXPECT_EQ(effect.getParameter(kRepeat), 1.0f);
}

TEST_F(Midi, RelearningReplacesTheParametersController) {
  learn(kDelay, 5);
  learn(kDelay, 6);
  EXPECT_EQ(effect.slot(0, kDelay), 6);
  cc(effect, 5, 127);
  EXPECT_NE(effect.getParameter(kDelay), 1.0f);
  cc(effect, 6, 127);
  EXPECT_EQ(effect.getParameter(kDelay), 1.0f);
}

TEST_F(Midi, GestureOnAnotherControlMovesTheTarget) {
  effect.handleSpecialClick(kDelay);
  effect.handleSpecialClick(kRepeat);
  EXPECT_EQ(effect.marks, (std::vector<std::pair<long, bool>>{
                              {kDelay, true}, {kDelay, false}, {kRepeat, true}}));
  cc(effect, 9, 0);
  cc(effect, 9, 0);
  EXPECT_EQ(effect.slot(0, kRepeat), 9);
  EXPECT_EQ(effect.slot(0, kDelay), -1);
}

TEST_F(Midi, GestureOnTheArmedControlCancelsAndUnbinds) {
  learn(kDelay, 1);
  effect.marks.clear();
  effect.handleSpecialClick(kDelay);
  effect.handleSpecialClick(kDelay);
  EXPECT_EQ(effect.slot(0, kDelay), -1);
  EXPECT_EQ(effect.marks, (std::vector<std::pair<long, bool>>{{kDelay, true}, {kDelay, false}}));
  const float delay = effect.getParameter(kDelay);
  cc(effect, 1, 127);  // idle again, and nothing is bound
  EXPECT_EQ(effect.getParameter(kDelay), delay);
}

// A controller that primed a cancelled learn completes the next one at once.
TEST_F(Midi, LastControllerSurvivesACancel) {
  effect.handleSpecialClick(kDelay);
  cc(effect, 4, 0);
  effect.handleSpecialClick(kDelay);
  effect.handleSpecialClick(kRepeat);
  cc(effect, 4, 0);
  EXPECT_EQ(effect.slot(0, kRepeat), 4);
}

TEST_F(Midi, TheAboutBoxTagLearnsButDrivesNothing) {
  const float before[6] = {effect.getParameter(0), effect.getParameter(1), effect.getParameter(2),
                           effect.getParameter(3), effect.getParameter(4), effect.getParameter(5)};
  learn(7, 3);
  EXPECT_EQ(effect.marks.back(), std::make_pair(long{7}, false));
  cc(effect, 3, 127);
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(effect.getParameter(j), before[j]) << j;
    EXPECT_EQ(effect.slot(0, j), -1) << j;
  }
  effect.handleSpecialClick(7);  // a new learn starts, idle before
  EXPECT_EQ(effect.marks.back(), std::make_pair(long{7}, true));
}

TEST_F(Midi, BindingsFollowTheProgram) {
  learn(kDepth, 11);
  effect.setProgram(1);
  const float depth = effect.getParameter(kDepth);
  cc(effect, 11, 0);
  EXPECT_EQ(effect.getParameter(kDepth), depth);
  effect.setProgram(0);
  cc(effect, 11, 0);
  EXPECT_EQ(effect.getParameter(kDepth), 0.0f);
}

// A learn completed after a program change belongs to the new program.
TEST_F(Midi, ProgramChangesNeitherArmNorCancel) {
  effect.handleSpecialClick(kMicLevel);
  effect.setProgram(2);
  cc(effect, 12, 0);
  cc(effect, 12, 0);
  EXPECT_EQ(effect.slot(2, kMicLevel), 12);
  EXPECT_EQ(effect.slot(0, kMicLevel), -1);
}

}  // namespace
