// Requests to the host: the exact call each one makes, how the answer is
// read, and what each gives without a host.
#include <gtest/gtest.h>

#include <functional>

#include "host_layer_support.h"

using namespace hostlayer;

namespace {

template <typename T>
VstIntPtr asInt(T* p) {
  return reinterpret_cast<VstIntPtr>(p);
}
template <typename T>
T* as(void* p) {
  return reinterpret_cast<T*>(p);
}

class HostCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog.clear();
    RecordingHost::reset();
  }
  void expectOneCall(const AudioEffect& effect, AEffect* record, VstInt32 opcode, VstInt32 index,
                     VstIntPtr value, void* ptr, float opt) {
    ASSERT_EQ(RecordingHost::calls.size(), 1u);
    const HostCall& call = RecordingHost::calls[0];
    EXPECT_EQ(call.effect, record);
    EXPECT_EQ(call.opcode, opcode);
    EXPECT_EQ(call.index, index);
    EXPECT_EQ(call.value, value);
    EXPECT_EQ(call.ptr, ptr);
    EXPECT_EQ(call.opt, opt);
  }
};

// --- Level-1 queries ------------------------------------------------------------

TEST_F(HostCallTest, QueriesWithoutHostFallBack) {
  PlainEffect effect;
  EXPECT_EQ(effect.getMasterVersion(), 1);
  EXPECT_EQ(effect.getCurrentUniqueId(), 0);
  EXPECT_TRUE(effect.isInputConnected(0));
  EXPECT_TRUE(effect.isOutputConnected(1));
  effect.masterIdle();
  EXPECT_TRUE(RecordingHost::calls.empty());
}

struct Query {
  const char* name;
  std::function<VstIntPtr(AudioEffectX&)> run;
  VstInt32 opcode, index;
  VstIntPtr value;
  VstIntPtr answer, result;
};

const Query kQueries[] = {
    {"getMasterVersion", [](AudioEffectX& e) { return VstIntPtr{e.getMasterVersion()}; },
     audioMasterVersion, 0, 0, 2400, 2400},
    {"getMasterVersion 0", [](AudioEffectX& e) { return VstIntPtr{e.getMasterVersion()}; },
     audioMasterVersion, 0, 0, 0, 1},
    {"getCurrentUniqueId", [](AudioEffectX& e) { return VstIntPtr{e.getCurrentUniqueId()}; },
     audioMasterCurrentId, 0, 0, 0x4D466A72, 0x4D466A72},
    {"masterIdle", [](AudioEffectX& e) { e.masterIdle(); return VstIntPtr{0}; },
     audioMasterIdle, 0, 0, 5, 0},
    {"isInputConnected 0", [](AudioEffectX& e) { return VstIntPtr{e.isInputConnected(5)}; },
     audioMasterPinConnected, 5, 0, 0, 1},
    {"isInputConnected 1", [](AudioEffectX& e) { return VstIntPtr{e.isInputConnected(5)}; },
     audioMasterPinConnected, 5, 0, 1, 0},
    {"isOutputConnected 0", [](AudioEffectX& e) { return VstIntPtr{e.isOutputConnected(6)}; },
     audioMasterPinConnected, 6, 1, 0, 1},
    {"isOutputConnected -1", [](AudioEffectX& e) { return VstIntPtr{e.isOutputConnected(6)}; },
     audioMasterPinConnected, 6, 1, -1, 0},
};

TEST_F(HostCallTest, QueriesMakeTheirCallAndReadTheAnswer) {
  for (const Query& q : kQueries) {
    SCOPED_TRACE(q.name);
    RecordingHost::reset();
    RecordingHost::answer = q.answer;
    PlainEffect effect(&RecordingHost::callback);
    EXPECT_EQ(q.run(effect), q.result);
    expectOneCall(effect, effect.getAeffect(), q.opcode, q.index, q.value, nullptr, 0.0f);
  }
}

