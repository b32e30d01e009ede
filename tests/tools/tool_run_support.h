// Running a tool as a user does (a separate process, its output captured),
// reading the pictures it writes, and the display the window tools need.
#pragma once

// gtest before Xlib: Xlib's macros (None, Bool) would break gtest's names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor_window/display_lock.h"
#include "tool_fixture.h"

namespace junkyard::tooltest {

// The whole file; empty when it cannot be read.
std::string slurp(const std::filesystem::path& path);

// Starts `program` with `args`, stdin from /dev/null, stdout to `outFd` and
// stderr to `errFd`; `withDisplay` false runs it with DISPLAY unset.
// -1 when no process could be made.
pid_t startTool(const std::string& program, const std::vector<std::string>& args, int outFd, int errFd,
                bool withDisplay = true);

// Runs `program` to its end; exitCode stays -1 unless it exited normally.
RunResult runTool(const std::string& program, const std::vector<std::string>& args,
                  bool withDisplay = true);

// A command line the tool must refuse: status 1, nothing on stdout and a
// message on stderr that contains `mentions`.
struct BadRun {
  const char* name;
  std::vector<std::string> args;
  bool withDisplay;
  const char* mentions;
};

// Runs `program` with the bad command line and checks it was refused.
void expectRefused(const std::string& program, const BadRun& run);

// Names the cases of a suite parameterised by BadRun.
std::string badRunName(const ::testing::TestParamInfo<BadRun>& info);

struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, row by row
  uint32_t at(long x, long y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

// False when the file is missing or no PNG.
bool readPng(const std::filesystem::path& path, Picture& picture);

// A client connection of the test's own; display is null without one.
struct DisplayConnection {
  Display* display = XOpenDisplay(nullptr);
  DisplayConnection() = default;
  ~DisplayConnection() {
    if (display) XCloseDisplay(display);
  }
  DisplayConnection(const DisplayConnection&) = delete;
  DisplayConnection& operator=(const DisplayConnection&) = delete;
};

// Tests of tools that open windows: skipped without a display, and holding
// the display lock so no other test clicks into their windows.
class WindowToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    lock = std::make_unique<editorwindow::DisplayLock>();
  }
  std::unique_ptr<editorwindow::DisplayLock> lock;
  TempDir dir;
};

}  // namespace junkyard::tooltest
