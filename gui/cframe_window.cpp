// The frame's binding to the host's window: the child window it makes there,
// the window's events turned into toolkit calls, the pointer and buttons,
// the back buffer and its presentation, and the hooks through which drawing
// contexts find all of these.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "gui/cframe.h"
#include "gui/platform/platform_drawing.h"
#include "gui/platform/platform_time.h"
#include "gui/platform/platform_window.h"

namespace {

// Contexts may outlive their frame; the hooks only serve frames still alive.
std::vector<CFrame*>& liveFrames() {
  static std::vector<CFrame*> frames;
  return frames;
}

bool isLive(CFrame* frame) {
  const auto& frames = liveFrames();
  return frame && std::find(frames.begin(), frames.end(), frame) != frames.end();
}

}  // namespace

// What drawing contexts need from the frame they draw into.
struct CFrameHooks {
  static bool frameClip(CFrame* frame, CRect& clip) {
    if (!isLive(frame)) return false;
    clip = frame->viewSize;
    return true;
  }
  static PlatformSurface* frameSurface(CFrame* frame, void* window) {
    return isLive(frame) ? frame->getBackBuffer() : nullptr;
  }
  static void registerContext(CFrame* frame, CDrawContext* context) {
    if (isLive(frame) && !frame->frameContext) frame->frameContext = context;
  }
  static void unregisterContext(CFrame* frame, CDrawContext* context) {
    if (isLive(frame) && frame->frameContext == context) frame->frameContext = nullptr;
  }
  static void present(CFrame* frame, const CRect& area) {
    if (!isLive(frame) || !frame->window || !frame->backBuffer) return;
    platformWindowPresent(frame->window, frame->backBuffer, area.left, area.top, area.width(),
                          area.height());
  }
  static CPointerSource* pointerSource(CFrame* frame) {
    return isLive(frame) ? frame->getPointerSource() : nullptr;
  }

  // Each new frame puts them (back) in place.
  static void install() {
    CFrameDrawHooks hooks;
    hooks.frameClip = frameClip;
    hooks.frameSurface = frameSurface;
    hooks.registerContext = registerContext;
    hooks.unregisterContext = unregisterContext;
    hooks.present = present;
    hooks.pointerSource = pointerSource;
    setFrameDrawHooks(hooks);
  }
};

// The window's events, as the frame acts on them.
class CFrameWindowEvents final : public PlatformWindowSink {
 public:
  explicit CFrameWindowEvents(CFrame& frame) : frame(frame) {}

  void onExpose(long left, long top, long right, long bottom) override {
    const CRect area(left, top, right, bottom);
    const bool wasDirty = frame.dirty;
    CDrawContext* context = frame.createDrawContext();
    frame.drawRect(context, area);
    // Only part of a frame that is due whole was drawn: the rest still is.
    CRect whole;
    frame.getViewSize(whole);
    whole.moveTo(0, 0);
    CRect covered = area;
    covered.bound(whole);
    if (wasDirty && covered != whole) frame.setDirty(true);
    context->forget();
  }

  void onButtonPress(long x, long y, long buttons) override {
    // A press while a control's mouse loop runs is that loop's business: it
    // reads the buttons itself.
    if (frame.inMouse) return;
    CPoint where(x, y);
    CDrawContext* context = frame.createDrawContext();
    frame.mouse(context, where, buttons);
    context->forget();
  }

  // Controls follow a held button by asking for the pointer and buttons
  // (pointerPosition, pointerButtons), so moves and releases need no action.
  void onButtonRelease(long x, long y, long buttons) override {}
  void onMotion(long x, long y, long buttons) override {}

  void onWheel(long x, long y, int axis, float distance, long buttons) override {
    // Ctrl turns the vertical wheel sideways.
    const CMouseWheelAxis toolkitAxis =
        axis == kMouseWheelAxisY && !(buttons & kModCommand) ? kMouseWheelAxisY : kMouseWheelAxisX;
    const CPoint where(x, y);
    CDrawContext* context = frame.createDrawContext();
    frame.onWheel(context, where, toolkitAxis, distance);
    context->forget();
  }

