// What a host sees of the module before any audio: the exported symbols, the
// record, the dispatcher's answers and the parameters' texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "plugin_fixture.h"

namespace plugin_test {
namespace {

std::string commandOutput(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
  pclose(pipe);
  return out;
}

TEST(Module, ExportsOnlyTheEntryPoint) {
  const std::string symbols =
      commandOutput("nm -D --defined-only " JUNKYARD_PLUGIN_PATH " | awk '{print $3}'");
  EXPECT_EQ(symbols, "VSTPluginMain\n");
}

TEST(Record, PublishesTheEffectsIdentity) {
  auto effect = makeInstance();
  ASSERT_TRUE(effect->valid());
  const AEffect* e = effect->effect();
  EXPECT_EQ(e->magic, 0x56737450);
  EXPECT_EQ(e->numPrograms, 5);
  EXPECT_EQ(e->numParams, 6);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks);
  EXPECT_EQ(e->uniqueID, 0x4D466A72);  // 'MFjr'
  EXPECT_EQ(e->version, 1);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_NE(e->processReplacing, nullptr);
  EXPECT_NE(e->processDoubleReplacing, nullptr);
  EXPECT_EQ(e->user, nullptr);
}

TEST(Record, EveryInstanceIsIndependent) {
  auto first = makeInstance();
  auto second = makeInstance();
  first->setParameter(kRepeat, 0.25f);
  second->setParameter(kRepeat, 0.75f);
  EXPECT_EQ(first->getParameter(kRepeat), 0.25f);
  EXPECT_EQ(second->getParameter(kRepeat), 0.75f);
}

TEST(Dispatcher, AnswersAboutTheEffect) {
  auto effect = makeInstance();
  EXPECT_EQ(effect->getEffectName(), "Junkyard Reverb");
  EXPECT_EQ(effect->getProductString(), "Junkyard Reverb");
  EXPECT_EQ(effect->getVendorString(), "Mirefield Audio, Inc.");
  struct Answer {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr expected;
  };
  const Answer answers[] = {
      {effGetVendorVersion, 0, 1000},
      {effGetPlugCategory, 0, 1},
      {effGetVstVersion, 0, 2400},
      {effIdentify, 0, 0x4E764566},
      {effGetProgram, 0, 0},
      {effKeysRequired, 0, 1},
      {effGetVu, 0, 0},
      {effGetTailSize, 0, 0},
      {effCanBeAutomated, 0, 1},
      {effCanBeAutomated, 5, 1},
      {effCanBeAutomated, 99, 1},
      {effGetNumProgramCategories, 0, 1},
      {effEditGetRect, 0, 1},  // the editor knows its size before it opens
      {effProcessEvents, 0, 1},  // an empty (null) list is handled too
      {80, 0, 0},
      {-1, 0, 0},
  };
  for (const auto& a : answers)
    EXPECT_EQ(effect->dispatch(a.opcode, a.index), a.expected) << "opcode " << a.opcode;
}

TEST(Dispatcher, CanDoAnswersYesOrNoNeverUnknown) {
  auto effect = makeInstance();
  for (const char* yes : {"plugAsChannelInsert", "receiveVstMidiEvent", "plugAsSend", "1in1out",
                          "1in2out", "2in2out"})
    EXPECT_EQ(effect->canDo(yes), 1) << yes;
  for (const char* no : {"receiveVstTimeInfo", "sendVstMidiEvent", "", "2In2Out", "2in2out "})
    EXPECT_EQ(effect->canDo(no), -1) << no;
  EXPECT_EQ(effect->dispatch(effCanDo, 0, 0, nullptr), -1);
}

TEST(Dispatcher, ResumeAsksForMidiAndChecksTheSecondPins) {
  auto effect = makeInstance();
  effect->clearCalls();
  effect->resume();
  EXPECT_EQ(effect->countCalls(audioMasterWantMidi), 1u);
  EXPECT_EQ(effect->countCalls(audioMasterPinConnected), 2u);
}

TEST(Dispatcher, VersionZeroHostGetsNoInstance) {
  HostSettings settings;
  settings.version = 0;
  PluginInstance refused(library(), settings);
  EXPECT_FALSE(refused.valid());
}

TEST(Parameters, NamesLabelsAndDefaults) {
  auto effect = makeInstance();
  const char* shortNames[] = {"Mic Lvl", "Delay", "Repeat", "Depth", "Input", "Power"};
  const float defaults[] = {0.0f, 0.505f, 0.62f, 0.495f, 0.0f, 1.0f};
  const char* displays[] = {"0.0", "5.1", "6.2", "4.9", "Mic", "On"};
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(effect->getParameterName(j), shortNames[j]);
    EXPECT_EQ(effect->getParameterLabel(j), "");
    EXPECT_NEAR(effect->getParameter(j), defaults[j], 1e-6f) << j;
    EXPECT_EQ(effect->getParameterDisplay(j), displays[j]) << j;
  }
}

TEST(Parameters, DisplayTexts) {
  struct Case {
    int index;
    float hostValue;
    const char* text;
  };
  const Case cases[] = {
      {kMicLevel, 1.0f, "10.0"}, {kDelay, 0.0f, "0.0"},     {kRepeat, 0.25f, "2.5"},
      {kDepth, 1.0f, "10.0"},    {kInputSelector, 0.49f, "Mic"}, {kInputSelector, 0.5f, "Line"},
      {kPowerSwitch, 0.0f, "Off"}, {kPowerSwitch, 0.7f, "On"},
      {kDelay, 123456.0f, "1234560."},  // cut to the host's eight characters
  };
  auto effect = makeInstance();
  for (const auto& c : cases) {
    effect->setParameter(c.index, c.hostValue);
    EXPECT_EQ(effect->getParameterDisplay(c.index), c.text) << c.index << " " << c.hostValue;
    EXPECT_EQ(effect->getParameter(c.index), c.hostValue);
  }
  EXPECT_EQ(effect->getParameterDisplay(6), "   0");
  EXPECT_EQ(effect->getParameterName(6), "");
}

TEST(Parameters, OutOfRangeIndicesChangeNothing) {
  auto effect = makeInstance();
  float before[6];
  for (int j = 0; j < 6; ++j) before[j] = effect->getParameter(j);
  effect->setParameter(6, 1.0f);
  effect->setParameter(-1, 1.0f);
  for (int j = 0; j < 6; ++j) EXPECT_EQ(effect->getParameter(j), before[j]);
  EXPECT_EQ(effect->getParameter(6), 0.0f);
  EXPECT_EQ(effect->getParameter(-3), 0.0f);
}

TEST(Programs, SetProgramPushesTheDefaultsAndIgnoresBadIndices) {
  auto effect = makeInstance();
  effect->setParameter(kRepeat, 0.1f);
  effect->dispatch(effSetProgram, 0, 5);   // not below the program count
  effect->dispatch(effSetProgram, 0, -1);  // negative reaches setProgram, which refuses
  EXPECT_EQ(effect->dispatch(effGetProgram), 0);
  EXPECT_EQ(effect->getParameter(kRepeat), 0.1f);
}

}  // namespace
}  // namespace plugin_test
