// Opcode routing: every opcode reaches exactly one operation, with the host's
// arguments in the right places, and its answer comes back in the stated form.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host_layer_support.h"

using namespace hostlayer;

namespace {

const VstIntPtr kPtr2Value = reinterpret_cast<VstIntPtr>(kPtr2);

struct Route {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
  VstIntPtr answer;  // what the operation returns
  const char* call;  // the call the operation must see
  VstIntPtr result;  // what the dispatcher must return
};

// index 3 and value 4 throughout, so a swapped argument shows.
const Route kRoutes[] = {
    {effOpen, 3, 4, kPtr, 0.5f, 7, "open()", 0},
    {effClose, 3, 4, kPtr, 0.5f, 7, "close()", 0},
    {effSetProgram, 3, 4, kPtr, 0.5f, 7, "setProgram(4)", 0},
    {effGetProgram, 3, 4, kPtr, 0.5f, 7, "getProgram()", 7},
    {effSetProgramName, 3, 4, kPtr, 0.5f, 7, "setProgramName(P)", 0},
    {effGetProgramName, 3, 4, kPtr, 0.5f, 7, "getProgramName(P)", 0},
    {effGetParamLabel, 3, 4, kPtr, 0.5f, 7, "getParameterLabel(3,P)", 0},
    {effGetParamDisplay, 3, 4, kPtr, 0.5f, 7, "getParameterDisplay(3,P)", 0},
    {effGetParamName, 3, 4, kPtr, 0.5f, 7, "getParameterName(3,P)", 0},
    {effGetVu, 3, 4, kPtr, 0.5f, 7, "getVu()", 0},
    {effSetSampleRate, 3, 4, kPtr, 48000.0f, 7, "setSampleRate(48000)", 0},
    {effSetBlockSize, 3, 4, kPtr, 0.5f, 7, "setBlockSize(4)", 0},
    {effMainsChanged, 3, 0, kPtr, 0.5f, 7, "suspend()", 0},
    {effMainsChanged, 3, 1, kPtr, 0.5f, 7, "resume()", 0},
    {effMainsChanged, 3, 7, kPtr, 0.5f, 7, "resume()", 0},
    {effGetChunk, 0, 4, kPtr, 0.5f, 280, "getChunk(P,0)", 280},
    {effGetChunk, 3, 4, kPtr, 0.5f, 56, "getChunk(P,1)", 56},
    {effSetChunk, 0, 280, kPtr, 0.5f, 1, "setChunk(P,280,0)", 1},
    {effSetChunk, 3, 56, kPtr, 0.5f, 1, "setChunk(P,56,1)", 1},
    {effProcessEvents, 3, 4, kPtr, 0.5f, 7, "processEvents(P)", 7},
    {effCanBeAutomated, 3, 4, kPtr, 0.5f, 7, "canParameterBeAutomated(3)", 1},
    {effCanBeAutomated, 3, 4, kPtr, 0.5f, 0, "canParameterBeAutomated(3)", 0},
    {effString2Parameter, 3, 4, kPtr, 0.5f, 7, "string2parameter(3,P)", 1},
    {effGetNumProgramCategories, 3, 4, kPtr, 0.5f, 7, "getNumCategories()", 7},
    {effGetProgramNameIndexed, 3, 4, kPtr, 0.5f, 7, "getProgramNameIndexed(4,3,P)", 1},
    {effCopyProgram, 3, 4, kPtr, 0.5f, 7, "copyProgram(3)", 1},
    {effConnectInput, 3, 4, kPtr, 0.5f, 0, "inputConnected(3,1)", 1},
    {effConnectInput, 3, 0, kPtr, 0.5f, 0, "inputConnected(3,0)", 1},
    {effConnectOutput, 3, 4, kPtr, 0.5f, 0, "outputConnected(3,1)", 1},
    {effGetInputProperties, 3, 4, kPtr, 0.5f, 7, "getInputProperties(3,P)", 1},
    {effGetOutputProperties, 3, 4, kPtr, 0.5f, 0, "getOutputProperties(3,P)", 0},
    {effGetPlugCategory, 3, 4, kPtr, 0.5f, 7, "getPlugCategory()", 7},
    {effGetCurrentPosition, 3, 4, kPtr, 0.5f, 7, "reportCurrentPosition()", 7},
    {effGetDestinationBuffer, 3, 4, kPtr, 0.5f, 0x1000, "reportDestinationBuffer()", 0x1000},
    {effOfflineNotify, 3, 4, kPtr, 0.5f, 7, "offlineNotify(P,4,1)", 1},
    {effOfflineNotify, 0, 4, kPtr, 0.5f, 7, "offlineNotify(P,4,0)", 1},
    {effOfflinePrepare, 3, 4, kPtr, 0.5f, 7, "offlinePrepare(P,4)", 1},
    {effOfflineRun, 3, 4, kPtr, 0.5f, 0, "offlineRun(P,4)", 0},
    {effProcessVarIo, 3, 4, kPtr, 0.5f, 7, "processVariableIo(P)", 1},
    {effSetSpeakerArrangement, 3, kPtr2Value, kPtr, 0.5f, 7, "setSpeakerArrangement(Q,P)", 1},
    {effSetBlockSizeAndSampleRate, 3, 512, kPtr, 96000.0f, 0,
     "setBlockSizeAndSampleRate(512,96000)", 1},
    {effSetBypass, 3, 4, kPtr, 0.5f, 7, "setBypass(1)", 1},
    {effSetBypass, 3, 0, kPtr, 0.5f, 0, "setBypass(0)", 0},
    {effGetEffectName, 3, 4, kPtr, 0.5f, 7, "getEffectName(P)", 1},
    {effGetErrorText, 3, 4, kPtr, 0.5f, 7, "getErrorText(P)", 1},
    {effGetVendorString, 3, 4, kPtr, 0.5f, 7, "getVendorString(P)", 1},
    {effGetProductString, 3, 4, kPtr, 0.5f, 7, "getProductString(P)", 1},
    {effGetVendorVersion, 3, 4, kPtr, 0.5f, 1000, "getVendorVersion()", 1000},
    {effVendorSpecific, 3, 4, kPtr, 0.5f, 7, "vendorSpecific(3,4,P,0.5)", 7},
    {effCanDo, 3, 4, kPtr, 0.5f, -1, "canDo(P)", -1},
    {effGetTailSize, 3, 4, kPtr, 0.5f, 7, "getGetTailSize()", 7},
    {effIdle, 3, 4, kPtr, 0.5f, 7, "fxIdle()", 7},
    {effGetIcon, 3, 4, kPtr, 0.5f, 0x2000, "getIcon()", 0x2000},
    {effSetViewPosition, 3, 4, kPtr, 0.5f, 7, "setViewPosition(3,4)", 1},
    {effGetParameterProperties, 3, 4, kPtr, 0.5f, 7, "getParameterProperties(3,P)", 1},
    {effKeysRequired, 3, 4, kPtr, 0.5f, 1, "keysRequired()", 0},
    {effKeysRequired, 3, 4, kPtr, 0.5f, 0, "keysRequired()", 1},
    {effGetVstVersion, 3, 4, kPtr, 0.5f, 2400, "getVstVersion()", 2400},
    {effGetMidiProgramName, 3, 4, kPtr, 0.5f, 7, "getMidiProgramName(3,P)", 7},
    {effGetCurrentMidiProgram, 3, 4, kPtr, 0.5f, -1, "getCurrentMidiProgram(3,P)", -1},
    {effGetMidiProgramCategory, 3, 4, kPtr, 0.5f, 7, "getMidiProgramCategory(3,P)", 7},
    {effHasMidiProgramsChanged, 3, 4, kPtr, 0.5f, 7, "hasMidiProgramsChanged(3)", 1},
    {effGetMidiKeyName, 3, 4, kPtr, 0.5f, 7, "getMidiKeyName(3,P)", 1},
    {effBeginSetProgram, 3, 4, kPtr, 0.5f, 7, "beginSetProgram()", 1},
    {effEndSetProgram, 3, 4, kPtr, 0.5f, 7, "endSetProgram()", 1},
    {effGetSpeakerArrangement, 3, kPtr2Value, kPtr, 0.5f, 7, "getSpeakerArrangement(Q,P)", 1},
    {effShellGetNextPlugin, 3, 4, kPtr, 0.5f, 7, "getNextShellPlugin(P)", 7},
    {effStartProcess, 3, 4, kPtr, 0.5f, 7, "startProcess()", 7},
    {effStopProcess, 3, 4, kPtr, 0.5f, 7, "stopProcess()", 7},
    {effSetTotalSampleToProcess, 3, 4, kPtr, 0.5f, 7, "setTotalSampleToProcess(4)", 7},
    {effSetPanLaw, 3, 4, kPtr, 0.5f, 7, "setPanLaw(4,0.5)", 1},
    {effBeginLoadBank, 3, 4, kPtr, 0.5f, 7, "beginLoadBank(P)", 7},
    {effBeginLoadProgram, 3, 4, kPtr, 0.5f, 7, "beginLoadProgram(P)", 7},
    {effSetProcessPrecision, 3, 4, kPtr, 0.5f, 7, "setProcessPrecision(4)", 1},
    {effGetNumMidiInputChannels, 3, 4, kPtr, 0.5f, 7, "getNumMidiInputChannels()", 7},
    {effGetNumMidiOutputChannels, 3, 4, kPtr, 0.5f, 7, "getNumMidiOutputChannels()", 7},
};

class DispatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog.clear();
    RecordingHost::reset();
  }
  TestEffect effect;
};