  void onKey(bool down, VstKeyCode& key) override {
    if (down)
      frame.onKeyDown(key);
    else
      frame.onKeyUp(key);
  }

  void onFocus(bool gained) override {
    frame.keyboardFocus = gained;
    if (!gained) {
      if (frame.getFocusView()) frame.setFocusView(nullptr);
    } else if (!frame.getFocusView()) {
      frame.advanceNextFocusView(nullptr, false);
    }
  }

  void onCrossing(bool entered) override {}

 private:
  CFrame& frame;
};

CFrame::CFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor)
    : CViewContainer(size, this, nullptr), editor(editor), systemWindow(systemWindow) {
  CFrameHooks::install();
  liveFrames().push_back(this);
  if (systemWindow) bindToWindow();
}

CFrame::~CFrame() {
  // The modal view is also among the children: its extra entry goes first,
  // without the reference it never had.
  setModalView(nullptr);
  releaseWindow();
  // Children go while we are still a frame: their removal asks us about
  // focus and modality.
  removeAll(true);
  frameContext = nullptr;
  auto& frames = liveFrames();
  frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
  platformSurfaceRelease(backBuffer);
  backBuffer = nullptr;
}

void CFrame::bindToWindow() {
  events = new CFrameWindowEvents(*this);
  int code = 0;
  window = platformWindowCreate(reinterpret_cast<uintptr_t>(systemWindow), viewSize.width(),
                                viewSize.height(), events, &code);
  if (!window) {
    std::fprintf(stderr, "Could not create Control : %d\n", code);
    delete events;
    events = nullptr;
    return;
  }
  // The window's corner is the frame's origin.
  viewSize.moveTo(0, 0);
  mouseableArea.moveTo(0, 0);
}

void CFrame::releaseWindow() {
  if (window) {
    int code = platformWindowDestroy(window);
    if (code) std::fprintf(stderr, "UnregisterToolboxObjectClass failed : %d\n", code);
  }
  window = nullptr;
  delete events;
  events = nullptr;
}

uintptr_t CFrame::getWindowId() const { return platformWindowId(window); }

bool CFrame::isWindowHidden() const { return window && platformWindowIsHidden(window); }

void CFrame::dispatchEvents() {
  if (window) platformWindowDispatchEvents(window);
}

void CFrame::waitForEvents(unsigned milliseconds) {
  if (pointerOverride) {
    pointerOverride->waitForEvents(milliseconds);
  } else if (window) {
    platformWindowWaitEvents(window, milliseconds);
  } else {
    platformSleep(milliseconds);
  }
}

bool CFrame::pointerPosition(CPoint& where) {
  long x = 0, y = 0, buttons = 0;
  if (!window || !platformWindowPointer(window, x, y, buttons)) return false;
  where = CPoint(x, y);
  return true;
}

long CFrame::pointerButtons() {
  long x = 0, y = 0, buttons = 0;
  if (!window || !platformWindowPointer(window, x, y, buttons)) return 0;
  return buttons;
}

void CFrame::setCursor(CCursorType type) {
  if (window) platformWindowSetCursor(window, static_cast<int>(type));
}

CDrawContext* CFrame::createDrawContext() {
  if (frameContext) {
    frameContext->remember();
    return frameContext;
  }
  return new CDrawContext(this, nullptr, systemWindow);
}

PlatformSurface* CFrame::getBackBuffer() {
  if (!backBuffer)
    backBuffer = platformSurfaceCreate(std::max(viewSize.width(), 1L), std::max(viewSize.height(), 1L));
  return backBuffer;
}

void CFrame::setViewSize(CRect& rect) {
  CViewContainer::setViewSize(rect);
  if (window) platformWindowResize(window, viewSize.width(), viewSize.height());
  if (backBuffer && (platformSurfaceWidth(backBuffer) != viewSize.width() ||
                     platformSurfaceHeight(backBuffer) != viewSize.height())) {
    // Contexts drawing into the old buffer keep it alive; new ones get a
    // buffer of the new size.
    platformSurfaceRelease(backBuffer);
    backBuffer = nullptr;
  }
}
