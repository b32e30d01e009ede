// The test as the plug-in's host: the module loaded with dlopen, its editor
// opened in an X11 window of the test's own, real input sent with XTest and
// the window's pixels read back with XGetImage.
// GoogleTest first: Xlib's macros (None, Bool, ...) would rename its types.
#pragma once

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor_window/display_lock.h"
#include "host/vst_abi.h"
#include "tools/vsthost/plugin_instance.h"
#include "tools/vsthost/plugin_library.h"

namespace editorwindow {

struct Rect {
  int left, top, right, bottom;
  int centerX() const { return (left + right) / 2; }
  int centerY() const { return (top + bottom) / 2; }
};

// The panel's layout, in window pixels.
constexpr Rect kMicLevelKnob{55, 130, 142, 291};
constexpr Rect kDelayKnob{162, 133, 249, 294};
constexpr Rect kRepeatKnob{264, 134, 351, 295};
constexpr Rect kDepthKnob{369, 135, 456, 296};
constexpr Rect kPowerSwitch{315, 97, 421, 127};

// 0xRRGGBB of each pixel, row by row.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
  bool operator==(const Pixels&) const = default;
};

// The module, loaded once and never unloaded, as hosts keep it: unloading
// takes the drawing libraries it brought in along with their caches, which
// the leak checker would then report as lost.
const junkyard::vsthost::PluginLibrary& pluginLibrary();

// A connection that skips the test when there is no display to connect to.
Display* openDisplay();

// Edits as the host received them, in order.
struct Edit {
  VstInt32 opcode;  // audioMasterBeginEdit, audioMasterAutomate or audioMasterEndEdit
  VstInt32 index;
  float value;      // automation only
};
std::vector<Edit> editsOf(const junkyard::vsthost::PluginInstance& effect);
bool sawEdit(const junkyard::vsthost::PluginInstance& effect, VstInt32 opcode, VstInt32 index);

// One effect with its editor open in a top-level window at a given screen place.
class HostedEditor {
 public:
  HostedEditor(Display* display, const junkyard::vsthost::PluginLibrary& library, int screenX,
               int screenY);
  ~HostedEditor();

  junkyard::vsthost::PluginInstance& effect() { return *effect_; }
  ERect panel() const { return panel_; }
  Window window() const { return window_; }

  // effEditOpen in our window, then serves it until the panel is on screen.
  void openEditor();
  void closeEditor();
  void idle() { effect_->dispatch(effEditIdle); }

  // Screen position of a window pixel.
  void toScreen(int x, int y, int& sx, int& sy) const;
  Pixels grab(const Rect& area) const;

 private:
  Display* display_;
  std::unique_ptr<junkyard::vsthost::PluginInstance> effect_;
  ERect panel_{};
  Window window_ = 0;
  bool open_ = false;
};

// Serves the editors (effEditIdle) until `done` holds, for five seconds at most.
bool pumpUntil(const std::vector<HostedEditor*>& editors, const std::function<bool()>& done);

// XTest input on a connection of its own.
class FakeUser {
 public:
  FakeUser();
  ~FakeUser();
  bool ok() const { return display_ != nullptr; }
  void moveTo(int screenX, int screenY);
  void button(bool down);
  // Keys by keysym (XK_Shift_L, XK_Control_L), pressed or released in order.
  void keys(const std::vector<unsigned long>& keysyms, bool down);

 private:
  Display* display_ = nullptr;
};

// Waits on the user's thread for the editor (served on the test's thread) to
// get somewhere; false after five seconds.
bool waitFor(const std::function<bool()>& reached);

// The module loaded, a display, and one editor in a window near the screen's corner.
class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A further editor of its own instance, in a window at the screen's right edge.
  std::unique_ptr<HostedEditor> secondEditor();

  Display* display = nullptr;
  std::unique_ptr<DisplayLock> lock;
  std::unique_ptr<HostedEditor> editor;
};

}  // namespace editorwindow
