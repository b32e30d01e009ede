// The frame inside a real X11 host window, driven by real X events (XTest):
// exposure, a press-drag-release reaching a view and the host's edit
// notifications, modifiers, the wheel, keys and the window going out of sight.
// Skipped without a display; `make test` runs them on Xvfb.
// GoogleTest first: Xlib's macros (None, Bool, ...) would rename its types.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "display_lock.h"
#include "gui/vstkeys.h"
#include "view_test_support.h"

using viewtest::hostLog;
using viewtest::PaintView;
using viewtest::TestEditor;
using viewtest::TestEffect;
using xdisplaytest::DisplayLock;

namespace {

// Two connections of this process are used from two threads (the test's
// event injection runs beside the frame's mouse loop).
const bool gThreadsReady = XInitThreads() != 0;

using Clock = std::chrono::steady_clock;

// A busy server turns connections away for a moment (EAGAIN); try again.
Display* openDisplay() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (Display* d = XOpenDisplay(nullptr)) return d;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return nullptr;
}

struct X11Window : ::testing::Test {
  Display* display = nullptr;  // the test's, playing the host
  Window host = 0;
  std::unique_ptr<DisplayLock> lock;
  TestEffect* effect = nullptr;
  TestEditor* editor = nullptr;
  PaintView* view = nullptr;

  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    ASSERT_TRUE(gThreadsReady);
    display = openDisplay();
    if (!display) GTEST_SKIP() << "cannot open the display";
    int event = 0, error = 0, major = 0, minor = 0;
    ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
    lock = std::make_unique<DisplayLock>();
    hostLog() = {};

    XSetWindowAttributes a{};
    a.background_pixel = BlackPixel(display, DefaultScreen(display));
    a.override_redirect = True;  // placed where asked, with or without a window manager
    a.event_mask = StructureNotifyMask;
    host = XCreateWindow(display, DefaultRootWindow(display), 50, 50, 200, 150, 0, CopyFromParent,
                         InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &a);
    XMapRaised(display, host);
    waitForMap(host);

    effect = new TestEffect;
    editor = new TestEditor(effect, CRect(0, 0, 200, 150));
    editor->populate = [this](CFrame* f) {
      f->setBackgroundColor(kBlueCColor);
      view = new PaintView(CRect(10, 10, 110, 110), kRedCColor);
      f->addView(view);
    };
  }

  void TearDown() override {
    delete effect;  // closes the editor's frame
    if (display) {
      if (host) XDestroyWindow(display, host);
      XCloseDisplay(display);
    }
    hostLog() = {};
  }

  void waitForMap(Window w) {
    XEvent e;
    do XWindowEvent(display, w, StructureNotifyMask, &e);
    while (e.type != MapNotify);
  }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
    AEffect* e = effect->getAeffect();
    return e->dispatcher(e, opcode, index, value, ptr, 0.0f);
  }

  void openEditor() {
    ASSERT_EQ(dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(host))), 1);
    ASSERT_TRUE(editor->getFrame()->isBound());
    ASSERT_TRUE(pumpUntil([this] { return view->draws > 0; })) << "no exposure reached the frame";
  }

  // Serves the editor the way a host does until `done`, for a few seconds at most.
  bool pumpUntil(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!done()) {
      if (Clock::now() > deadline) return false;
      dispatch(effEditIdle);
      if (CFrame* f = editor->getFrame()) f->waitForEvents(5);
    }
    return true;
  }

  Window child() const { return static_cast<Window>(editor->getFrame()->getWindowId()); }

  // Screen position of a point of the frame.
  void toScreen(long x, long y, int& sx, int& sy) {
    Window unused;
    XTranslateCoordinates(display, child(), DefaultRootWindow(display), static_cast<int>(x),
                          static_cast<int>(y), &sx, &sy, &unused);
  }

  void movePointer(Display* d, long x, long y) {
    int sx = 0, sy = 0;
    toScreen(x, y, sx, sy);
    XTestFakeMotionEvent(d, -1, sx, sy, CurrentTime);
    XFlush(d);
  }

  CColor windowPixel(long x, long y) {
    XImage* image = XGetImage(display, child(), static_cast<int>(x), static_cast<int>(y), 1, 1,
                              AllPlanes, ZPixmap);
    if (!image) return CColor{0, 0, 0, 0};
    unsigned long p = XGetPixel(image, 0, 0);
    auto channel = [p](unsigned long mask) {
      if (!mask) return static_cast<unsigned char>(0);
      int shift = 0;
      while (!((mask >> shift) & 1)) ++shift;
      unsigned long v = (p & mask) >> shift, max = mask >> shift;
      return static_cast<unsigned char>(v * 255 / max);
    };
    CColor c{channel(image->red_mask), channel(image->green_mask), channel(image->blue_mask), 255};
    XDestroyImage(image);
    return c;
  }
};

