// Cost of the editor's idle pass when nothing is dirty: what every host idle
// (effEditIdle, many times a second) costs while the user does nothing. The
// pass must not draw at all. Measured through the dispatcher, as a host
// calls it, with the editor's seven controls in place; with a display, also
// for a frame bound to a real window, whose events are drained each pass.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "gui/aeffguieditor.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"
#include "gui/cview.h"
#include "host/audioeffectx.h"

namespace {

long gDraws = 0;

// A control-sized view that counts its drawings.
class CountingView : public CView {
 public:
  using CView::CView;
  void draw(CDrawContext* context) override {
    ++gDraws;
    context->setFillColor(kGreyCColor);
    context->fillRect(viewSize);
    setDirty(false);
  }
};

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

class Effect : public AudioEffectX {
 public:
  Effect() : AudioEffectX(quietHost, 1, 6) {}
  void processReplacing(float**, float**, VstInt32) override {}
};

// The editor's layout: four knobs, two switches, the about-box hot spot.
class Editor : public AEffGUIEditor {
 public:
  explicit Editor(AudioEffect* effect) : AEffGUIEditor(effect) {
    rect.right = 500;
    rect.bottom = 400;
  }
  ~Editor() override { close(); }
  bool open(void* window) override {
    AEffEditor::open(window);
    frame = new CFrame(CRect(0, 0, 500, 400), window, this);
    const CRect layout[] = {CRect(55, 130, 142, 291), CRect(162, 133, 249, 294),
                            CRect(264, 134, 351, 295), CRect(369, 135, 456, 296),
                            CRect(315, 97, 421, 127),  CRect(120, 0, 363, 64),
                            CRect(461, 383, 495, 397)};
    for (const CRect& r : layout) frame->addView(new CountingView(r));
    return true;
  }
  void close() override {
    if (frame) frame->forget();
    frame = nullptr;
    AEffEditor::close();
  }
};

void idlePasses(benchmark::State& state, Effect& effect) {
  AEffect* e = effect.getAeffect();
  gDraws = 0;
  for (auto _ : state) e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0.0f);
  state.counters["draws"] = static_cast<double>(gDraws);
}

void EditorIdleNothingDirty(benchmark::State& state) {
  Effect effect;
  auto* editor = new Editor(&effect);
  editor->open(nullptr);
  editor->getFrame()->draw(static_cast<CView*>(nullptr));  // the first drawing
  idlePasses(state, effect);
}
BENCHMARK(EditorIdleNothingDirty);

void EditorIdleNothingDirtyInAWindow(benchmark::State& state) {
  // A busy server may turn a connection away for a moment.
  Display* display = nullptr;
  for (int attempt = 0; attempt < 50 && !display; ++attempt) {
    display = XOpenDisplay(nullptr);
    if (!display) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!display) {
    state.SkipWithError("cannot open the display");
    return;
  }
  Window host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 500, 400, 0, 0, 0);
  XSelectInput(display, host, StructureNotifyMask);
  XMapWindow(display, host);
  XEvent event;
  do XWindowEvent(display, host, StructureNotifyMask, &event);
  while (event.type != MapNotify);
  {
    Effect effect;
    auto* editor = new Editor(&effect);
    editor->open(reinterpret_cast<void*>(static_cast<uintptr_t>(host)));
    // Served until the window's first exposure has drawn everything.
    CFrame* frame = editor->getFrame();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((frame->isFirstDraw() || frame->isDirty()) && std::chrono::steady_clock::now() < deadline) {
      frame->waitForEvents(5);
      editor->idle();
    }
    idlePasses(state, effect);
  }
  XDestroyWindow(display, host);
  XCloseDisplay(display);
}

// Only where there is a display to open a window on.
const bool gWindowBenchmark = [] {
  if (std::getenv("DISPLAY"))
    benchmark::RegisterBenchmark("EditorIdleNothingDirtyInAWindow", EditorIdleNothingDirtyInAWindow);
  return true;
}();

}  // namespace
