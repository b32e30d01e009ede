// The AEffect record as the host first sees it, the flag setters, the editor
// hand-over and the trampolines that lead from the record into the object.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "host_layer_support.h"

using namespace hostlayer;

namespace {

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog.clear();
    RecordingHost::reset();
  }
};

TEST_F(RecordTest, FreshEffectPublishesBaseDefaults) {
  PlainEffect effect(nullptr, 5, 6);
  AEffect* e = effect.getAeffect();
  EXPECT_EQ(e->magic, 0x56737450);
  EXPECT_EQ(e->dispatcher, &AudioEffect::dispatchEffectClass);
  EXPECT_EQ(e->process, &AudioEffect::processClass);
  EXPECT_EQ(e->setParameter, &AudioEffect::setParameterClass);
  EXPECT_EQ(e->getParameter, &AudioEffect::getParameterClass);
  EXPECT_EQ(e->processReplacing, &AudioEffect::processClassReplacing);
  EXPECT_EQ(e->processDoubleReplacing, &AudioEffect::processClassDoubleReplacing);
  EXPECT_EQ(e->numPrograms, 5);
  EXPECT_EQ(e->numParams, 6);
  EXPECT_EQ(e->numInputs, 1);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->flags, 16);
  EXPECT_EQ(e->resvd1, 0);
  EXPECT_EQ(e->resvd2, 0);
  EXPECT_EQ(e->initialDelay, 0);
  EXPECT_EQ(e->realQualities, 0);
  EXPECT_EQ(e->offQualities, 0);
  EXPECT_EQ(e->ioRatio, 1.0f);
  EXPECT_EQ(e->object, static_cast<void*>(static_cast<AudioEffect*>(&effect)));
  EXPECT_EQ(e->user, nullptr);
  EXPECT_EQ(e->uniqueID, 0x4E6F4566);  // 'NoEf'
  EXPECT_EQ(e->version, 1);
  char zeros[sizeof(e->future)] = {};
  EXPECT_EQ(std::memcmp(e->future, zeros, sizeof(zeros)), 0);

  EXPECT_EQ(effect.getSampleRate(), 44100.0f);
  EXPECT_EQ(effect.getBlockSize(), 1024);
  EXPECT_EQ(effect.getProgram(), 0);
  EXPECT_EQ(effect.getEditor(), nullptr);
}

struct FlagSetter {
  const char* name;
  std::function<void(AudioEffectX&, bool)> set;
  VstInt32 bit;
};

const FlagSetter kFlagSetters[] = {
    {"hasClip", [](AudioEffectX& e, bool s) { e.hasClip(s); }, 2},
    {"hasVu", [](AudioEffectX& e, bool s) { e.hasVu(s); }, 4},
    {"canMono", [](AudioEffectX& e, bool s) { e.canMono(s); }, 8},
    {"canProcessReplacing", [](AudioEffectX& e, bool s) { e.canProcessReplacing(s); }, 16},
    {"programsAreChunks", [](AudioEffectX& e, bool s) { e.programsAreChunks(s); }, 32},
    {"isSynth", [](AudioEffectX& e, bool s) { e.isSynth(s); }, 256},
    {"noTail", [](AudioEffectX& e, bool s) { e.noTail(s); }, 512},
    {"wantAsyncOperation", [](AudioEffectX& e, bool s) { e.wantAsyncOperation(s); }, 1024},
    {"hasExternalBuffer", [](AudioEffectX& e, bool s) { e.hasExternalBuffer(s); }, 2048},
    {"canDoubleReplacing", [](AudioEffectX& e, bool s) { e.canDoubleReplacing(s); }, 4096},
};

TEST_F(RecordTest, EachFlagSetterTouchesOnlyItsOwnBit) {
  for (const FlagSetter& row : kFlagSetters) {
    SCOPED_TRACE(row.name);
    PlainEffect effect;
    VstInt32& flags = effect.getAeffect()->flags;
    flags = 0;
    row.set(effect, true);
    EXPECT_EQ(flags, row.bit);
    row.set(effect, true);
    EXPECT_EQ(flags, row.bit);
    flags = ~0;
    row.set(effect, false);
    EXPECT_EQ(flags, ~row.bit);
    row.set(effect, false);
    EXPECT_EQ(flags, ~row.bit);
  }
}

TEST_F(RecordTest, SetEditorOwnsTheHasEditorBit) {
  PlainEffect effect;
  VstInt32& flags = effect.getAeffect()->flags;
  flags = 0x30;
  RecordingEditor* editor = new RecordingEditor(&effect);
  effect.setEditor(editor);
  EXPECT_EQ(effect.getEditor(), editor);
  EXPECT_EQ(flags, 0x31);
  effect.setEditor(nullptr);
  EXPECT_EQ(effect.getEditor(), nullptr);
  EXPECT_EQ(flags, 0x30);
  delete editor;
}