TEST_F(X11Window, ExposureDrawsTheFrameIntoTheWindow) {
  openEditor();
  EXPECT_FALSE(editor->getFrame()->isFirstDraw());
  ASSERT_TRUE(pumpUntil([this] { return windowPixel(50, 50) == kRedCColor; }));
  EXPECT_EQ(windowPixel(150, 130), kBlueCColor);

  // The server loses the window's contents: the exposure repaints them.
  const int before = view->draws;
  XClearArea(display, child(), 0, 0, 0, 0, True);
  XFlush(display);
  EXPECT_TRUE(pumpUntil([&] { return view->draws > before; }));
}

TEST_F(X11Window, IdleShowsAViewThatChanged) {
  openEditor();
  view->color = kGreenCColor;
  view->setDirty(true);
  EXPECT_TRUE(pumpUntil([this] { return windowPixel(50, 50) == kGreenCColor; }));
}

TEST_F(X11Window, PressDragReleaseReachesTheViewAndTheHostSeesTheEdit) {
  openEditor();
  CFrame* frame = editor->getFrame();
  std::atomic<int> stage{0};  // 1 in the loop, 2 saw the move, 3 done
  std::vector<CPoint> seen;
  view->onPress = [&](CDrawContext* context, CPoint& where, long buttons) {
    frame->beginEdit(9);
    stage = 1;
    do {
      view->getMouseLocation(context, where);
      seen.push_back(where);
      if (where == CPoint(60, 70)) stage = 2;
      frame->doIdleStuff();
    } while (context->getMouseButtons() == buttons);
    frame->endEdit(9);
    stage = 3;
  };
  movePointer(display, 30, 40);
  XSync(display, False);
  int dragX = 0, dragY = 0;
  toScreen(60, 70, dragX, dragY);

  std::thread user([&] {
    Display* d = openDisplay();
    if (!d) return;
    auto waitFor = [&](int s) {
      const auto deadline = Clock::now() + std::chrono::seconds(5);
      while (stage < s && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XFlush(d);
    waitFor(1);
    XTestFakeMotionEvent(d, -1, dragX, dragY, CurrentTime);
    XFlush(d);
    waitFor(2);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XFlush(d);
    XCloseDisplay(d);
  });
  const bool finished = pumpUntil([&] { return stage == 3; });
  user.join();
  ASSERT_TRUE(finished);

  ASSERT_EQ(view->presses.size(), 1u);
  EXPECT_EQ(view->presses[0].where, CPoint(30, 40));
  EXPECT_EQ(view->presses[0].buttons, kMouseLeft);
  EXPECT_NE(std::find(seen.begin(), seen.end(), CPoint(60, 70)), seen.end());
  std::vector<VstInt32> edits;
  for (const auto& call : hostLog().calls)
    if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit) {
      EXPECT_EQ(call.index, 9);
      edits.push_back(call.opcode);
    }
  EXPECT_EQ(edits, (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterEndEdit}));
}

TEST_F(X11Window, CtrlClickIsALeftClickWithTheCommandKey) {
  openEditor();
  movePointer(display, 20, 20);
  const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
  XTestFakeKeyEvent(display, control, True, CurrentTime);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XTestFakeKeyEvent(display, control, False, CurrentTime);
  XTestFakeButtonEvent(display, 3, True, CurrentTime);
  XTestFakeButtonEvent(display, 3, False, CurrentTime);
  XFlush(display);
  ASSERT_TRUE(pumpUntil([this] { return view->presses.size() >= 2; }));
  EXPECT_EQ(view->presses[0].buttons, kMouseLeft | kModCommand);
  EXPECT_EQ(view->presses[1].buttons, kMouseRight);
}

