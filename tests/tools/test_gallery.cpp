// junkyard-gallery as a user runs it: its screenshot is a picture of the
// whole panel, a click on a control prints that control's report, and bad
// command lines end with status 1.
//
// The tool is checked from outside, as a separate process. Its PNG is read
// and the display driven through libraries loaded at run time (cairo, Xlib
// and XTest, which the tool itself uses), so this test program needs no
// drawing or windowing libraries of its own.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "editor_window/display_lock.h"
#include "tool_fixture.h"
#include "tools/gallery/gallery_layout.h"

namespace junkyard::tooltest {
namespace {

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> commandLine(const std::vector<std::string>& args) {
  std::vector<std::string> all{JUNKYARD_GALLERY_PATH};
  all.insert(all.end(), args.begin(), args.end());
  return all;
}

// Starts the gallery with stdout going to `outFd` and stderr to `errFd`.
pid_t startGallery(const std::vector<std::string>& args, int outFd, int errFd, bool withDisplay) {
  std::vector<std::string> strings = commandLine(args);
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    if (in < 0) _exit(127);
    dup2(in, 0);
    dup2(outFd, 1);
    dup2(errFd, 2);
    if (!withDisplay) unsetenv("DISPLAY");
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

RunResult runGallery(const std::vector<std::string>& args, bool withDisplay = true) {
  TempDir capture;
  const std::string outPath = (capture / "stdout").string();
  const std::string errPath = (capture / "stderr").string();
  const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  RunResult result;
  if (out < 0 || err < 0) return result;
  const pid_t pid = startGallery(args, out, err, withDisplay);
  close(out);
  close(err);
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    result.exitCode = WEXITSTATUS(status);
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  return result;
}

// The few cairo calls needed to read a PNG back, loaded at run time.
struct CairoPng {
  void* library = dlopen("libcairo.so.2", RTLD_NOW | RTLD_LOCAL);
  template <typename F>
  F fn(const char* name) const {
    return library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
  }

  struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, row by row
  };

  // False when the file cannot be decoded.
  bool read(const std::string& path, Picture& picture) const {
    auto fromPng = fn<void* (*)(const char*)>("cairo_image_surface_create_from_png");
    auto status = fn<int (*)(void*)>("cairo_surface_status");
    auto width = fn<int (*)(void*)>("cairo_image_surface_get_width");
    auto height = fn<int (*)(void*)>("cairo_image_surface_get_height");
    auto stride = fn<int (*)(void*)>("cairo_image_surface_get_stride");
    auto data = fn<unsigned char* (*)(void*)>("cairo_image_surface_get_data");
    auto destroy = fn<void (*)(void*)>("cairo_surface_destroy");
    if (!fromPng || !status || !width || !height || !stride || !data || !destroy) return false;
    void* surface = fromPng(path.c_str());
    if (!surface) return false;
    const bool ok = status(surface) == 0;
    if (ok) {
      picture.width = width(surface);
      picture.height = height(surface);
      const unsigned char* bytes = data(surface);
      for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(bytes + static_cast<long>(y) * stride(surface));
        picture.pixels.insert(picture.pixels.end(), row, row + picture.width);
      }
    }
    destroy(surface);
    return ok;
  }
};

class GalleryTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    lock = std::make_unique<editorwindow::DisplayLock>();
  }
  std::unique_ptr<editorwindow::DisplayLock> lock;
  TempDir dir;
};

TEST_F(GalleryTool, ScreenshotIsAPictureOfTheWholePanel) {
  const auto png = dir / "gallery.png";
  const RunResult r = runGallery({"--screenshot", png.string(), "--after", "300"});
  if (r.exitCode == 1 && r.err.find("display") != std::string::npos) GTEST_SKIP() << r.err;
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");

  CairoPng cairo;
  ASSERT_NE(cairo.library, nullptr) << dlerror();
  CairoPng::Picture picture;
  ASSERT_TRUE(cairo.read(png.string(), picture));
  EXPECT_EQ(picture.width, gallery::kPanelWidth);
  EXPECT_EQ(picture.height, gallery::kPanelHeight);
  // A panel of pictures, captions and texts, not an empty or one-colour window.
  const std::set<uint32_t> colours(picture.pixels.begin(), picture.pixels.end());
  EXPECT_GT(colours.size(), 100u);
  // The wells stand out from the panel: their corners and middles differ
  // from the title bar, so the panel was drawn where the layout puts it.
  const CRect well = gallery::wellRect(gallery::kOnOffColumn, gallery::kOnOffRow);
  auto at = [&](long x, long y) { return picture.pixels[static_cast<size_t>(y * picture.width + x)]; };
  EXPECT_NE(at(well.left + 3, well.top + 3), at(3, 3));
}

// Xlib and XTest, loaded at run time.
struct XClient {
  void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  void* xtest = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
  Display* display = nullptr;

  template <typename F>
  static F fn(void* library, const char* name) {
    return library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
  }