TEST_F(DispatcherTest, EachOpcodeCallsItsOperationOnceWithTheHostsArguments) {
  for (const Route& row : kRoutes) {
    SCOPED_TRACE(::testing::Message() << "opcode " << row.opcode << " " << row.call);
    gLog.clear();
    effect.answer = row.answer;
    EXPECT_EQ(effect.dispatcher(row.opcode, row.index, row.value, row.ptr, row.opt), row.result);
    EXPECT_EQ(gLog, std::vector<std::string>{row.call});
  }
}

TEST_F(DispatcherTest, OpcodesOutsideTheTablesCallNothing) {
  effect.answer = 7;
  for (VstInt32 opcode : {-1, 80, 81, 1000, std::numeric_limits<VstInt32>::min()}) {
    SCOPED_TRACE(opcode);
    EXPECT_EQ(effect.dispatcher(opcode, 3, 4, kPtr, 0.5f), 0);
  }
  EXPECT_TRUE(gLog.empty());
}

TEST_F(DispatcherTest, IdentifyAnswersNvEfWithoutACall) {
  EXPECT_EQ(effect.dispatcher(effIdentify, 0, 0, nullptr, 0.0f), 0x4E764566);
  EXPECT_TRUE(gLog.empty());
}

TEST_F(DispatcherTest, SetProgramPassesOnlyValuesBelowTheProgramCount) {
  struct Case {
    VstIntPtr value;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {5, {}},
      {6, {}},
      {4, {"setProgram(4)"}},
      {0, {"setProgram(0)"}},
      {-1, {"setProgram(-1)"}},
      // Wider than 32 bits: must not wrap into a valid program number.
      {(VstIntPtr{1} << 32) + 1, {}},
      {-(VstIntPtr{1} << 32), {"setProgram(-2147483648)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    gLog.clear();
    EXPECT_EQ(effect.dispatcher(effSetProgram, 0, c.value, nullptr, 0.0f), 0);
    EXPECT_EQ(gLog, c.calls);
  }
}

TEST_F(DispatcherTest, VuIsScaledTo32767AndTruncatedSafely) {
  struct Case {
    float vu;
    VstIntPtr result;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {0.0f, 0},
      {1.0f, 32767},
      {0.5f, 16383},
      {-0.5f, -16383},
      {std::nanf(""), 0},
      {1e30f, std::numeric_limits<VstInt32>::max()},
      {-inf, std::numeric_limits<VstInt32>::min()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vu);
    effect.vu = c.vu;
    EXPECT_EQ(effect.dispatcher(effGetVu, 0, 0, nullptr, 0.0f), c.result);
  }
}

// --- Defaults -----------------------------------------------------------------

struct DefaultAnswer {
  VstInt32 opcode;
  VstIntPtr value;
  VstIntPtr result;
};

const DefaultAnswer kDefaults[] = {
    {effGetProgram, 0, 0},          {effGetVu, 0, 0},
    {effGetChunk, 0, 0},            {effSetChunk, 56, 0},
    {effCanBeAutomated, 0, 1},      {effString2Parameter, 0, 0},
    {effGetNumProgramCategories, 0, 1}, {effGetProgramNameIndexed, 0, 0},
    {effCopyProgram, 0, 0},         {effConnectInput, 1, 1},
    {effConnectOutput, 0, 1},       {effGetInputProperties, 0, 0},
    {effGetOutputProperties, 0, 0}, {effGetPlugCategory, 0, 0},
    {effGetCurrentPosition, 0, 0},  {effGetDestinationBuffer, 0, 0},
    {effOfflineNotify, 0, 0},       {effOfflinePrepare, 0, 0},
    {effOfflineRun, 0, 0},          {effProcessVarIo, 0, 0},
    {effSetSpeakerArrangement, 0, 0}, {effSetBypass, 1, 0},
    {effGetEffectName, 0, 0},       {effGetErrorText, 0, 0},
    {effGetVendorString, 0, 0},     {effGetProductString, 0, 0},
    {effGetVendorVersion, 0, 0},    {effVendorSpecific, 0, 0},
    {effCanDo, 0, 0},               {effGetTailSize, 0, 0},
    {effIdle, 0, 0},                {effGetIcon, 0, 0},
    {effSetViewPosition, 0, 0},     {effGetParameterProperties, 0, 0},
    {effKeysRequired, 0, 1},        {effGetVstVersion, 0, 2400},
    {effGetMidiProgramName, 0, 0},  {effGetCurrentMidiProgram, 0, -1},
    {effGetMidiProgramCategory, 0, 0}, {effHasMidiProgramsChanged, 0, 0},
    {effGetMidiKeyName, 0, 0},      {effBeginSetProgram, 0, 0},
    {effEndSetProgram, 0, 0},       {effShellGetNextPlugin, 0, 0},
    {effStartProcess, 0, 0},        {effStopProcess, 0, 0},
    {effSetTotalSampleToProcess, 77, 77}, {effSetPanLaw, 0, 0},
    {effBeginLoadBank, 0, 0},       {effBeginLoadProgram, 0, 0},
    {effSetProcessPrecision, 1, 0}, {effGetNumMidiInputChannels, 0, 0},
    {effGetNumMidiOutputChannels, 0, 0},
};

TEST(DispatcherDefaults, EveryDefaultAnswersAsPublished) {
  PlainEffect effect;
  for (const DefaultAnswer& row : kDefaults) {
    SCOPED_TRACE(row.opcode);
    EXPECT_EQ(effect.dispatcher(row.opcode, 0, row.value, nullptr, 0.0f), row.result);
  }
}

TEST(DispatcherDefaults, PlugCategoryFollowsTheSynthFlag) {
  PlainEffect effect;
  effect.isSynth(true);
  EXPECT_EQ(effect.dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.0f), 2);
  effect.isSynth(false);
  EXPECT_EQ(effect.dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.0f), 0);
}