struct FieldSetter {
  const char* name;
  std::function<void(AudioEffectX&, VstInt32)> set;
  std::function<VstInt32(const AEffect&)> field;
};

const FieldSetter kFieldSetters[] = {
    {"setUniqueID", [](AudioEffectX& e, VstInt32 v) { e.setUniqueID(v); },
     [](const AEffect& r) { return r.uniqueID; }},
    {"setNumInputs", [](AudioEffectX& e, VstInt32 v) { e.setNumInputs(v); },
     [](const AEffect& r) { return r.numInputs; }},
    {"setNumOutputs", [](AudioEffectX& e, VstInt32 v) { e.setNumOutputs(v); },
     [](const AEffect& r) { return r.numOutputs; }},
    {"setInitialDelay", [](AudioEffectX& e, VstInt32 v) { e.setInitialDelay(v); },
     [](const AEffect& r) { return r.initialDelay; }},
    {"setRealtimeQualities", [](AudioEffectX& e, VstInt32 v) { e.setRealtimeQualities(v); },
     [](const AEffect& r) { return r.realQualities; }},
    {"setOfflineQualities", [](AudioEffectX& e, VstInt32 v) { e.setOfflineQualities(v); },
     [](const AEffect& r) { return r.offQualities; }},
};

TEST_F(RecordTest, FieldSettersStoreIntoTheRecordOnly) {
  for (const FieldSetter& row : kFieldSetters) {
    SCOPED_TRACE(row.name);
    PlainEffect effect;
    AEffect before = *effect.getAeffect();
    row.set(effect, 0x4D466A72);
    EXPECT_EQ(row.field(*effect.getAeffect()), 0x4D466A72);
    row.set(effect, row.field(before));
    EXPECT_EQ(std::memcmp(&before, effect.getAeffect(), sizeof(AEffect)), 0);
  }
}

TEST_F(RecordTest, CloseThroughTheRecordClosesThenDestroysEffectAndEditor) {
  TestEffect* effect = new TestEffect();
  effect->setEditor(new RecordingEditor(effect));
  effect->answer = 55;
  AEffect* e = effect->getAeffect();
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(gLog, (std::vector<std::string>{"close()", "~effect", "~editor"}));
}

TEST_F(RecordTest, OtherOpcodesReturnTheDispatcherResultUnchanged) {
  TestEffect effect;
  AEffect* e = effect.getAeffect();
  // A full 64-bit answer must not be narrowed on its way back.
  effect.answer = static_cast<VstIntPtr>(0x123456789ABCull);
  EXPECT_EQ(e->dispatcher(e, effGetDestinationBuffer, 0, 0, nullptr, 0.0f), effect.answer);
  effect.answer = -7;
  EXPECT_EQ(e->dispatcher(e, effGetProgram, 0, 0, nullptr, 0.0f), -7);
  EXPECT_EQ(e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(gLog,
            (std::vector<std::string>{"reportDestinationBuffer()", "getProgram()", "open()"}));
}

TEST_F(RecordTest, TrampolinesReachTheirOperations) {
  TestEffect effect;
  AEffect* e = effect.getAeffect();
  float** in = reinterpret_cast<float**>(kPtr);
  float** out = reinterpret_cast<float**>(kPtr2);
  e->setParameter(e, 3, 0.75f);
  EXPECT_EQ(e->getParameter(e, 4), 0.125f);
  e->process(e, in, out, 64);
  e->processReplacing(e, in, out, 128);
  e->processDoubleReplacing(e, reinterpret_cast<double**>(kPtr), reinterpret_cast<double**>(kPtr2),
                            256);
  EXPECT_EQ(gLog, (std::vector<std::string>{"setParameter(3,0.75)", "getParameter(4)",
                                            "process(P,Q,64)", "processReplacing(P,Q,128)",
                                            "processDoubleReplacing(P,Q,256)"}));
}

TEST_F(RecordTest, TrampolinesKeepExceptionsAndNullRecordsAwayFromTheHost) {
  TestEffect effect;
  effect.throwOnOpen = true;
  AEffect* e = effect.getAeffect();
  EXPECT_EQ(e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(gLog, (std::vector<std::string>{"open()"}));

  EXPECT_EQ(AudioEffect::dispatchEffectClass(nullptr, effGetProgram, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(AudioEffect::getParameterClass(nullptr, 0), 0.0f);
  AudioEffect::setParameterClass(nullptr, 0, 1.0f);
  AudioEffect::processClassReplacing(nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(gLog.size(), 1u);
}

}  // namespace
