// junkyard-editor driven by a user: its window found by title, a reset click
// on a knob printed as edit lines, and the window manager's close request
// ending it cleanly.
// GoogleTest (through the support header) before Xlib, whose macros clash with it.
#include "editor_window_support.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>


namespace editorwindow {
namespace {

const std::string kTool = JUNKYARD_BINARY_DIR "/tools/junkyard-editor";

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Window findByTitle(Display* display, const char* title) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name) {
      if (std::strcmp(name, title) == 0) found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

bool anyLit(Display* display, Window w, int width, int height) {
  XImage* image = XGetImage(display, w, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                            AllPlanes, ZPixmap);
  if (!image) return false;
  bool lit = false;
  for (int y = 0; y < height && !lit; y += 4)
    for (int x = 0; x < width && !lit; x += 4) lit = XGetPixel(image, x, y) != 0;
  XDestroyImage(image);
  return lit;
}

class ToolSession : public ::testing::Test {
 protected:
  void SetUp() override {
    display = openDisplay();
    if (!display) GTEST_SKIP() << "no display";
    if (!std::filesystem::exists(kTool)) GTEST_SKIP() << "junkyard-editor is not built";
    lock = std::make_unique<DisplayLock>();
    outPath = std::filesystem::temp_directory_path() / ("junkyard-editor-out-" + std::to_string(getpid()));
    pid = fork();
    if (pid == 0) {
      const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (out < 0) _exit(127);
      dup2(out, 1);
      execl(kTool.c_str(), kTool.c_str(), "--plugin", JUNKYARD_PLUGIN_PATH, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  void TearDown() override {
    if (pid > 0 && !reaped) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (!outPath.empty()) std::filesystem::remove(outPath);
    lock.reset();
    if (display) XCloseDisplay(display);
  }

  // The exit status, or -1 when it has not ended within five seconds.
  int waitForExit() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        reaped = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

  Display* display = nullptr;
  std::unique_ptr<DisplayLock> lock;
  std::filesystem::path outPath;
  pid_t pid = -1;
  bool reaped = false;
};

TEST_F(ToolSession, PrintsTheEditsOfAResetClickAndClosesOnRequest) {
  Window w = 0;
  ASSERT_TRUE(waitFor([&] { return (w = findByTitle(display, "Junkyard Reverb")) != 0; }))
      << "no window titled Junkyard Reverb";
  XWindowAttributes attributes{};
  ASSERT_TRUE(waitFor([&] {
    return XGetWindowAttributes(display, w, &attributes) && attributes.map_state == IsViewable &&
           anyLit(display, w, attributes.width, attributes.height);
  })) << "the panel was never drawn";
  // The size follows the editor and stays fixed.
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display, w, &hints, &supplied));
  EXPECT_EQ(hints.min_width, attributes.width);
  EXPECT_EQ(hints.max_width, attributes.width);
  EXPECT_EQ(hints.min_height, attributes.height);
  EXPECT_EQ(hints.max_height, attributes.height);

  FakeUser user;
  ASSERT_TRUE(user.ok());
  int x = 0, y = 0;
  Window unused;
  XTranslateCoordinates(display, w, DefaultRootWindow(display), kDelayKnob.centerX(), kDelayKnob.centerY(),
                        &x, &y, &unused);
  user.moveTo(x, y);
  user.keys({XK_Control_L}, true);
  user.button(true);
  user.button(false);
  user.keys({XK_Control_L}, false);
  const std::string expected = "begin-edit 1\nautomate 1 0.500000\nend-edit 1\n";
  EXPECT_TRUE(waitFor([&] { return slurp(outPath) == expected; })) << slurp(outPath);

  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = w;
  close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, w, False, NoEventMask, &close);
  XFlush(display);
  EXPECT_EQ(waitForExit(), 0);
}

}  // namespace
}  // namespace editorwindow