TEST(DispatcherDefaults, StoringOpcodesReachTheBaseMembers) {
  PlainEffect effect(nullptr, 5, 6);
  effect.dispatcher(effSetProgram, 0, 3, nullptr, 0.0f);
  EXPECT_EQ(effect.dispatcher(effGetProgram, 0, 0, nullptr, 0.0f), 3);
  effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  effect.dispatcher(effSetBlockSize, 0, 256, nullptr, 0.0f);
  EXPECT_EQ(effect.getSampleRate(), 96000.0f);
  EXPECT_EQ(effect.getBlockSize(), 256);
  EXPECT_EQ(effect.dispatcher(effSetBlockSizeAndSampleRate, 0, 128, nullptr, 22050.0f), 1);
  EXPECT_EQ(effect.getSampleRate(), 22050.0f);
  EXPECT_EQ(effect.getBlockSize(), 128);
}

TEST(DispatcherDefaults, TextOpcodesWriteEmptyTextsAndTolerateNoBuffer) {
  PlainEffect effect;
  for (VstInt32 opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay,
                          effGetParamName}) {
    SCOPED_TRACE(opcode);
    char text[8] = "xxxxxxx";
    EXPECT_EQ(effect.dispatcher(opcode, 0, 0, text, 0.0f), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(text[1], 'x');
    EXPECT_EQ(effect.dispatcher(opcode, 0, 0, nullptr, 0.0f), 0);
  }
}

