// junkyard-editor as a user runs it: screenshots of the panel, program
// selection, and the errors that end it with status 1.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "editor_window/display_lock.h"
#include "tool_fixture.h"
#include "tools/vsthost/plugin_instance.h"
#include "tools/vsthost/plugin_library.h"

namespace junkyard::tooltest {
namespace {

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs junkyard-editor; `withDisplay` false runs it with DISPLAY unset.
RunResult runEditor(const std::vector<std::string>& args, bool withDisplay = true) {
  TempDir capture;
  const std::string outPath = (capture / "stdout").string();
  const std::string errPath = (capture / "stderr").string();
  std::vector<std::string> argvStrings{JUNKYARD_EDITOR_PATH};
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : argvStrings) argv.push_back(s.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (!withDisplay) unsetenv("DISPLAY");
    execv(argv[0], argv.data());
    _exit(127);
  }
  RunResult result;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  return result;
}

struct PngSize {
  unsigned width = 0, height = 0;
};

// Width and height from the header chunk; zero when the file is no PNG.
PngSize pngSize(const std::string& bytes) {
  static const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
  if (bytes.size() < 24 || bytes.compare(0, 8, kSignature) != 0 || bytes.compare(12, 4, "IHDR") != 0)
    return {};
  auto big32 = [&](size_t at) {
    unsigned v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {big32(16), big32(20)};
}

// Kept loaded: unloading the module takes its drawing libraries and their
// caches along, which the leak checker would report as lost.
ERect panelRect() {
  static const auto* loaded = new vsthost::PluginLibrary(JUNKYARD_PLUGIN_PATH);
  const vsthost::PluginLibrary& library = *loaded;
  if (!library.ok()) return {};
  vsthost::PluginInstance effect(library);
  ERect* rect = nullptr;
  if (!effect.valid() || !effect.dispatch(effEditGetRect, 0, 0, &rect) || !rect) return {};
  return *rect;
}

class EditorTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    lock = std::make_unique<editorwindow::DisplayLock>();
  }
  std::unique_ptr<editorwindow::DisplayLock> lock;
  TempDir dir;
};

TEST_F(EditorTool, ScreenshotIsAPictureOfThePanel) {
  const ERect panel = panelRect();
  ASSERT_GT(panel.right, 0);
  const auto png = dir / "panel.png";
  const RunResult r = runEditor({"--screenshot", png.string(), "--after", "300"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const PngSize size = pngSize(slurp(png));
  EXPECT_EQ(size.width, static_cast<unsigned>(panel.right - panel.left));
  EXPECT_EQ(size.height, static_cast<unsigned>(panel.bottom - panel.top));
}

TEST_F(EditorTool, ProgramOptionShowsThatProgramsKnobs) {
  const auto first = dir / "program0.png";
  const auto third = dir / "program2.png";
  const RunResult r0 = runEditor({"--screenshot", first.string(), "--after", "300"});
  const RunResult r2 = runEditor({"--program", "2", "--screenshot", third.string(), "--after", "300"});
  ASSERT_EQ(r0.exitCode, 0) << r0.err;
  ASSERT_EQ(r2.exitCode, 0) << r2.err;
  const std::string a = slurp(first), b = slurp(third);
  EXPECT_GT(pngSize(b).width, 0u);
  // Program 2 turns Mic Level, Delay and Repeat elsewhere than program 0 does.
  EXPECT_NE(a, b);
}

struct BadRun {
  const char* name;
  std::vector<std::string> args;
  bool withDisplay;
  const char* mentions;
};

class EditorToolErrors : public ::testing::TestWithParam<BadRun> {};

TEST_P(EditorToolErrors, EndWithStatusOneAndAMessage) {
  const BadRun& c = GetParam();
  const RunResult r = runEditor(c.args, c.withDisplay);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, EditorToolErrors,
    ::testing::Values(BadRun{"UnknownOption", {"--frobnicate"}, true, "--frobnicate"},
                      BadRun{"ProgramNotANumber", {"--program", "2x"}, true, "2x"},
                      BadRun{"ProgramMissing", {"--program"}, true, "--program"},
                      BadRun{"NoSuchProgram", {"--program", "5"}, true, "program 5"},
                      BadRun{"AfterWithoutScreenshot", {"--after", "10"}, true, "--screenshot"},
                      BadRun{"ModuleMissing", {"--plugin", "/nonexistent/x.so"}, true, "/nonexistent/x.so"},
                      BadRun{"NoDisplay", {}, false, "display"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditorToolHelp, DescribesTheOutputLines) {
  const RunResult r = runEditor({"--help"}, false);
  EXPECT_EQ(r.exitCode, 0);
  for (const char* line : {"automate <index> <value>", "begin-edit <index>", "end-edit <index>", "--screenshot"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace junkyard::tooltest
