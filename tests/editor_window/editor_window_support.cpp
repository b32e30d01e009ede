#include "editor_window_support.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace editorwindow {

using Clock = std::chrono::steady_clock;

namespace {

// The user's thread injects input while the editor's mouse loop runs here.
const bool gThreadsReady = XInitThreads() != 0;

// Xlib's own handler ends the process on the first protocol error; a failing
// request should fail one test instead. The editor's connection traps its
// errors itself and passes those of other connections on to this one.
int gLastXError = 0;
int noteXError(Display*, XErrorEvent* error) {
  gLastXError = error->error_code;
  return 0;
}
[[maybe_unused]] const XErrorHandler gXlibHandler = XSetErrorHandler(noteXError);

// One colour channel of an X pixel, scaled to 8 bits.
uint32_t channel(unsigned long pixel, unsigned long mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / (mask >> shift));
}

}  // namespace

const junkyard::vsthost::PluginLibrary& pluginLibrary() {
  static const auto* library = new junkyard::vsthost::PluginLibrary(JUNKYARD_PLUGIN_PATH);
  return *library;
}

Display* openDisplay() {
  if (!gThreadsReady || !std::getenv("DISPLAY")) return nullptr;
  // A busy server turns connections away for a moment: try again.
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (Display* d = XOpenDisplay(nullptr)) return d;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return nullptr;
}

std::vector<Edit> editsOf(const junkyard::vsthost::PluginInstance& effect) {
  std::vector<Edit> edits;
  for (const auto& call : effect.calls())
    if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterAutomate ||
        call.opcode == audioMasterEndEdit)
      edits.push_back({call.opcode, call.index, call.opcode == audioMasterAutomate ? call.opt : 0.0f});
  return edits;
}

bool sawEdit(const junkyard::vsthost::PluginInstance& effect, VstInt32 opcode, VstInt32 index) {
  for (const Edit& e : editsOf(effect))
    if (e.opcode == opcode && e.index == index) return true;
  return false;
}

HostedEditor::HostedEditor(Display* display, const junkyard::vsthost::PluginLibrary& library,
                           int screenX, int screenY)
    : display_(display), effect_(std::make_unique<junkyard::vsthost::PluginInstance>(library)) {
  if (!effect_->valid()) {
    ADD_FAILURE() << "the module made no instance";
    return;
  }
  effect_->open();
  effect_->resume();
  ERect* rect = nullptr;
  if (!effect_->dispatch(effEditGetRect, 0, 0, &rect) || !rect) {
    ADD_FAILURE() << "effEditGetRect gave no rectangle";
    return;
  }
  panel_ = *rect;
  if (panel_.right <= panel_.left || panel_.bottom <= panel_.top) {
    ADD_FAILURE() << "the editor's rectangle is empty: " << panel_.right << " x " << panel_.bottom;
    return;
  }
  XSetWindowAttributes a{};
  a.background_pixel = BlackPixel(display, DefaultScreen(display));
  a.override_redirect = True;  // placed where asked, with or without a window manager
  a.event_mask = StructureNotifyMask;
  window_ = XCreateWindow(display, DefaultRootWindow(display), screenX, screenY,
                          static_cast<unsigned>(std::max(1, panel_.right - panel_.left)),
                          static_cast<unsigned>(std::max(1, panel_.bottom - panel_.top)), 0,
                          CopyFromParent, InputOutput, CopyFromParent,
                          CWBackPixel | CWOverrideRedirect | CWEventMask, &a);
  XMapRaised(display, window_);
  XEvent e;
  do XWindowEvent(display, window_, StructureNotifyMask, &e);
  while (e.type != MapNotify);
}

HostedEditor::~HostedEditor() {
  closeEditor();
  effect_.reset();
  if (window_) XDestroyWindow(display_, window_);
  XSync(display_, False);
}

void HostedEditor::openEditor() {
  ASSERT_NE(window_, 0u);
  ASSERT_EQ(effect_->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window_))), 1);
  open_ = true;
  // Our window is black; the panel's first exposure paints it.
  const Rect whole{0, 0, panel_.right - panel_.left, panel_.bottom - panel_.top};
  const bool painted = pumpUntil({this}, [&] {
    for (uint32_t p : grab(whole).rgb)
      if (p != 0) return true;
    return false;
  });
  ASSERT_TRUE(painted) << "the panel never reached the window";
}

void HostedEditor::closeEditor() {
  if (open_ && effect_ && effect_->valid()) effect_->dispatch(effEditClose);
  open_ = false;
}

void HostedEditor::toScreen(int x, int y, int& sx, int& sy) const {
  Window unused;
  XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), x, y, &sx, &sy, &unused);
}

Pixels HostedEditor::grab(const Rect& area) const {
  Pixels out;
  out.width = area.right - area.left;
  out.height = area.bottom - area.top;
  XSync(display_, False);
  // The window's own pixels include what its children (the editor's) show.
  XImage* image = XGetImage(display_, window_, area.left, area.top, static_cast<unsigned>(out.width),
                            static_cast<unsigned>(out.height), AllPlanes, ZPixmap);
  if (!image) {
    ADD_FAILURE() << "XGetImage failed, X error " << gLastXError;
    return out;
  }
  out.rgb.reserve(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      out.rgb.push_back(channel(p, image->red_mask) << 16 | channel(p, image->green_mask) << 8 |
                        channel(p, image->blue_mask));
    }
  XDestroyImage(image);
  return out;
}

bool pumpUntil(const std::vector<HostedEditor*>& editors, const std::function<bool()>& done) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    for (HostedEditor* e : editors) e->idle();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

bool waitFor(const std::function<bool()>& reached) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (!reached()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

void EditorWindow::SetUp() {
  display = openDisplay();
  if (!display) GTEST_SKIP() << "no display";
  int event = 0, error = 0, major = 0, minor = 0;
  ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
  lock = std::make_unique<DisplayLock>();
  ASSERT_TRUE(pluginLibrary().ok()) << pluginLibrary().error();
  editor = std::make_unique<HostedEditor>(display, pluginLibrary(), 10, 10);
  ASSERT_TRUE(editor->effect().valid());
  ASSERT_TRUE(editor->effect().effect()->flags & effFlagsHasEditor);
  ASSERT_NE(editor->window(), 0u);
}

void EditorWindow::TearDown() {
  editor.reset();
  if (display) XCloseDisplay(display);
}

std::unique_ptr<HostedEditor> EditorWindow::secondEditor() {
  const int width = editor->panel().right - editor->panel().left;
  const int x = std::max(0, DisplayWidth(display, DefaultScreen(display)) - width);
  return std::make_unique<HostedEditor>(display, pluginLibrary(), x, 10);
}

FakeUser::FakeUser() : display_(openDisplay()) {}

FakeUser::~FakeUser() {
  if (display_) XCloseDisplay(display_);
}

void FakeUser::moveTo(int screenX, int screenY) {
  XTestFakeMotionEvent(display_, -1, screenX, screenY, CurrentTime);
  XSync(display_, False);
}

void FakeUser::button(bool down) {
  XTestFakeButtonEvent(display_, 1, down ? True : False, CurrentTime);
  XSync(display_, False);
}

void FakeUser::keys(const std::vector<unsigned long>& keysyms, bool down) {
  for (unsigned long k : keysyms)
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, static_cast<KeySym>(k)), down ? True : False,
                      CurrentTime);
  XSync(display_, False);
}

}  // namespace editorwindow