TEST(DispatcherDefaults, SpeakerArrangementQueryClearsBothAnswers) {
  PlainEffect effect;
  VstSpeakerArrangement* in = reinterpret_cast<VstSpeakerArrangement*>(kPtr);
  VstSpeakerArrangement* out = reinterpret_cast<VstSpeakerArrangement*>(kPtr2);
  EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out,
                              0.0f),
            0);
  EXPECT_EQ(in, nullptr);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, 0, 0, nullptr, 0.0f), 0);
}

// --- Editor opcodes -------------------------------------------------------------

const Route kEditorRoutes[] = {
    {effEditGetRect, 3, 4, kPtr, 0.5f, 1, "getRect(P)", 1},
    {effEditGetRect, 3, 4, kPtr, 0.5f, 0, "getRect(P)", 0},
    {effEditOpen, 3, 4, kPtr, 0.5f, 1, "open(P)", 1},
    {effEditClose, 3, 4, kPtr, 0.5f, 1, "close()", 0},
    {effEditDraw, 3, 4, kPtr, 0.5f, 1, "draw(P)", 0},
    {effEditMouse, 3, 4, kPtr, 0.5f, 9, "mouse(3,4)", 9},
    {effEditKey, 3, 4, kPtr, 0.5f, 9, "key(4)", 9},
    {effEditIdle, 3, 4, kPtr, 0.5f, 1, "idle()", 0},
    {effEditTop, 3, 4, kPtr, 0.5f, 1, "top()", 0},
    {effEditSleep, 3, 4, kPtr, 0.5f, 1, "sleep()", 0},
    // character = index, virtual key = low byte of value, modifier = truncated opt
    {effEditKeyDown, 65, 0x1234, kPtr, 2.9f, 1, "onKeyDown(65,52,2)", 1},
    {effEditKeyDown, 65, 7, kPtr, std::nanf(""), 0, "onKeyDown(65,7,0)", 0},
    {effEditKeyDown, 65, 7, kPtr, 1e20f, 1, "onKeyDown(65,7,255)", 1},
    {effEditKeyUp, 97, 0x10A, kPtr, 8.0f, 1, "onKeyUp(97,10,8)", 1},
    {effSetEditKnobMode, 3, 2, kPtr, 0.5f, 1, "setKnobMode(2)", 1},
};