TEST_F(HostCallTest, AutomationSetsTheParameterFirstThenTellsTheHost) {
  TestEffect effect(&RecordingHost::callback);
  effect.setParameterAutomated(2, 0.75f);
  EXPECT_EQ(gLog, (std::vector<std::string>{"setParameter(2,0.75)", "host:0"}));
  expectOneCall(effect, effect.getAeffect(), audioMasterAutomate, 2, 0, nullptr, 0.75f);

  gLog.clear();
  TestEffect hostless;
  hostless.setParameterAutomated(1, 0.5f);
  EXPECT_EQ(gLog, std::vector<std::string>{"setParameter(1,0.5)"});
}

// --- AudioEffectX wrappers --------------------------------------------------------

struct Wrapper {
  const char* name;
  std::function<VstIntPtr(AudioEffectX&)> run;
  VstInt32 opcode, index;
  VstIntPtr value;
  void* ptr;
  float opt;
  VstIntPtr answer, result, hostless;
};

#define W(expr) [](AudioEffectX& e) { return static_cast<VstIntPtr>(expr); }
#define WP(expr) [](AudioEffectX& e) { return asInt(expr); }
#define WV(expr) [](AudioEffectX& e) { expr; return VstIntPtr{0}; }

const Wrapper kWrappers[] = {
    {"wantEvents", WV(e.wantEvents(5)), audioMasterWantMidi, 0, 5, nullptr, 0, 1, 0, 0},
    {"getTimeInfo", WP(e.getTimeInfo(9)), audioMasterGetTime, 0, 9, nullptr, 0, 0x5000, 0x5000, 0},
    {"sendVstEventsToHost 1", W(e.sendVstEventsToHost(as<VstEvents>(kPtr))),
     audioMasterProcessEvents, 0, 0, kPtr, 0, 1, 1, 0},
    {"sendVstEventsToHost 2", W(e.sendVstEventsToHost(as<VstEvents>(kPtr))),
     audioMasterProcessEvents, 0, 0, kPtr, 0, 2, 0, 0},
    {"tempoAt", W(e.tempoAt(3)), audioMasterTempoAt, 0, 3, nullptr, 0, 1200000, 1200000, 0},
    {"getNumAutomatableParameters", W(e.getNumAutomatableParameters()),
     audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0, 6, 6, 0},
    {"getParameterQuantization", W(e.getParameterQuantization()),
     audioMasterGetParameterQuantization, 0, 0, nullptr, 0, 1000, 1000, 0},
    {"ioChanged", W(e.ioChanged()), audioMasterIOChanged, 0, 0, nullptr, 0, 5, 1, 0},
    {"ioChanged 0", W(e.ioChanged()), audioMasterIOChanged, 0, 0, nullptr, 0, 0, 0, 0},
    {"needIdle", W(e.needIdle()), audioMasterNeedIdle, 0, 0, nullptr, 0, 1, 1, 0},
    {"sizeWindow", W(e.sizeWindow(300, 200)), audioMasterSizeWindow, 300, 200, nullptr, 0, 1, 1, 0},
    {"updateBlockSize", W(e.updateBlockSize()), audioMasterGetBlockSize, 0, 0, nullptr, 0, 256,
     256, 1024},
    {"updateBlockSize 0", W(e.updateBlockSize()), audioMasterGetBlockSize, 0, 0, nullptr, 0, 0,
     1024, 1024},
    {"updateBlockSize -5", W(e.updateBlockSize()), audioMasterGetBlockSize, 0, 0, nullptr, 0, -5,
     1024, 1024},
    {"getInputLatency", W(e.getInputLatency()), audioMasterGetInputLatency, 0, 0, nullptr, 0, 64,
     64, 0},
    {"getOutputLatency", W(e.getOutputLatency()), audioMasterGetOutputLatency, 0, 0, nullptr, 0,
     65, 65, 0},
    {"getPreviousPlug", WP(e.getPreviousPlug(3)), audioMasterGetPreviousPlug, 0, 0, nullptr, 0,
     0x3000, 0x3000, 0},
    {"getNextPlug", WP(e.getNextPlug(4)), audioMasterGetNextPlug, 0, 0, nullptr, 0, 0x4000,
     0x4000, 0},
    {"willProcessReplacing", W(e.willProcessReplacing()), audioMasterWillReplaceOrAccumulate, 0,
     0, nullptr, 0, 2, 2, 0},
    {"getCurrentProcessLevel", W(e.getCurrentProcessLevel()), audioMasterGetCurrentProcessLevel,
     0, 0, nullptr, 0, 3, 3, 0},
    {"getAutomationState", W(e.getAutomationState()), audioMasterGetAutomationState, 0, 0,
     nullptr, 0, 4, 4, 0},
    {"offlineStart", W(e.offlineStart(as<VstAudioFile>(kPtr), 3, 4)), audioMasterOfflineStart, 4,
     3, kPtr, 0, 9, 1, 0},
    {"offlineRead source", W(e.offlineRead(as<VstOfflineTask>(kPtr), 5, true)),
     audioMasterOfflineRead, 1, 5, kPtr, 0, 9, 1, 0},
    {"offlineRead", W(e.offlineRead(as<VstOfflineTask>(kPtr), 5, false)), audioMasterOfflineRead,
     0, 5, kPtr, 0, 0, 0, 0},
    {"offlineWrite", W(e.offlineWrite(as<VstOfflineTask>(kPtr), 6)), audioMasterOfflineWrite, 0,
     6, kPtr, 0, 9, 1, 0},
    {"offlineGetCurrentPass", W(e.offlineGetCurrentPass()), audioMasterOfflineGetCurrentPass, 0,
     0, nullptr, 0, 3, 1, 0},
    {"offlineGetCurrentMetaPass", W(e.offlineGetCurrentMetaPass()),
     audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0, 3, 1, 0},
    {"setOutputSamplerate", WV(e.setOutputSamplerate(22050.0f)), audioMasterSetOutputSampleRate,
     0, 0, nullptr, 22050.0f, 1, 0, 0},
    {"getOutputSpeakerArrangement", WP(e.getOutputSpeakerArrangement()),
     audioMasterGetOutputSpeakerArrangement, 0, 0, nullptr, 0, 0x6000, 0x6000, 0},
    {"getHostVendorString", W(e.getHostVendorString(as<char>(kPtr))), audioMasterGetVendorString,
     0, 0, kPtr, 0, 1, 1, 0},
    {"getHostProductString", W(e.getHostProductString(as<char>(kPtr))),
     audioMasterGetProductString, 0, 0, kPtr, 0, 0, 0, 0},
    {"getHostVendorVersion", W(e.getHostVendorVersion()), audioMasterGetVendorVersion, 0, 0,
     nullptr, 0, 1100, 1100, 0},
    {"hostVendorSpecific", W(e.hostVendorSpecific(3, 4, kPtr, 0.5f)), audioMasterVendorSpecific,
     3, 4, kPtr, 0.5f, 77, 77, 0},
    {"canHostDo -1", W(e.canHostDo(as<char>(kPtr))), audioMasterCanDo, 0, 0, kPtr, 0, -1, 1, 0},
    {"canHostDo 0", W(e.canHostDo(as<char>(kPtr))), audioMasterCanDo, 0, 0, kPtr, 0, 0, 0, 0},
    {"getHostLanguage", W(e.getHostLanguage()), audioMasterGetLanguage, 0, 0, nullptr, 0, 2, 2, 0},
    {"openWindow", WP(e.openWindow(as<VstWindow>(kPtr))), audioMasterOpenWindow, 0, 0, kPtr, 0,
     0x7000, 0x7000, 0},
    {"closeWindow", W(e.closeWindow(as<VstWindow>(kPtr))), audioMasterCloseWindow, 0, 0, kPtr, 0,
     1, 1, 0},
    {"getDirectory", WP(e.getDirectory()), audioMasterGetDirectory, 0, 0, nullptr, 0, 0x8000,
     0x8000, 0},
    {"updateDisplay", W(e.updateDisplay()), audioMasterUpdateDisplay, 0, 0, nullptr, 0, 1, 1, 0},
    {"beginEdit", W(e.beginEdit(2)), audioMasterBeginEdit, 2, 0, nullptr, 0, 1, 1, 0},
    {"endEdit", W(e.endEdit(2)), audioMasterEndEdit, 2, 0, nullptr, 0, 1, 1, 0},
    {"openFileSelector", W(e.openFileSelector(as<VstFileSelect>(kPtr))),
     audioMasterOpenFileSelector, 0, 0, kPtr, 0, 1, 1, 0},
    {"closeFileSelector", W(e.closeFileSelector(as<VstFileSelect>(kPtr))),
     audioMasterCloseFileSelector, 0, 0, kPtr, 0, 1, 1, 0},
    {"getChunkFile", W(e.getChunkFile(kPtr)), audioMasterGetChunkFile, 0, 0, kPtr, 0, 1, 1, 0},
    {"getInputSpeakerArrangement", WP(e.getInputSpeakerArrangement()),
     audioMasterGetInputSpeakerArrangement, 0, 0, nullptr, 0, 0x9000, 0x9000, 0},
};

