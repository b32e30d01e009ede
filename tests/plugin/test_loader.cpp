// The test host itself: loading, the version handshake, and routing of the
// effect's calls back to the right instance. Behaviour of the effect is
// tested elsewhere; these only rely on what every instance must do.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "tools/vsthost/host_callback.h"
#include "tools/vsthost/plugin_instance.h"
#include "tools/vsthost/plugin_library.h"

namespace junkyard::vsthost {
namespace {

TEST(PluginLibrary, ReportsWhyAModuleCannotBeUsed) {
  PluginLibrary missing("/nonexistent/JunkyardReverb.so");
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.error().find("/nonexistent/JunkyardReverb.so"), std::string::npos)
      << missing.error();

  PluginLibrary notAPlugin("libm.so.6");  // loads, but has no entry point
  EXPECT_FALSE(notAPlugin.ok());
  EXPECT_NE(notAPlugin.error().find("VSTPluginMain"), std::string::npos) << notAPlugin.error();
  EXPECT_EQ(notAPlugin.entry(), nullptr);
}

class Loader : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(library.ok()) << library.error(); }
  PluginLibrary library{JUNKYARD_PLUGIN_PATH};
};

TEST_F(Loader, HostVersionZeroGetsNoInstanceAndTheQuestionIsRecorded) {
  HostSettings settings;
  settings.version = 0;
  PluginInstance refused(library, settings);
  EXPECT_FALSE(refused.valid());
  ASSERT_EQ(refused.calls().size(), 1u);
  EXPECT_EQ(refused.calls()[0].opcode, audioMasterVersion);
  EXPECT_EQ(refused.calls()[0].effect, nullptr);
}

TEST_F(Loader, CallsDuringConstructionReachTheInstanceBeingBuilt) {
  PluginInstance instance(library);
  ASSERT_TRUE(instance.valid());
  EXPECT_EQ(instance.countCalls(audioMasterVersion), 1u);
  EXPECT_EQ(instance.effect()->magic, kEffectMagic);
}

TEST_F(Loader, EachInstanceHearsOnlyItsOwnCalls) {
  PluginInstance first(library);
  PluginInstance second(library);
  ASSERT_TRUE(first.valid() && second.valid());
  first.clearCalls();
  second.clearCalls();

  second.resume();  // asks its host about connected pins
  EXPECT_TRUE(first.calls().empty());
  ASSERT_FALSE(second.calls().empty());
  for (const HostCall& call : second.calls()) EXPECT_EQ(call.effect, second.effect());
}

TEST_F(Loader, AnswersTheHostQuestionsFromItsOwnSettings) {
  HostSettings settings;
  settings.sampleRate = 48000.0f;
  settings.blockSize = 256;
  PluginInstance instance(library, settings);
  ASSERT_TRUE(instance.valid());
  AEffect* effect = instance.effect();
  auto ask = [effect](VstInt32 opcode) {
    return detail::hostCallback(effect, opcode, 0, 0, nullptr, 0.0f);
  };

  EXPECT_EQ(ask(audioMasterVersion), 2400);
  EXPECT_EQ(ask(audioMasterGetSampleRate), 48000);
  EXPECT_EQ(ask(audioMasterGetBlockSize), 256);
  EXPECT_EQ(ask(audioMasterCurrentId), effect->uniqueID);
  EXPECT_EQ(ask(audioMasterCanDo), 0);

  instance.setSampleRate(96000.0f);
  instance.setBlockSize(64);
  EXPECT_EQ(ask(audioMasterGetSampleRate), 96000);
  EXPECT_EQ(ask(audioMasterGetBlockSize), 64);
  instance.setSampleRate(std::nanf(""));  // must not turn into undefined behaviour
  EXPECT_EQ(ask(audioMasterGetSampleRate), 0);

  // The audio thread calls back too; it must find the same instance.
  VstIntPtr fromOtherThread = -1;
  std::thread audio([&] { fromOtherThread = ask(audioMasterGetBlockSize); });
  audio.join();
  EXPECT_EQ(fromOtherThread, 64);
  EXPECT_EQ(instance.countCalls(audioMasterGetBlockSize), 3u);
}

TEST_F(Loader, AnswerHookOverridesAndStillRecords) {
  HostSettings settings;
  settings.answer = [](const HostCall& call) -> std::optional<VstIntPtr> {
    if (call.opcode == audioMasterCanDo) return 1;
    return std::nullopt;
  };
  PluginInstance instance(library, settings);
  ASSERT_TRUE(instance.valid());
  instance.clearCalls();
  EXPECT_EQ(detail::hostCallback(instance.effect(), audioMasterCanDo, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(detail::hostCallback(instance.effect(), audioMasterVersion, 0, 0, nullptr, 0.0f), 2400);
  EXPECT_EQ(instance.calls().size(), 2u);
}

TEST_F(Loader, CloseEndsTheInstanceOnceAndForgetsItsRecord) {
  PluginInstance instance(library);
  ASSERT_TRUE(instance.valid());
  AEffect* record = instance.effect();
  instance.close();
  EXPECT_FALSE(instance.valid());
  instance.close();  // harmless a second time
  EXPECT_EQ(instance.dispatch(effGetVendorVersion), 0);
  instance.clearCalls();
  // The record's address is stale now; a call naming it must not be routed here.
  detail::hostCallback(record, audioMasterIdle, 0, 0, nullptr, 0.0f);
  EXPECT_TRUE(instance.calls().empty());
}

}  // namespace
}  // namespace junkyard::vsthost
