// junkyard-editor as a user runs it: screenshots of the panel, program
// selection, and the errors that end it with status 1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_run_support.h"
#include "tools/vsthost/plugin_instance.h"
#include "tools/vsthost/plugin_library.h"

namespace junkyard::tooltest {
namespace {

// Runs junkyard-editor; `withDisplay` false runs it with DISPLAY unset.
RunResult runEditor(const std::vector<std::string>& args, bool withDisplay = true) {
  return runTool(JUNKYARD_EDITOR_PATH, args, withDisplay);
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

class EditorTool : public WindowToolTest {};

TEST_F(EditorTool, ScreenshotIsAPictureOfThePanel) {
  const ERect panel = panelRect();
  ASSERT_GT(panel.right, 0);
  const auto png = dir / "panel.png";
  const RunResult r = runEditor({"--screenshot", png.string(), "--after", "300"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  Picture picture;
  ASSERT_TRUE(readPng(png, picture));
  EXPECT_EQ(picture.width, panel.right - panel.left);
  EXPECT_EQ(picture.height, panel.bottom - panel.top);
}

TEST_F(EditorTool, ProgramOptionShowsThatProgramsKnobs) {
  const auto first = dir / "program0.png";
  const auto third = dir / "program2.png";
  const RunResult r0 = runEditor({"--screenshot", first.string(), "--after", "300"});
  const RunResult r2 = runEditor({"--program", "2", "--screenshot", third.string(), "--after", "300"});
  ASSERT_EQ(r0.exitCode, 0) << r0.err;
  ASSERT_EQ(r2.exitCode, 0) << r2.err;
  Picture a, b;
  ASSERT_TRUE(readPng(first, a));
  ASSERT_TRUE(readPng(third, b));
  EXPECT_GT(b.width, 0);
  // Program 2 turns Mic Level, Delay and Repeat elsewhere than program 0 does.
  EXPECT_NE(a.pixels, b.pixels);
}

class EditorToolErrors : public ::testing::TestWithParam<BadRun> {};

TEST_P(EditorToolErrors, EndWithStatusOneAndAMessage) { expectRefused(JUNKYARD_EDITOR_PATH, GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Runs, EditorToolErrors,
    ::testing::Values(BadRun{"UnknownOption", {"--frobnicate"}, true, "--frobnicate"},
                      BadRun{"ProgramNotANumber", {"--program", "2x"}, true, "2x"},
                      BadRun{"ProgramMissing", {"--program"}, true, "--program"},
                      BadRun{"NoSuchProgram", {"--program", "5"}, true, "program 5"},
                      BadRun{"AfterWithoutScreenshot", {"--after", "10"}, true, "--screenshot"},
                      BadRun{"ModuleMissing", {"--plugin", "/nonexistent/x.so"}, true, "/nonexistent/x.so"},
                      BadRun{"NoDisplay", {}, false, "display"}),
    badRunName);

TEST(EditorToolHelp, DescribesTheOutputLines) {
  const RunResult r = runEditor({"--help"}, false);
  EXPECT_EQ(r.exitCode, 0);
  for (const char* line : {"automate <index> <value>", "begin-edit <index>", "end-edit <index>", "--screenshot"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace junkyard::tooltest
