// The bank as a host sees it: factory programs, switching, names and the
// chunk it stores in its session.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "midi_events.h"
#include "plugin_fixture.h"

namespace plugin_test {
namespace {

const char* const kFactoryNames[] = {"Junkyard Reverb", "On The Edge", "Thicker Loop", "Dimed",
                                     "Smooth Operator"};

// Host values the factory programs hold, to six significant digits.
const float kFactoryValues[5][6] = {
    {0.0f, 0.505f, 0.62f, 0.495f, 0.0f, 1.0f},   {0.881f, 0.5f, 0.9f, 1.0f, 0.0f, 1.0f},
    {0.295f, 0.195f, 0.0f, 0.495267f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 1.0f},
    {0.0f, 0.545f, 0.86f, 0.54f, 1.0f, 1.0f},
};

std::string programName(PluginInstance& effect) {
  char text[256] = {};
  effect.dispatch(effGetProgramName, 0, 0, text);
  return text;
}

std::string indexedName(PluginInstance& effect, int index, bool* ok = nullptr) {
  char text[256] = "untouched";
  const VstIntPtr result = effect.dispatch(effGetProgramNameIndexed, index, 0, text);
  if (ok) *ok = result == 1;
  return text;
}

std::vector<uint8_t> chunk(PluginInstance& effect, bool preset) {
  void* data = nullptr;
  const VstIntPtr size = effect.dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
  if (size <= 0 || !data) return {};
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

VstIntPtr restore(PluginInstance& effect, std::vector<uint8_t> bytes, bool preset) {
  return effect.dispatch(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
}

float valueAt(const std::vector<uint8_t>& bytes, size_t offset) {
  float v;
  std::memcpy(&v, bytes.data() + offset, sizeof v);
  return v;
}

TEST(Programs, FactoryBankNamesAndValues) {
  auto effect = makeInstance();
  EXPECT_EQ(effect->dispatch(effGetProgram), 0);
  for (int i = 0; i < 5; ++i) {
    bool ok = false;
    EXPECT_EQ(indexedName(*effect, i, &ok), kFactoryNames[i]);
    EXPECT_TRUE(ok);
    effect->dispatch(effSetProgram, 0, i);
    EXPECT_EQ(effect->dispatch(effGetProgram), i);
    EXPECT_EQ(programName(*effect), kFactoryNames[i]);
    for (int j = 0; j < 6; ++j)
      EXPECT_NEAR(effect->getParameter(j), kFactoryValues[i][j], 5e-6f) << i << "," << j;
  }
  bool ok = true;
  EXPECT_EQ(indexedName(*effect, 5, &ok), "untouched");
  EXPECT_FALSE(ok);
  EXPECT_EQ(indexedName(*effect, -1, &ok), "untouched");
  EXPECT_FALSE(ok);
}

TEST(Programs, DimedTurnsEveryKnobFullUp) {
  auto effect = makeInstance();
  effect->dispatch(effSetProgram, 0, 3);
  for (int j = 0; j < 4; ++j) EXPECT_EQ(effect->getParameterDisplay(j), "10.0") << j;
}

TEST(Programs, ParameterChangesLiveInTheCurrentProgram) {
  auto effect = makeInstance();
  effect->dispatch(effSetProgram, 0, 2);
  effect->setParameter(kRepeat, 0.25f);
  effect->dispatch(effSetProgram, 0, 1);
  EXPECT_NEAR(effect->getParameter(kRepeat), 0.9f, 1e-6f);
  effect->dispatch(effSetProgram, 0, 2);
  EXPECT_EQ(effect->getParameter(kRepeat), 0.25f);
}

TEST(Programs, InitNamesAreNumbered) {
  auto effect = makeInstance();
  effect->dispatch(effSetProgram, 0, 2);
  char init[] = "Init";
  effect->dispatch(effSetProgramName, 0, 0, init);
  EXPECT_EQ(programName(*effect), "Init 3");
  EXPECT_EQ(indexedName(*effect, 2), "Init");
  char lower[] = "init";
  effect->dispatch(effSetProgramName, 0, 0, lower);
  EXPECT_EQ(programName(*effect), "init");
}

TEST(Programs, LongNamesAreCutToTwentyThreeCharacters) {
  auto effect = makeInstance();
  const std::vector<float> before = {effect->getParameter(0), effect->getParameter(1)};
  char longName[] = "A name far longer than twenty-three characters";
  effect->dispatch(effSetProgramName, 0, 0, longName);
  EXPECT_EQ(programName(*effect), "A name far longer than ");
  EXPECT_EQ(indexedName(*effect, 0).size(), 23u);
  effect->dispatch(effSetProgramName, 0, 0, nullptr);
  EXPECT_EQ(effect->getParameter(0), before[0]);
  EXPECT_EQ(effect->getParameter(1), before[1]);
  const auto bytes = chunk(*effect, true);
  EXPECT_EQ(valueAt(bytes, 24), before[0]);
  EXPECT_EQ(valueAt(bytes, 28), before[1]);
}

TEST(Chunk, LayoutOfAProgramAndOfTheBank) {
  auto effect = makeInstance();
  const auto bank = chunk(*effect, false);
  ASSERT_EQ(bank.size(), 280u);
  for (int i = 0; i < 5; ++i) {
    const size_t at = 56 * i;
    EXPECT_STREQ(reinterpret_cast<const char*>(bank.data() + at), kFactoryNames[i]);
    for (int j = 0; j < 6; ++j) EXPECT_NEAR(valueAt(bank, at + 24 + 4 * j), kFactoryValues[i][j], 5e-6f);
    for (int j = 0; j < 6; ++j) EXPECT_EQ(bank[at + 48 + j], 0xFF) << "unbound slot";
  }
  effect->dispatch(effSetProgram, 0, 4);
  const auto one = chunk(*effect, true);
  ASSERT_EQ(one.size(), 56u);
  EXPECT_TRUE(std::equal(one.begin(), one.end(), bank.begin() + 224));
  EXPECT_EQ(effect->dispatch(effGetChunk, 0, 0, nullptr), 0);
}

TEST(Chunk, BankRoundTripsIntoAFreshInstance) {
  auto source = makeInstance();
  source->dispatch(effSetProgram, 0, 1);
  source->setParameter(kDelay, 0.125f);
  char name[] = "Kept";
  source->dispatch(effSetProgramName, 0, 0, name);
  auto bank = chunk(*source, false);
  bank[56 + 48 + kDepth] = 7;  // a binding on Depth, as learning would leave it

  auto fresh = makeInstance();
  fresh->dispatch(effSetProgram, 0, 1);
  EXPECT_EQ(restore(*fresh, bank, false), 1);
  EXPECT_EQ(fresh->dispatch(effGetProgram), 1);  // the current program stays
  EXPECT_EQ(indexedName(*fresh, 1), "Kept");
  EXPECT_EQ(fresh->getParameter(kDelay), 0.125f);  // and is applied
  EXPECT_EQ(chunk(*fresh, false), bank);

  // The restored binding is live.
  MidiEventList list({midiMessage(0xB0, 7, 127)});
  fresh->processEvents(list.get());
  EXPECT_EQ(fresh->getParameter(kDepth), 1.0f);
}

TEST(Chunk, ProgramRestoreReplacesOnlyTheCurrentProgram) {
  auto effect = makeInstance();
  effect->dispatch(effSetProgram, 0, 3);
  auto dimed = chunk(*effect, true);
  effect->dispatch(effSetProgram, 0, 0);
  EXPECT_EQ(restore(*effect, dimed, true), 1);
  EXPECT_EQ(programName(*effect), "Dimed");
  EXPECT_EQ(effect->getParameterDisplay(kDelay), "10.0");
  EXPECT_EQ(indexedName(*effect, 3), "Dimed");
  EXPECT_EQ(indexedName(*effect, 1), "On The Edge");
}

TEST(Chunk, WrongSizesAndNullChangeNothing) {
  auto effect = makeInstance();
  const auto before = chunk(*effect, false);
  std::vector<uint8_t> junk(400, 0x41);
  struct Case {
    size_t size;
    bool preset;
  };
  for (const Case c : {Case{57, true}, Case{55, true}, Case{56, false}, Case{280, true}, Case{279, false},
                       Case{0, false}, Case{0, true}}) {
    EXPECT_EQ(effect->dispatch(effSetChunk, c.preset, static_cast<VstIntPtr>(c.size), junk.data()), 0)
        << c.size << " " << c.preset;
  }
  EXPECT_EQ(effect->dispatch(effSetChunk, 0, -280, junk.data()), 0);
  EXPECT_EQ(effect->dispatch(effSetChunk, 0, 280, nullptr), 0);
  EXPECT_EQ(chunk(*effect, false), before);
}

TEST(Chunk, NameWithoutZeroIsReadWithinItsField) {
  auto effect = makeInstance();
  std::vector<uint8_t> record = chunk(*effect, true);
  std::memset(record.data(), 'x', 24);  // no terminator anywhere in the field
  EXPECT_EQ(restore(*effect, record, true), 1);
  EXPECT_EQ(programName(*effect), std::string(23, 'x'));
  EXPECT_EQ(indexedName(*effect, 0), std::string(23, 'x'));
}

TEST(Chunk, OutOfRangeAndNanValuesStaySafe) {
  auto effect = makeInstance();
  std::vector<uint8_t> record = chunk(*effect, true);
  const float bad[6] = {NAN, 1e30f, -INFINITY, NAN, 7.0f, NAN};
  std::memcpy(record.data() + 24, bad, sizeof bad);
  record[48] = 0x80;  // unbound
  EXPECT_EQ(restore(*effect, record, true), 1);
  Stereo in(4096, 0.25f);
  const Stereo out = render(*effect, in);
  (void)out;
  for (int j = 0; j < 6; ++j) EXPECT_LE(effect->getParameterDisplay(j).size(), 8u);
  // Sane values bring the sound back.
  effect->dispatch(effSetProgram, 0, 0);
  const Stereo later = render(*effect, Stereo(44100, 0.1f));
  for (float v : later.left) ASSERT_TRUE(std::isfinite(v));
}

}  // namespace
}  // namespace plugin_test
