// junkyard-render with programs and preset files: what is saved loads back to
// the same sound, broken files change nothing, and programs are found by name.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tool_fixture.h"

namespace junkyard::tooltest {
namespace {

constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
using Bytes = std::vector<uint8_t>;

const char* const kFactoryNames[] = {"Junkyard Reverb", "On The Edge", "Thicker Loop", "Dimed",
                                     "Smooth Operator"};

Bytes readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

uint32_t be32(const Bytes& b, std::size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

void setBe32(Bytes& b, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

void putBe32(Bytes& b, uint32_t v) {
  b.resize(b.size() + 4);
  setBe32(b, b.size() - 4, v);
}

std::string nameField(const Bytes& file) {
  return std::string(reinterpret_cast<const char*>(file.data() + 28),
                     strnlen(reinterpret_cast<const char*>(file.data() + 28), 28));
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// A short noise file plus helpers to render it with given options.
class PresetTool : public ::testing::Test {
 protected:
  void SetUp() override { writeSound(dir / "in.wav", makeNoise(kFloatWav, 44100, 2, 6000, 11)); }

  std::string path(const std::string& name) const { return (dir / name).string(); }

  // Renders in.wav into `output` with args; fails the test on any error.
  Sound render(std::vector<std::string> args, const std::string& output) {
    args.insert(args.end(), {"--tail", "0.2", path("in.wav"), path(output)});
    RunResult run = runRender(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return readSound(dir / output);
  }

  RunResult run(std::vector<std::string> args) { return runRender(args); }

  TempDir dir;
};

TEST_F(PresetTool, ListProgramsShowsTheFactoryBankWithDisplays) {
  RunResult run = runRender({"--list-programs"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::vector<std::string> out = lines(run.out);
  ASSERT_EQ(out.size(), 6u) << run.out;
  EXPECT_NE(out[0].find("Mic Lvl"), std::string::npos) << out[0];
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(out[i + 1].rfind(std::to_string(i) + " ", 0), 0u) << out[i + 1];
    EXPECT_NE(out[i + 1].find(kFactoryNames[i]), std::string::npos) << out[i + 1];
  }
  // "Dimed" turns all four knobs fully up; "Smooth Operator" uses Line.
  std::size_t tens = 0;
  for (std::size_t at = out[4].find("10.0"); at != std::string::npos; at = out[4].find("10.0", at + 1)) ++tens;
  EXPECT_EQ(tens, 4u) << out[4];
  EXPECT_NE(out[5].find("Line"), std::string::npos) << out[5];
}

// Listing switches through every program; the one selected before must be
// the current one again afterwards, as the saved program shows.
TEST_F(PresetTool, ListProgramsRestoresTheCurrentProgram) {
  RunResult listing = run({"--program", "3", "--list-programs", "--save-preset", path("p.fxp")});
  ASSERT_EQ(listing.exitCode, 0) << listing.err;
  EXPECT_EQ(nameField(readBytes(dir / "p.fxp")), "Dimed");
}

TEST_F(PresetTool, ProgramsAreFoundByNumberOrByNameInAnyCase) {
  Sound byIndex = render({"--program", "3"}, "index.wav");
  Sound byName = render({"--program", "dIMED"}, "name.wav");
  Sound factoryFirst = render({}, "default.wav");
  EXPECT_EQ(byIndex.samples, byName.samples);
  EXPECT_NE(byIndex.samples, factoryFirst.samples) << "the program must reach the effect";
  // --param applies on top of the program, whichever order it was typed in.
  Sound tweaked = render({"--param", "Delay=0.25", "--program", "on the edge"}, "tweak.wav");
  Sound edge = render({"--program", "1"}, "edge.wav");
  EXPECT_NE(tweaked.samples, edge.samples);
}

struct SaveCase {
  const char* name;
  const char* file;
  std::vector<std::string> settings;
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class PresetRoundTrip : public PresetTool, public ::testing::WithParamInterface<SaveCase> {};

// A fresh run with nothing but the saved file must sound exactly like the
// run that saved it.
TEST_P(PresetRoundTrip, LoadedPresetRendersBitForBitTheSame) {
  const SaveCase& c = GetParam();
  std::vector<std::string> args = c.settings;
  args.insert(args.end(), {"--save-preset", path(c.file)});
  Sound saved = render(args, "saved.wav");
  Sound loaded = render({"--load-preset", path(c.file)}, "loaded.wav");
  Sound plain = render({}, "plain.wav");
  EXPECT_EQ(loaded.samples, saved.samples);
  EXPECT_NE(loaded.samples, plain.samples) << "the settings must have made a difference";
}

INSTANTIATE_TEST_SUITE_P(
    Files, PresetRoundTrip,
    ::testing::Values(
        SaveCase{"Program", "p.fxp", {"--program", "3", "--param", "Delay=0.3", "--param", "Depth=0.8"}},
        SaveCase{"ProgramUpperCaseExtension", "P.FXP", {"--program", "Smooth Operator", "--param", "Repeat=0.5"}},
        SaveCase{"Bank", "b.fxb", {"--program", "3", "--param", "Delay=0.3"}},
        SaveCase{"BankOnOtherProgram", "b.fxb", {"--program", "1", "--param", "Mic Level=0.2"}}),
    [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

// The chunk inside a saved .fxp/.fxb loads on its own as a raw chunk file.
TEST_F(PresetTool, RawChunksLoadLikeTheFilesTheyCameFrom) {
  Sound saved = render({"--program", "2", "--param", "Delay=0.6", "--save-preset", path("p.fxp")}, "saved.wav");
  Bytes fxp = readBytes(dir / "p.fxp");
  ASSERT_EQ(fxp.size(), 116u);
  EXPECT_EQ(be32(fxp, 56), 56u);
  writeBytes(dir / "program.chunk", Bytes(fxp.begin() + 60, fxp.end()));
  EXPECT_EQ(render({"--load-preset", path("program.chunk")}, "raw.wav").samples, saved.samples);

  RunResult bankRun = run({"--program", "2", "--param", "Delay=0.6", "--save-preset", path("b.fxb"), "--list-programs"});
  ASSERT_EQ(bankRun.exitCode, 0) << bankRun.err;
  Bytes fxb = readBytes(dir / "b.fxb");
  ASSERT_EQ(fxb.size(), 440u);
  EXPECT_EQ(be32(fxb, 12), 2u) << "banks are saved as version 2";
  EXPECT_EQ(be32(fxb, 28), 2u) << "with the current program";
  // The raw bank has no current program: select it by hand.
  writeBytes(dir / "bank.chunk", Bytes(fxb.begin() + 160, fxb.end()));
  EXPECT_EQ(render({"--load-preset", path("bank.chunk"), "--program", "2"}, "rawbank.wav").samples,
            saved.samples);
}

TEST_F(PresetTool, SavedFilesCarryThePluginsIdentity) {
  ASSERT_EQ(run({"--program", "4", "--list-params", "--save-preset", path("p.fxp")}).exitCode, 0);
  Bytes fxp = readBytes(dir / "p.fxp");
  ASSERT_EQ(fxp.size(), 116u);
  EXPECT_EQ(be32(fxp, 0), 0x43636E4Bu);   // CcnK
  EXPECT_EQ(be32(fxp, 4), 108u);
  EXPECT_EQ(be32(fxp, 8), 0x46504368u);   // FPCh
  EXPECT_EQ(be32(fxp, 16), 0x4D466A72u);  // MFjr
  EXPECT_EQ(be32(fxp, 24), 6u);
  EXPECT_EQ(nameField(fxp), "Smooth Operator");
  // The chunk starts with the program's own name record.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(fxp.data() + 60)), "Smooth Operator");
}

// Parameter-list files: values set one by one, the name through the program
// name; saving afterwards shows both arrived.
TEST_F(PresetTool, ParameterListProgramsLoad) {
  Bytes file;
  putBe32(file, 0x43636E4B);  // CcnK
  putBe32(file, 0);
  putBe32(file, 0x4678436B);  // FxCk
  putBe32(file, 1);
  putBe32(file, 0x4D466A72);  // MFjr
  putBe32(file, 1);
  putBe32(file, 6);
  file.resize(file.size() + 28, 0);
  std::memcpy(file.data() + 28, "Hand Made", 9);
  const float values[6] = {0.25f, 0.5f, 0.125f, 0.75f, 1.0f, 1.0f};
  for (float v : values) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    putBe32(file, bits);
  }
  setBe32(file, 4, static_cast<uint32_t>(file.size() - 8));
  writeBytes(dir / "hand.fxp", file);

  RunResult loaded = run({"--load-preset", path("hand.fxp"), "--list-params", "--save-preset", path("out.fxp")});
  ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
  Bytes saved = readBytes(dir / "out.fxp");
  ASSERT_EQ(saved.size(), 116u);
  EXPECT_EQ(nameField(saved), "Hand Made");
  float stored[6];
  std::memcpy(stored, saved.data() + 60 + 24, sizeof stored);  // the chunk is little-endian
  for (int j = 0; j < 6; ++j) EXPECT_EQ(stored[j], values[j]) << "parameter " << j;
}

TEST_F(PresetTool, ParameterListBanksLoadEveryProgramAndItsName) {
  Bytes file;
  putBe32(file, 0x43636E4B);
  putBe32(file, 0);
  putBe32(file, 0x4678426B);  // FxBk
  putBe32(file, 2);
  putBe32(file, 0x4D466A72);
  putBe32(file, 1);
  putBe32(file, 5);
  putBe32(file, 2);  // current program
  file.resize(156, 0);
  for (int i = 0; i < 5; ++i) {
    Bytes record;
    putBe32(record, 0x43636E4B);
    putBe32(record, 72);
    putBe32(record, 0x4678436B);
    putBe32(record, 1);
    putBe32(record, 0x4D466A72);
    putBe32(record, 1);
    putBe32(record, 6);
    const std::string name = "Mine " + std::to_string(i);
    record.resize(record.size() + 28, 0);
    std::memcpy(record.data() + 28, name.data(), name.size());
    for (int j = 0; j < 6; ++j) {
      float v = static_cast<float>(i + j) / 10.0f;
      uint32_t bits;
      std::memcpy(&bits, &v, 4);
      putBe32(record, bits);
    }
    file.insert(file.end(), record.begin(), record.end());
  }
  setBe32(file, 4, static_cast<uint32_t>(file.size() - 8));
  writeBytes(dir / "mine.fxb", file);

  RunResult listing = run({"--load-preset", path("mine.fxb"), "--list-programs", "--save-preset", path("now.fxp")});
  ASSERT_EQ(listing.exitCode, 0) << listing.err;
  std::vector<std::string> out = lines(listing.out);
  ASSERT_EQ(out.size(), 6u) << listing.out;
  for (int i = 0; i < 5; ++i) EXPECT_NE(out[i + 1].find("Mine " + std::to_string(i)), std::string::npos);
  EXPECT_EQ(nameField(readBytes(dir / "now.fxp")), "Mine 2") << "the bank's current program is selected";

  // Program names from a loaded bank are what --program matches against.
  RunResult named = run({"--load-preset", path("mine.fxb"), "--program", "mine 4", "--list-params",
                         "--save-preset", path("four.fxp")});
  ASSERT_EQ(named.exitCode, 0) << named.err;
  EXPECT_EQ(nameField(readBytes(dir / "four.fxp")), "Mine 4");
}

struct BrokenCase {
  const char* name;
  std::function<Bytes(const Bytes& fxp, const Bytes& fxb)> make;  // from good files
  const char* reason;
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

class BrokenPresets : public PresetTool, public ::testing::WithParamInterface<BrokenCase> {};

// Nothing is rendered and nothing saved: the file is judged before the
// effect or any output is touched.
TEST_P(BrokenPresets, FailWithOneLineNamingTheFile) {
  const BrokenCase& c = GetParam();
  ASSERT_EQ(run({"--list-params", "--save-preset", path("good.fxp")}).exitCode, 0);
  ASSERT_EQ(run({"--list-params", "--save-preset", path("good.fxb")}).exitCode, 0);
  writeBytes(dir / "bad.fxp", c.make(readBytes(dir / "good.fxp"), readBytes(dir / "good.fxb")));

  RunResult r = run({"--load-preset", path("bad.fxp"), "--save-preset", path("after.fxb"),
                     path("in.wav"), path("out.wav")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(countLines(r.err), 1) << r.err;
  EXPECT_NE(r.err.find(path("bad.fxp") + ": "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "out.wav"));
  EXPECT_FALSE(std::filesystem::exists(dir / "after.fxb"));
}

Bytes withField(Bytes b, std::size_t at, uint32_t v) {
  setBe32(b, at, v);
  return b;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenPresets,
    ::testing::Values(
        BrokenCase{"WrongMagic", [](const Bytes& p, const Bytes&) { return withField(p, 0, 0x43636E4C); }, "CcnK"},
        BrokenCase{"WrongPluginId", [](const Bytes& p, const Bytes&) { return withField(p, 16, 0x41424344); }, "'ABCD'"},
        BrokenCase{"Truncated", [](const Bytes& p, const Bytes&) { return Bytes(p.begin(), p.end() - 1); }, "truncated"},
        BrokenCase{"BankTruncatedToAChunkSize", [](const Bytes&, const Bytes& b) { return Bytes(b.begin(), b.begin() + 280); }, "truncated"},
        BrokenCase{"ByteSizeLies", [](const Bytes& p, const Bytes&) { return withField(p, 4, 100); }, "100 bytes"},
        BrokenCase{"ChunkSizeLies", [](const Bytes&, const Bytes& b) { return withField(b, 156, 279); }, "279 bytes"},
        BrokenCase{"UnknownType", [](const Bytes& p, const Bytes&) { return withField(p, 8, 0x46504378); }, "'FPCx'"},
        BrokenCase{"RawChunkOfOddSize", [](const Bytes& p, const Bytes&) { return Bytes(p.begin() + 60, p.end() - 1); }, "55 bytes"},
        BrokenCase{"Empty", [](const Bytes&, const Bytes&) { return Bytes{}; }, "empty"}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

struct UsageCase {
  const char* name;
  std::vector<std::string> args;  // "@" stands for the temp folder
  const char* mention;
};

void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class PresetUsageErrors : public PresetTool, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(PresetUsageErrors, FailBeforeRendering) {
  const UsageCase& c = GetParam();
  std::vector<std::string> args;
  for (std::string a : c.args) {
    if (a.find('@') != std::string::npos) a.replace(a.find('@'), 1, dir.path().string());
    args.push_back(a);
  }
  args.insert(args.end(), {path("in.wav"), path("out.wav")});
  RunResult r = run(args);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(countLines(r.err), 1) << r.err;
  EXPECT_NE(r.err.find(c.mention), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "out.wav"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PresetUsageErrors,
    ::testing::Values(
        UsageCase{"SaveWithUnknownExtension", {"--save-preset", "@/x.chunk"}, "unknown preset extension"},
        UsageCase{"SaveWithoutExtension", {"--save-preset", "@/preset"}, "unknown preset extension"},
        UsageCase{"LoadMissingFile", {"--load-preset", "@/none.fxp"}, "none.fxp: no such file"},
        UsageCase{"LoadDirectory", {"--load-preset", "@"}, "is a directory"},
        UsageCase{"UnknownProgramName", {"--program", "Loud"}, "'Loud'"},
        UsageCase{"ProgramNumberTooHigh", {"--program", "5"}, "'5'"},
        UsageCase{"ProgramNumberNegative", {"--program", "-1"}, "'-1'"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

// The demo once per program, named after the programs, each the same as a
// single demo render with that program.
TEST(DemoPrograms, OneFilePerProgramNamedAfterIt) {
  TempDir dir;
  const std::filesystem::path base = dir / "demo" / "jd.wav";
  RunResult run = runRender({"--all-programs", "--demo-out", base.string(), "--tail", "0.2"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const char* const tags[] = {"junkyard-reverb", "on-the-edge", "thicker-loop", "dimed", "smooth-operator"};
  std::vector<Sound> sounds;
  for (const char* tag : tags) {
    const std::filesystem::path file = dir / "demo" / (std::string("jd-") + tag + ".wav");
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    EXPECT_NE(run.out.find(file.string()), std::string::npos) << run.out;
    sounds.push_back(readSound(file));
  }
  EXPECT_TRUE(std::filesystem::exists(dir / "demo" / "jd-dry.wav"));
  EXPECT_FALSE(std::filesystem::exists(base)) << "every program has its own file";
  for (std::size_t i = 1; i < sounds.size(); ++i) EXPECT_NE(sounds[i].samples, sounds[0].samples) << tags[i];

  const std::filesystem::path single = dir / "single.wav";
  ASSERT_EQ(runRender({"--program", "3", "--demo-out", single.string(), "--tail", "0.2"}).exitCode, 0);
  EXPECT_EQ(readSound(single).samples, sounds[3].samples);
}

TEST(DemoPrograms, CannotBeCombinedWithOneProgram) {
  RunResult run = runRender({"--all-programs", "--program", "2"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("--all-programs"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace junkyard::tooltest