TEST_F(X11Window, WheelClicksScrollTheViewUnderThePointer) {
  openEditor();
  movePointer(display, 40, 30);
  const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
  XTestFakeButtonEvent(display, 4, True, CurrentTime);
  XTestFakeButtonEvent(display, 4, False, CurrentTime);
  XTestFakeButtonEvent(display, 7, True, CurrentTime);
  XTestFakeButtonEvent(display, 7, False, CurrentTime);
  // Ctrl turns the vertical wheel sideways.
  XTestFakeKeyEvent(display, control, True, CurrentTime);
  XTestFakeButtonEvent(display, 5, True, CurrentTime);
  XTestFakeButtonEvent(display, 5, False, CurrentTime);
  XTestFakeKeyEvent(display, control, False, CurrentTime);
  XFlush(display);
  ASSERT_TRUE(pumpUntil([this] { return view->wheels.size() >= 3; }));
  EXPECT_EQ(view->wheels[0].axis, kMouseWheelAxisY);
  EXPECT_FLOAT_EQ(view->wheels[0].distance, 1.0f);
  EXPECT_EQ(view->wheels[0].where, CPoint(40, 30));
  EXPECT_EQ(view->wheels[1].axis, kMouseWheelAxisX);
  EXPECT_FLOAT_EQ(view->wheels[1].distance, -1.0f);
  EXPECT_EQ(view->wheels[2].axis, kMouseWheelAxisX);
  EXPECT_FLOAT_EQ(view->wheels[2].distance, -1.0f);
  EXPECT_TRUE(view->presses.empty());
}

TEST_F(X11Window, KeysReachTheFocusViewOnceTheWindowHasTheFocus) {
  editor->populate = [this](CFrame* f) {
    view = new PaintView(CRect(10, 10, 110, 110), kRedCColor);
    view->setWantsFocus(true);
    view->handlesKeys = true;
    f->addView(view);
  };
  openEditor();
  CFrame* frame = editor->getFrame();
  XSetInputFocus(display, child(), RevertToParent, CurrentTime);
  XFlush(display);
  ASSERT_TRUE(pumpUntil([frame] { return frame->hasKeyboardFocus(); }));
  EXPECT_EQ(frame->getFocusView(), view);  // focus moving in goes to the first view

  const KeyCode left = XKeysymToKeycode(display, XK_Left);
  const KeyCode a = XKeysymToKeycode(display, XK_a);
  const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
  XTestFakeKeyEvent(display, left, True, CurrentTime);
  XTestFakeKeyEvent(display, left, False, CurrentTime);
  XTestFakeKeyEvent(display, shift, True, CurrentTime);
  XTestFakeKeyEvent(display, a, True, CurrentTime);
  XTestFakeKeyEvent(display, a, False, CurrentTime);
  XTestFakeKeyEvent(display, shift, False, CurrentTime);
  XFlush(display);
  ASSERT_TRUE(pumpUntil([this] { return view->keysDown.size() >= 3 && view->keysUp.size() >= 3; }));
  // Left, Shift, A.
  EXPECT_EQ(view->keysDown[0].virt, VKEY_LEFT);
  EXPECT_EQ(view->keysDown[0].character, 0);
  EXPECT_EQ(view->keysDown[2].character, 'A');
  EXPECT_EQ(view->keysDown[2].virt, 0);
  EXPECT_EQ(view->keysDown[2].modifier, MODIFIER_SHIFT);
}

TEST_F(X11Window, NothingIsDrawnWhileTheHostWindowIsUnmapped) {
  openEditor();
  CFrame* frame = editor->getFrame();
  XUnmapWindow(display, host);
  XFlush(display);
  ASSERT_TRUE(pumpUntil([frame] { return frame->isWindowHidden(); }));
  const int before = view->draws;
  view->setDirty(true);
  dispatch(effEditIdle);
  EXPECT_EQ(view->draws, before);
  XMapRaised(display, host);
  XFlush(display);
  EXPECT_TRUE(pumpUntil([&] { return view->draws > before && !view->isDirty(); }));
}

TEST_F(X11Window, ClosingAfterTheHostDestroyedItsWindowIsQuiet) {
  openEditor();
  XDestroyWindow(display, host);
  XSync(display, False);
  host = 0;
  testing::internal::CaptureStderr();
  dispatch(effEditIdle);
  dispatch(effEditClose);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(X11Window, UnusableHostWindowLeavesTheFrameUnbound) {
  Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(display, gone);
  XSync(display, False);
  testing::internal::CaptureStderr();
  dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(gone)));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Could not create Control : " + std::to_string(BadWindow) + "\n");
  CFrame* frame = editor->getFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->isBound());
  // Still a working frame, drawing off screen.
  frame->draw(static_cast<CView*>(nullptr));
  view->setDirty(true);
  dispatch(effEditIdle);
  EXPECT_EQ(view->draws, 2);
}

}  // namespace