  XClient() {
    if (auto open = fn<Display* (*)(const char*)>(xlib, "XOpenDisplay")) display = open(nullptr);
  }
  ~XClient() {
    if (auto close = fn<int (*)(Display*)>(xlib, "XCloseDisplay"); close && display) close(display);
  }
  bool ready() const { return display && xtest; }

  // The top-level window named `title` with its child (the frame's) in place.
  Window findWindow(const char* title) const {
    auto query = fn<Status (*)(Display*, Window, Window*, Window*, Window**, unsigned*)>(xlib, "XQueryTree");
    auto fetchName = fn<Status (*)(Display*, Window, char**)>(xlib, "XFetchName");
    auto xfree = fn<int (*)(void*)>(xlib, "XFree");
    auto rootOf = fn<Window (*)(Display*)>(xlib, "XDefaultRootWindow");
    if (!query || !fetchName || !xfree || !rootOf) return 0;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!query(display, rootOf(display), &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
      char* name = nullptr;
      if (fetchName(display, children[i], &name) && name) {
        if (std::strcmp(name, title) == 0) {
          Window* inner = nullptr;
          unsigned innerCount = 0;
          if (query(display, children[i], &root, &parent, &inner, &innerCount) && innerCount > 0)
            found = children[i];
          if (inner) xfree(inner);
        }
        xfree(name);
      }
    }
    if (children) xfree(children);
    return found;
  }

  // (x, y) of `window` on the screen, wherever a window manager put it.
  bool toScreen(Window window, long& x, long& y) const {
    auto translate = fn<Bool (*)(Display*, Window, Window, int, int, int*, int*, Window*)>(
        xlib, "XTranslateCoordinates");
    auto rootOf = fn<Window (*)(Display*)>(xlib, "XDefaultRootWindow");
    if (!translate || !rootOf) return false;
    int sx = 0, sy = 0;
    Window child = 0;
    if (!translate(display, window, rootOf(display), static_cast<int>(x), static_cast<int>(y), &sx,
                   &sy, &child))
      return false;
    x = sx;
    y = sy;
    return true;
  }

  // A left click at (x, y) of the screen.
  bool click(long x, long y) const {
    auto motion = fn<int (*)(Display*, int, int, int, unsigned long)>(xtest, "XTestFakeMotionEvent");
    auto button = fn<int (*)(Display*, unsigned, Bool, unsigned long)>(xtest, "XTestFakeButtonEvent");
    auto sync = fn<int (*)(Display*, Bool)>(xlib, "XSync");
    if (!motion || !button || !sync) return false;
    motion(display, -1, static_cast<int>(x), static_cast<int>(y), 0);
    sync(display, False);
    button(display, 1, True, 0);
    sync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // a human's press
    button(display, 1, False, 0);
    sync(display, False);
    return true;
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
  ASSERT_TRUE(x.ready()) << "XTest is not available";
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const int err = open((dir / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(err, 0);
  // The screenshot option makes the gallery end by itself, should the test not.
  const pid_t pid =
      startGallery({"--screenshot", (dir / "unused.png").string(), "--after", "60000"}, pipeFds[1], err, true);
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
    EXPECT_TRUE(x.click(clickX, clickY));
    line = readLine(pipeFds[0], 10);
  }
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  close(pipeFds[0]);
  ASSERT_NE(window, 0u) << "the gallery's window did not appear: " << slurp(dir / "stderr");
  EXPECT_EQ(line, "COnOffButton tag 1 value 1");
}

struct BadRun {
  const char* name;
  std::vector<std::string> args;
  bool withDisplay;
  const char* mentions;
};

class GalleryToolErrors : public ::testing::TestWithParam<BadRun> {};

TEST_P(GalleryToolErrors, EndWithStatusOneAndAMessage) {
  const BadRun& c = GetParam();
  const RunResult r = runGallery(c.args, c.withDisplay);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, GalleryToolErrors,
    ::testing::Values(BadRun{"UnknownOption", {"--frobnicate"}, true, "--frobnicate"},
                      BadRun{"ScreenshotWithoutFile", {"--screenshot"}, true, "--screenshot"},
                      BadRun{"AfterNotANumber", {"--screenshot", "x.png", "--after", "3s"}, true, "--after"},
                      BadRun{"AfterNegative", {"--screenshot", "x.png", "--after", "-5"}, true, "--after"},
                      BadRun{"AfterWithoutScreenshot", {"--after", "10"}, true, "--screenshot"},
                      BadRun{"NoDisplay", {"--screenshot", "x.png"}, false, "display"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GalleryToolHelp, DescribesTheReportLinesAndOptions) {
  const RunResult r = runGallery({"--help"}, false);
  EXPECT_EQ(r.exitCode, 0);
  for (const char* text : {"<ClassName> tag <tag> value <value>", "--screenshot", "--after"})
    EXPECT_NE(r.out.find(text), std::string::npos) << text;
}

}  // namespace
}  // namespace junkyard::tooltest
