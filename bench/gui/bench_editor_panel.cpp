// The real editor's drawing, through the module as a host loads it: the
// whole panel (background, four knobs, two switches) and one knob turned by a
// parameter change, plus the idle pass when nothing changed.
//
// "Memory" opens the editor without a host window, so the frame draws into
// its back buffer only: the cost of our own drawing. "Window" opens it in an
// X window (registered only with a display), adding the copy to the server:
// what a user's host pays. The knob case includes the parameter change that
// marks the knob (a few hundred ns of the effect's own work).
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>

#include "bench/bench_session.h"

namespace {

using junkyard::bench::pluginLibrary;
using junkyard::vsthost::PluginInstance;

constexpr VstInt32 kDelay = 1;

// An instance with its editor open, in a window of its own when `display` is given.
class OpenEditor {
 public:
  explicit OpenEditor(Display* display) : display_(display) {
    effect_ = std::make_unique<PluginInstance>(pluginLibrary());
    if (!effect_->valid()) return;
    effect_->open();
    ERect* rect = nullptr;
    if (!effect_->dispatch(effEditGetRect, 0, 0, &rect) || !rect || rect->right <= 0) return;
    void* handle = nullptr;
    if (display_) {
      window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0,
                                    static_cast<unsigned>(rect->right), static_cast<unsigned>(rect->bottom),
                                    0, 0, 0);
      XSelectInput(display_, window_, StructureNotifyMask);
      XMapWindow(display_, window_);
      XEvent event;
      do XWindowEvent(display_, window_, StructureNotifyMask, &event);
      while (event.type != MapNotify);
      handle = reinterpret_cast<void*>(static_cast<uintptr_t>(window_));
    }
    effect_->dispatch(effEditOpen, 0, 0, handle);
    // Served for a moment so the window's first exposure is behind us, then
    // drawn whole once: from here on idle draws only what changed.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(display_ ? 300 : 0);
    do {
      effect_->dispatch(effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < until);
    effect_->dispatch(effEditDraw, 0, 0, nullptr);
    effect_->dispatch(effEditIdle);
    ready_ = true;
  }
  ~OpenEditor() {
    if (ready_) effect_->dispatch(effEditClose);
    effect_.reset();
    if (window_) XDestroyWindow(display_, window_);
  }
  bool ready() const { return ready_; }
  PluginInstance& effect() { return *effect_; }
  // Everything sent to the server so far has been drawn there.
  void sync() {
    if (display_) XSync(display_, False);
  }

 private:
  Display* display_;
  Window window_ = 0;
  std::unique_ptr<PluginInstance> effect_;
  bool ready_ = false;
};

Display* openDisplay() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (Display* d = XOpenDisplay(nullptr)) return d;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return nullptr;
}

template <typename Body>
void withEditor(benchmark::State& state, bool inWindow, Body body) {
  Display* display = inWindow ? openDisplay() : nullptr;
  if (inWindow && !display) {
    state.SkipWithError("cannot open the display");
    return;
  }
  {
    OpenEditor editor(display);
    if (!editor.ready()) {
      state.SkipWithError("the module opened no editor");
    } else {
      body(state, editor);
      editor.sync();
    }
  }
  if (display) XCloseDisplay(display);
}

void wholePanel(benchmark::State& state, OpenEditor& editor) {
  for (auto _ : state) editor.effect().dispatch(effEditDraw, 0, 0, nullptr);
}

// Two values far apart on the knob's strip: every pass shows another picture.
void oneKnob(benchmark::State& state, OpenEditor& editor) {
  bool high = false;
  for (auto _ : state) {
    high = !high;
    editor.effect().setParameter(kDelay, high ? 0.8f : 0.2f);
    editor.effect().dispatch(effEditIdle);
  }
}

void idleNothingChanged(benchmark::State& state, OpenEditor& editor) {
  for (auto _ : state) editor.effect().dispatch(effEditIdle);
}

void PanelRedrawMemory(benchmark::State& s) { withEditor(s, false, wholePanel); }
void KnobRedrawMemory(benchmark::State& s) { withEditor(s, false, oneKnob); }
void PanelIdleNothingChangedMemory(benchmark::State& s) { withEditor(s, false, idleNothingChanged); }
BENCHMARK(PanelRedrawMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(KnobRedrawMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(PanelIdleNothingChangedMemory);

void PanelRedrawWindow(benchmark::State& s) { withEditor(s, true, wholePanel); }
void KnobRedrawWindow(benchmark::State& s) { withEditor(s, true, oneKnob); }
void PanelIdleNothingChangedWindow(benchmark::State& s) { withEditor(s, true, idleNothingChanged); }

// Only where there is a display to open a window on.
const bool gWindowBenchmarks = [] {
  if (std::getenv("DISPLAY")) {
    benchmark::RegisterBenchmark("PanelRedrawWindow", PanelRedrawWindow)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("KnobRedrawWindow", KnobRedrawWindow)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("PanelIdleNothingChangedWindow", PanelIdleNothingChangedWindow);
  }
  return true;
}();

}  // namespace
