// junkyard-gallery as a user runs it: its screenshot is a picture of the
// whole panel, a click on a control prints that control's report, and bad
// command lines end with status 1.
//
// The tool is checked from outside, as a separate process, and clicked with
// XTest like a user's pointer would.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tool_run_support.h"
#include "tools/gallery/gallery_layout.h"

namespace junkyard::tooltest {
namespace {

RunResult runGallery(const std::vector<std::string>& args, bool withDisplay = true) {
  return runTool(JUNKYARD_GALLERY_PATH, args, withDisplay);
}

class GalleryTool : public WindowToolTest {};

TEST_F(GalleryTool, ScreenshotIsAPictureOfTheWholePanel) {
  const auto png = dir / "gallery.png";
  const RunResult r = runGallery({"--screenshot", png.string(), "--after", "300"});
  if (r.exitCode == 1 && r.err.find("display") != std::string::npos) GTEST_SKIP() << r.err;
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");

  Picture picture;
  ASSERT_TRUE(readPng(png, picture));
  ASSERT_EQ(picture.width, gallery::kPanelWidth);
  ASSERT_EQ(picture.height, gallery::kPanelHeight);
  // A panel of pictures, captions and texts, not an empty or one-colour window.
  const std::set<uint32_t> colours(picture.pixels.begin(), picture.pixels.end());
  EXPECT_GT(colours.size(), 100u);
  // The wells stand out from the panel: their corners and middles differ
  // from the title bar, so the panel was drawn where the layout puts it.
  const CRect well = gallery::wellRect(gallery::kOnOffColumn, gallery::kOnOffRow);
  EXPECT_NE(picture.at(well.left + 3, well.top + 3), picture.at(3, 3));
}

// The test's own pointer on the gallery's display.
struct XClient : DisplayConnection {
  // The top-level window named `title` with its child (the frame's) in place.
  Window findWindow(const char* title) const {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
      char* name = nullptr;
      if (XFetchName(display, children[i], &name) && name) {
        if (std::strcmp(name, title) == 0) {
          Window* inner = nullptr;
          unsigned innerCount = 0;
          if (XQueryTree(display, children[i], &root, &parent, &inner, &innerCount) && innerCount > 0)
            found = children[i];
          if (inner) XFree(inner);
        }
        XFree(name);
      }
    }
    if (children) XFree(children);
    return found;
  }

  // (x, y) of `window` on the screen, wherever a window manager put it.
  bool toScreen(Window window, long& x, long& y) const {
    int sx = 0, sy = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), static_cast<int>(x),
                               static_cast<int>(y), &sx, &sy, &child))
      return false;
    x = sx;
    y = sy;
    return true;
  }

  // A left click at (x, y) of the screen.
  void click(long x, long y) const {
    XTestFakeMotionEvent(display, -1, static_cast<int>(x), static_cast<int>(y), 0);
    XSync(display, False);
    XTestFakeButtonEvent(display, 1, True, 0);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // a human's press
    XTestFakeButtonEvent(display, 1, False, 0);
    XSync(display, False);
  }
};

// Reads from `fd` until a full line arrives or `seconds` pass.
std::string readLine(int fd, int seconds) {
  std::string text;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (text.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text.substr(0, text.find('\n'));
}

TEST_F(GalleryTool, ClickOnTheOnOffButtonPrintsItsReport) {
  XClient x;
  if (!x.display) GTEST_SKIP() << "cannot open the display";
  int event = 0, error = 0, major = 0, minor = 0;
  ASSERT_TRUE(XTestQueryExtension(x.display, &event, &error, &major, &minor)) << "XTest is not available";
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const int err = open((dir / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(err, 0);
  // The screenshot option makes the gallery end by itself, should the test not.
  const pid_t pid = startTool(JUNKYARD_GALLERY_PATH,
                              {"--screenshot", (dir / "unused.png").string(), "--after", "60000"}, pipeFds[1], err);
  close(pipeFds[1]);
  close(err);
  ASSERT_GT(pid, 0);

  Window window = 0;
  for (int attempt = 0; attempt < 200 && !window; ++attempt) {
    window = x.findWindow("Junkyard Reverb \xE2\x80\x94 control gallery");
    if (!window) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  std::string line;
  if (window) {
    const CRect button = gallery::centred(gallery::stageRect(gallery::kOnOffColumn, gallery::kOnOffRow),
                                          1, 1);
    long clickX = button.left, clickY = button.top;
    EXPECT_TRUE(x.toScreen(window, clickX, clickY));
    x.click(clickX, clickY);
    line = readLine(pipeFds[0], 10);
  }
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  close(pipeFds[0]);
  ASSERT_NE(window, 0u) << "the gallery's window did not appear: " << slurp(dir / "stderr");
  EXPECT_EQ(line, "COnOffButton tag 1 value 1");
}

class GalleryToolErrors : public ::testing::TestWithParam<BadRun> {};

TEST_P(GalleryToolErrors, EndWithStatusOneAndAMessage) { expectRefused(JUNKYARD_GALLERY_PATH, GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Runs, GalleryToolErrors,
    ::testing::Values(BadRun{"UnknownOption", {"--frobnicate"}, true, "--frobnicate"},
                      BadRun{"ScreenshotWithoutFile", {"--screenshot"}, true, "--screenshot"},
                      BadRun{"AfterNotANumber", {"--screenshot", "x.png", "--after", "3s"}, true, "--after"},
                      BadRun{"AfterNegative", {"--screenshot", "x.png", "--after", "-5"}, true, "--after"},
                      BadRun{"AfterWithoutScreenshot", {"--after", "10"}, true, "--screenshot"},
                      BadRun{"NoDisplay", {"--screenshot", "x.png"}, false, "display"}),
    badRunName);

TEST(GalleryToolHelp, DescribesTheReportLinesAndOptions) {
  const RunResult r = runGallery({"--help"}, false);
  EXPECT_EQ(r.exitCode, 0);
  for (const char* text : {"<ClassName> tag <tag> value <value>", "--screenshot", "--after"})
    EXPECT_NE(r.out.find(text), std::string::npos) << text;
}

}  // namespace
}  // namespace junkyard::tooltest