TEST_F(DispatcherTest, EditorOpcodesWithoutEditorCallNothingAndAnswerZero) {
  effect.answer = 7;
  for (const Route& row : kEditorRoutes) {
    SCOPED_TRACE(row.call);
    EXPECT_EQ(effect.dispatcher(row.opcode, row.index, row.value, row.ptr, row.opt), 0);
  }
  EXPECT_TRUE(gLog.empty());
}

TEST_F(DispatcherTest, EditorOpcodesReachTheEditor) {
  RecordingEditor* editor = new RecordingEditor(&effect);
  effect.setEditor(editor);
  for (const Route& row : kEditorRoutes) {
    SCOPED_TRACE(row.call);
    gLog.clear();
    editor->answer = row.answer;
    EXPECT_EQ(effect.dispatcher(row.opcode, row.index, row.value, row.ptr, row.opt), row.result);
    EXPECT_EQ(gLog, std::vector<std::string>{row.call});
  }
}

TEST(EditorBase, DefaultsKeepTheWindowAndAnswerNotHandled) {
  PlainEffect effect;
  AEffEditor* editor = new AEffEditor(&effect);
  effect.setEditor(editor);
  EXPECT_EQ(editor->getEffect(), &effect);
  EXPECT_FALSE(editor->isOpen());

  ERect* rect = reinterpret_cast<ERect*>(kPtr);
  EXPECT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 0);
  EXPECT_EQ(rect, nullptr);
  EXPECT_EQ(effect.dispatcher(effEditGetRect, 0, 0, nullptr, 0.0f), 0);

  EXPECT_EQ(effect.dispatcher(effEditOpen, 0, 0, kPtr2, 0.0f), 0);
  EXPECT_TRUE(editor->isOpen());
  EXPECT_EQ(effect.dispatcher(effEditMouse, 1, 2, nullptr, 0.0f), 0);
  EXPECT_EQ(effect.dispatcher(effEditKey, 0, 65, nullptr, 0.0f), 0);
  EXPECT_EQ(effect.dispatcher(effEditKeyDown, 65, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(effect.dispatcher(effSetEditKnobMode, 0, 1, nullptr, 0.0f), 0);
  EXPECT_FALSE(editor->onWheel(1.0f));
  effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
  EXPECT_FALSE(editor->isOpen());
}

}  // namespace
