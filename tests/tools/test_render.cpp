// junkyard-render as a user runs it: files in, files out, one-line errors.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "tool_fixture.h"

namespace junkyard::tooltest {
namespace {

constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Output channel c of frame i must equal input channel min(c, channels-1):
// mono feeds both sides, wider inputs give up everything after the second.
void expectBypassed(const Sound& in, const Sound& out, long long tailFrames) {
  ASSERT_EQ(out.info.channels, 2);
  ASSERT_EQ(out.info.frames, in.info.frames + tailFrames);
  for (long long i = 0; i < in.info.frames; ++i) {
    for (int c = 0; c < 2; ++c) {
      int source = std::min(c, in.info.channels - 1);
      ASSERT_EQ(out.at(i, c), in.at(i, source)) << "frame " << i << " channel " << c;
    }
  }
  for (long long i = in.info.frames; i < out.info.frames; ++i) {
    ASSERT_EQ(out.at(i, 0), 0.0f) << "tail frame " << i;
    ASSERT_EQ(out.at(i, 1), 0.0f) << "tail frame " << i;
  }
}

TEST(RenderTool, MonoInputGivesStereoOutputOfInputLengthPlusTail) {
  TempDir dir;
  const int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  writeSound(dir / "in.wav", makeNoise(format, 48000, 1, 12000));

  RunResult run = runRender({"--tail", "0.5", (dir / "in.wav").string(), (dir / "out.wav").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "") << "short files render without a progress line";

  Sound out = readSound(dir / "out.wav");
  EXPECT_EQ(out.info.channels, 2);
  EXPECT_EQ(out.info.samplerate, 48000);
  EXPECT_EQ(out.info.frames, 12000 + 24000);
  EXPECT_EQ(out.info.format, format);
}

struct BypassCase {
  const char* name;
  int format;
  int channels;
  const char* extension;
  std::vector<std::string> extraArgs;
};

void PrintTo(const BypassCase& c, std::ostream* os) { *os << c.name; }

class RenderBypass : public ::testing::TestWithParam<BypassCase> {};

// Power off must hand the audio back untouched, in the input's own format,
// whatever the block size and however the switch was named.
TEST_P(RenderBypass, OutputEqualsInputBitForBit) {
  const BypassCase& c = GetParam();
  TempDir dir;
  const std::string in = (dir / (std::string("in.") + c.extension)).string();
  const std::string out = (dir / (std::string("out.") + c.extension)).string();
  writeSound(in, makeNoise(c.format, 44100, c.channels, 5000, 7));
  const Sound input = readSound(in);

  std::vector<std::string> args = c.extraArgs;
  args.insert(args.end(), {"--tail", "0.01", in, out});
  RunResult run = runRender(args);
  ASSERT_EQ(run.exitCode, 0) << run.err;

  Sound output = readSound(out);
  EXPECT_EQ(output.info.format, c.format);
  expectBypassed(input, output, 441);
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAndSpellings, RenderBypass,
    ::testing::Values(
        BypassCase{"FloatWavStereo", kFloatWav, 2, "wav", {"--power", "off"}},
        BypassCase{"FloatWavMonoOddBlocks", kFloatWav, 1, "wav", {"--power", "off", "--block", "100"}},
        BypassCase{"Pcm16Wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, "wav", {"--power", "off"}},
        BypassCase{"Pcm24Aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 2, "aiff", {"--power", "off"}},
        BypassCase{"Flac16Mono", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, "flac", {"--power", "off"}},
        BypassCase{"ShortName", kFloatWav, 2, "wav", {"--param", "Power=0"}},
        BypassCase{"LongNameAnyCase", kFloatWav, 2, "wav", {"--param", "power SWITCH=0"}},
        BypassCase{"IndexNumber", kFloatWav, 2, "wav", {"--param=5=0"}},
        BypassCase{"LastSettingWins", kFloatWav, 2, "wav", {"--param", "Power=1", "--power", "off"}}),
    [](const ::testing::TestParamInfo<BypassCase>& info) { return std::string(info.param.name); });

TEST(RenderTool, WiderInputsUseTheFirstTwoChannelsAndSaySo) {
  TempDir dir;
  Sound input = makeNoise(kFloatWav, 22050, 4, 3000, 3);
  writeSound(dir / "in.wav", input);

  RunResult run = runRender({"--power", "off", "--tail", "0", (dir / "in.wav").string(),
                             (dir / "out.wav").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("first two"), std::string::npos) << run.err;
  expectBypassed(input, readSound(dir / "out.wav"), 0);
}

// With no echo and no wet signal in the Line position the unit only applies
// its fixed input attenuation, so the parameters demonstrably reached it.
TEST(RenderTool, ParametersReachTheEffect) {
  TempDir dir;
  Sound input = makeNoise(kFloatWav, 44100, 1, 4000, 5);
  writeSound(dir / "in.wav", input);

  RunResult run = runRender({"--param", "Repeat=0", "--param", "depth=0", "--param",
                             "Input Selector=1", "--tail", "0", (dir / "in.wav").string(),
                             (dir / "out.wav").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Sound out = readSound(dir / "out.wav");
  ASSERT_EQ(out.info.frames, input.info.frames);
  for (long long i = 0; i < input.info.frames; ++i) {
    ASSERT_EQ(out.at(i, 0), input.at(i, 0) * 0.8f) << "frame " << i;
    ASSERT_EQ(out.at(i, 1), input.at(i, 0) * 0.8f) << "frame " << i;
  }
}

struct ErrorCase {
  const char* name;
  std::vector<std::string> args;  // "@" stands for the temp folder
  std::string mustMention;        // likewise
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class RenderErrors : public ::testing::TestWithParam<ErrorCase> {};

std::string expand(const std::string& text, const TempDir& dir) {
  std::string out = text;
  for (std::size_t at = out.find('@'); at != std::string::npos; at = out.find('@')) {
    out.replace(at, 1, dir.path().string());
  }
  return out;
}

TEST_P(RenderErrors, FailWithOneLineNamingTheCulprit) {
  const ErrorCase& c = GetParam();
  TempDir dir;
  writeSound(dir / "in.wav", makeNoise(kFloatWav, 44100, 2, 1000));
  std::vector<std::string> args;
  for (const std::string& a : c.args) args.push_back(expand(a, dir));

  RunResult run = runRender(args);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(countLines(run.err), 1) << run.err;
  EXPECT_NE(run.err.find(expand(c.mustMention, dir)), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "out.wav")) << "no output after a failure";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenderErrors,
    ::testing::Values(
        ErrorCase{"UnknownParameter", {"--param", "Wobble=0.5", "@/in.wav", "@/out.wav"}, "Wobble"},
        ErrorCase{"IndexOutOfRange", {"--param", "6=0.5", "@/in.wav", "@/out.wav"}, "'6'"},
        ErrorCase{"ValueOutOfRange", {"--param", "Delay=1.5", "@/in.wav", "@/out.wav"}, "Delay=1.5"},
        ErrorCase{"MissingInput", {"@/nothing-here.wav", "@/out.wav"}, "@/nothing-here.wav"},
        ErrorCase{"NotASoundFile", {"@", "@/out.wav"}, "@"},
        ErrorCase{"UnwritableOutput", {"@/in.wav", "@/no/such/folder/out.wav"}, "@/no/such/folder/out.wav"},
        ErrorCase{"MissingPlugin", {"--plugin", "@/none.so", "@/in.wav", "@/out.wav"}, "@/none.so"},
        ErrorCase{"BadBlockSize", {"--block", "0", "@/in.wav", "@/out.wav"}, "--block"},
        ErrorCase{"BadPower", {"--power", "maybe", "@/in.wav", "@/out.wav"}, "maybe"},
        ErrorCase{"OnlyOneFile", {"@/in.wav"}, "OUTPUT"},
        ErrorCase{"UnknownOption", {"--wet", "@/in.wav", "@/out.wav"}, "--wet"}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST(RenderTool, RefusesToOverwriteItsInput) {
  TempDir dir;
  Sound input = makeNoise(kFloatWav, 44100, 2, 1000);
  writeSound(dir / "in.wav", input);
  RunResult run = runRender({(dir / "in.wav").string(), (dir / "in.wav").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(readSound(dir / "in.wav").samples, input.samples);
}

TEST(RenderTool, LongFilesShowProgressOnStderr) {
  TempDir dir;
  writeSound(dir / "in.wav", makeNoise(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 8000 * 11));
  RunResult run = runRender({"--power", "off", (dir / "in.wav").string(), (dir / "out.wav").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find('\r'), std::string::npos);
  EXPECT_NE(run.err.find("100%"), std::string::npos) << run.err;
}

TEST(RenderTool, ListsTheSixParameters) {
  RunResult run = runRender({"--list-params"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(countLines(run.out), 7) << run.out;  // heading + six parameters
  for (const char* name : {"Mic Lvl", "Mic Level", "Delay", "Repeat", "Depth", "Input Selector",
                           "Power Switch"}) {
    EXPECT_NE(run.out.find(name), std::string::npos) << name << " missing from\n" << run.out;
  }
}

TEST(RenderTool, DemoModeWritesProcessedAndDryFilesReproducibly) {
  TempDir dir;
  const std::filesystem::path wet = dir / "sub" / "demo.wav";
  const std::filesystem::path dry = dir / "sub" / "demo-dry.wav";

  RunResult run = runRender({"--demo-out", wet.string(), "--tail", "0.5"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find(wet.string()), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(dry.string()), std::string::npos) << run.out;

  Sound wetSound = readSound(wet);
  Sound drySound = readSound(dry);
  EXPECT_EQ(wetSound.info.channels, 2);
  EXPECT_EQ(wetSound.info.samplerate, 44100);
  EXPECT_EQ(wetSound.info.frames, drySound.info.frames);
  EXPECT_NEAR(static_cast<double>(drySound.info.frames) / 44100.0, 6.5, 0.6);

  float dryPeak = 0.0f;
  long long silentFrames = 0;
  for (long long i = 0; i < drySound.info.frames; ++i) {
    float frameMax = std::max(std::fabs(drySound.at(i, 0)), std::fabs(drySound.at(i, 1)));
    dryPeak = std::max(dryPeak, frameMax);
    silentFrames += frameMax == 0.0f;
  }
  EXPECT_LE(dryPeak, 0.5f);
  EXPECT_GT(dryPeak, 0.4f);
  EXPECT_GT(silentFrames, 44100) << "the demo needs gaps for the echoes to be heard";
  EXPECT_NE(wetSound.samples, drySound.samples);

  const std::string firstBytes = fileBytes(wet);
  run = runRender({"--demo-out", wet.string(), "--tail", "0.5"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(fileBytes(wet), firstBytes) << "the demo must render identically every time";
}

}  // namespace
}  // namespace junkyard::tooltest
