// The exported entry point: version handshake, instance creation and the rule
// that nothing but a record or null ever comes back to the host.
#include <gtest/gtest.h>

#include "host_layer_support.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host);

using namespace hostlayer;

namespace {

class EntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog.clear();
    RecordingHost::reset();
    gFactoryMode = FactoryMode::build;
    gFactoryCalls = 0;
  }
  void TearDown() override { gFactoryMode = FactoryMode::build; }
};

TEST_F(EntryTest, AVersionedHostGetsTheNewInstancesRecord) {
  RecordingHost::answer = 2400;
  AEffect* e = VSTPluginMain(&RecordingHost::callback);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(gFactoryCalls, 1);
  EXPECT_EQ(e->magic, kEffectMagic);
  ASSERT_NE(e->object, nullptr);
  EXPECT_EQ(static_cast<AudioEffect*>(e->object)->getAeffect(), e);

  ASSERT_EQ(RecordingHost::calls.size(), 1u);
  const HostCall& call = RecordingHost::calls[0];
  EXPECT_EQ(call.effect, nullptr);
  EXPECT_EQ(call.opcode, audioMasterVersion);
  EXPECT_EQ(call.index, 0);
  EXPECT_EQ(call.value, 0);
  EXPECT_EQ(call.ptr, nullptr);
  EXPECT_EQ(call.opt, 0.0f);

  // The instance keeps the host it was made with.
  RecordingHost::answer = 7;
  EXPECT_EQ(static_cast<AudioEffect*>(e->object)->getCurrentUniqueId(), 7);
  EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(EntryTest, AHostWithoutVersionGetsNothingAndNothingIsBuilt) {
  RecordingHost::answer = 0;
  EXPECT_EQ(VSTPluginMain(&RecordingHost::callback), nullptr);
  EXPECT_EQ(gFactoryCalls, 0);
  EXPECT_EQ(RecordingHost::calls.size(), 1u);
}

TEST_F(EntryTest, NoHostGetsNothing) {
  EXPECT_EQ(VSTPluginMain(nullptr), nullptr);
  EXPECT_EQ(gFactoryCalls, 0);
}

TEST_F(EntryTest, AFailedOrThrowingFactoryYieldsNull) {
  RecordingHost::answer = 2400;
  for (FactoryMode mode : {FactoryMode::fail, FactoryMode::throwError}) {
    gFactoryMode = mode;
    EXPECT_EQ(VSTPluginMain(&RecordingHost::callback), nullptr);
  }
  EXPECT_EQ(gFactoryCalls, 2);
}

}  // namespace