TEST_F(HostCallTest, EachWrapperMakesExactlyItsCallAndReadsTheAnswer) {
  for (const Wrapper& w : kWrappers) {
    SCOPED_TRACE(w.name);
    RecordingHost::reset();
    RecordingHost::answer = w.answer;
    PlainEffect effect(&RecordingHost::callback);
    EXPECT_EQ(w.run(effect), w.result);
    expectOneCall(effect, effect.getAeffect(), w.opcode, w.index, w.value, w.ptr, w.opt);
  }
}

TEST_F(HostCallTest, EachWrapperWithoutHostGivesItsFallback) {
  for (const Wrapper& w : kWrappers) {
    SCOPED_TRACE(w.name);
    PlainEffect effect;
    EXPECT_EQ(w.run(effect), w.hostless);
  }
}

TEST_F(HostCallTest, NullSelectorsAndPathsNeverReachTheHost) {
  RecordingHost::answer = 1;
  PlainEffect effect(&RecordingHost::callback);
  EXPECT_FALSE(effect.openFileSelector(nullptr));
  EXPECT_FALSE(effect.closeFileSelector(nullptr));
  EXPECT_FALSE(effect.getChunkFile(nullptr));
  EXPECT_TRUE(RecordingHost::calls.empty());
}

TEST_F(HostCallTest, SampleRateIsRefreshedOnlyByAPositiveAnswer) {
  PlainEffect effect(&RecordingHost::callback);
  RecordingHost::answer = 48000;
  EXPECT_EQ(effect.updateSampleRate(), 48000.0);
  EXPECT_EQ(effect.getSampleRate(), 48000.0f);
  expectOneCall(effect, effect.getAeffect(), audioMasterGetSampleRate, 0, 0, nullptr, 0.0f);
  for (VstIntPtr answer : {VstIntPtr{0}, VstIntPtr{-1}}) {
    RecordingHost::answer = answer;
    EXPECT_EQ(effect.updateSampleRate(), 48000.0);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
  }
  PlainEffect hostless;
  EXPECT_EQ(hostless.updateSampleRate(), 44100.0);
}

