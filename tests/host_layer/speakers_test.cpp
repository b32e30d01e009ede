// Speaker arrangements of any size: allocation, copying and matching.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "host_layer_support.h"

using namespace hostlayer;

namespace {

class SpeakerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    effect.deallocateArrangement(&a);
    effect.deallocateArrangement(&b);
  }
  // Variable-length arrangements hold more entries than the declared array:
  // reached through a plain pointer, since clang's bounds check holds even
  // pointer arithmetic on the member array to its eight entries.
  static VstSpeakerProperties& speaker(VstSpeakerArrangement* arrangement, int i) {
    VstSpeakerProperties* entries = arrangement->speakers;
    return entries[i];
  }
  static void fill(VstSpeakerProperties& s, int seed) {
    s.azimuth = 0.5f * seed;
    s.elevation = -0.25f * seed;
    s.radius = 1.0f + seed;
    s.reserved = 2.0f * seed;
    std::snprintf(s.name, sizeof(s.name), "speaker %d", seed);
    s.type = 100 + seed;
    for (size_t k = 0; k < sizeof(s.future); ++k) s.future[k] = static_cast<char>(seed + k);
  }
  static bool isZero(const void* p, size_t n) {
    const unsigned char* bytes = static_cast<const unsigned char*>(p);
    for (size_t k = 0; k < n; ++k)
      if (bytes[k]) return false;
    return true;
  }

  PlainEffect effect;
  VstSpeakerArrangement* a = nullptr;
  VstSpeakerArrangement* b = nullptr;
};

TEST_F(SpeakerTest, AllocationGivesAZeroFilledArrangementOfTheRightSize) {
  ASSERT_TRUE(effect.allocateArrangement(&a, 12));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->type, 0);
  EXPECT_EQ(a->numChannels, 12);
  EXPECT_TRUE(isZero(a->speakers, 12 * sizeof(VstSpeakerProperties)));
  // Reallocation releases the old block (the leak checker would notice).
  speaker(a, 11).type = 5;
  ASSERT_TRUE(effect.allocateArrangement(&a, 2));
  EXPECT_EQ(a->numChannels, 2);
  ASSERT_TRUE(effect.allocateArrangement(&a, 0));
  EXPECT_EQ(a->numChannels, 0);
}

TEST_F(SpeakerTest, ImpossibleAllocationsFailWithoutTouchingTheArrangement) {
  ASSERT_TRUE(effect.allocateArrangement(&a, 2));
  VstSpeakerArrangement* before = a;
  for (VstInt32 channels : {-1, std::numeric_limits<VstInt32>::min(),
                            std::numeric_limits<VstInt32>::max()}) {
    SCOPED_TRACE(channels);
    EXPECT_FALSE(effect.allocateArrangement(&a, channels));
    EXPECT_EQ(a, before);
  }
  EXPECT_FALSE(effect.allocateArrangement(nullptr, 2));
}

TEST_F(SpeakerTest, DeallocationClearsThePointerAndAlwaysSucceeds) {
  ASSERT_TRUE(effect.allocateArrangement(&a, 3));
  EXPECT_TRUE(effect.deallocateArrangement(&a));
  EXPECT_EQ(a, nullptr);
  EXPECT_TRUE(effect.deallocateArrangement(&a));
  EXPECT_TRUE(effect.deallocateArrangement(nullptr));
}

TEST_F(SpeakerTest, CopySpeakerCopiesEveryFieldAndCutsTheName) {
  VstSpeakerProperties from{}, to{};
  fill(from, 3);
  std::memset(from.name, 'n', sizeof(from.name));  // no terminator at all
  std::memset(to.name, 'x', sizeof(to.name));
  ASSERT_TRUE(effect.copySpeaker(&to, &from));
  EXPECT_EQ(std::string(to.name), std::string(63, 'n'));
  EXPECT_EQ(to.name[63], 0);
  EXPECT_EQ(to.azimuth, from.azimuth);
  EXPECT_EQ(to.elevation, from.elevation);
  EXPECT_EQ(to.radius, from.radius);
  EXPECT_EQ(to.reserved, from.reserved);
  EXPECT_EQ(to.type, from.type);
  EXPECT_EQ(std::memcmp(to.future, from.future, sizeof(to.future)), 0);

  fill(from, 4);
  ASSERT_TRUE(effect.copySpeaker(&to, &from));
  EXPECT_STREQ(to.name, "speaker 4");

  EXPECT_FALSE(effect.copySpeaker(nullptr, &from));
  EXPECT_FALSE(effect.copySpeaker(&to, nullptr));
}

TEST_F(SpeakerTest, MatchingRebuildsTheTargetLikeTheSource) {
  ASSERT_TRUE(effect.allocateArrangement(&a, 10));
  a->type = 42;
  for (int i = 0; i < 10; ++i) fill(speaker(a, i), i);
  ASSERT_TRUE(effect.allocateArrangement(&b, 1));  // replaced, not reused

  ASSERT_TRUE(effect.matchArrangement(&b, a));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->type, 42);
  ASSERT_EQ(b->numChannels, 10);
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(std::memcmp(&speaker(b, i), &speaker(a, i), sizeof(VstSpeakerProperties)), 0);
  }
}

TEST_F(SpeakerTest, MatchingRejectsMissingOrBrokenSourcesAndSurvivesItself) {
  EXPECT_FALSE(effect.matchArrangement(&b, nullptr));
  EXPECT_FALSE(effect.matchArrangement(nullptr, a));

  ASSERT_TRUE(effect.allocateArrangement(&a, 2));
  fill(speaker(a, 1), 7);
  EXPECT_TRUE(effect.matchArrangement(&a, a));
  EXPECT_EQ(a->numChannels, 2);
  EXPECT_STREQ(speaker(a, 1).name, "speaker 7");

  a->numChannels = -3;
  EXPECT_FALSE(effect.matchArrangement(&b, a));
  EXPECT_EQ(b, nullptr);
  a->numChannels = 2;
}

}  // namespace