TEST_F(HostCallTest, BlockSizeIsRefreshedOnlyByAPositiveAnswer) {
  PlainEffect effect(&RecordingHost::callback);
  RecordingHost::answer = 512;
  EXPECT_EQ(effect.updateBlockSize(), 512);
  RecordingHost::answer = 0;
  EXPECT_EQ(effect.updateBlockSize(), 512);
  EXPECT_EQ(effect.getBlockSize(), 512);
}

// --- resume -----------------------------------------------------------------------

TEST_F(HostCallTest, ResumeAsksForMidiOnlyWhenTheEffectTakesIt) {
  struct Case {
    bool synth;
    VstInt32 canDo;
    bool wantsMidi;
  };
  const Case cases[] = {{false, 0, false}, {false, -1, false}, {false, 2, false},
                        {false, 1, true},  {true, 0, true},    {true, -1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "synth " << c.synth << " canDo " << c.canDo);
    RecordingHost::reset();
    PlainEffect effect(&RecordingHost::callback);
    effect.isSynth(c.synth);
    effect.canDoAnswer = c.canDo;
    effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    if (c.wantsMidi)
      expectOneCall(effect, effect.getAeffect(), audioMasterWantMidi, 0, 1, nullptr, 0.0f);
    else
      EXPECT_TRUE(RecordingHost::calls.empty());
    if (!c.synth) {
      EXPECT_EQ(effect.lastCanDo, "receiveVstMidiEvent");
    }
  }
}

}  // namespace
