// The effect's editor window: a background picture, four linear knobs, the
// input selector, the power switch and the about-box hot spot, each control
// tagged with the index of the parameter it edits.
//
// Threads. The window (open, close, idle, mouse, drawing) lives on the
// host's user-interface thread, but setParameter arrives from whatever thread
// changed a parameter (automation, program change, MIDI) and highlightControl
// from the MIDI path too, possibly while close is destroying the controls.
// Neither of them touches a view: setParameter records the latest value per
// parameter in an atomic slot and sets the parameter's bit in an atomic mask;
// highlightControl publishes the latest wanted mark (tag, on, sequence
// number) as one atomic word. idle applies both on the user-interface thread
// before the toolkit's own idle update, so a change is drawn in the same
// idle. Only the latest mark request matters: each request fully decides
// which control carries the mark, and the controls marked on the way were
// never drawn in between. open discards whatever was recorded before it:
// it reads every value afresh, and a new window starts with no mark.
// No locks are taken anywhere.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>

#include "editor/ccontrol.h"
#include "gui/aeffguieditor.h"

class CBitmap;
class CLinearKnob;
class CMovieButton;
class CMovieToggle;
class CSplashScreen;
class brambleFrame;

class brambleEditor : public AEffGUIEditor, public CControlListener {
 public:
  explicit brambleEditor(AudioEffect* effect);
  ~brambleEditor() override;

  bool open(void* window) override;
  void close() override;
  void idle() override;
  // Any thread: the control of `index` shows `value` from the next idle.
  void setParameter(VstInt32 index, float value) override;

  void valueChanged(CDrawContext* context, CControl* control) override;
  long controlModifierClicked(CDrawContext* context, CControl* control, long button) override;

  // Any thread: from the next idle the control with `tag` carries the white
  // outline (on), or no control does (off).
  void highlightControl(long tag, bool on);

  bool isWindowOpen() const { return isEditorOpen; }
  brambleFrame* getBrambleFrame() const;
  // The parameter control of `tag` while the window is open, else null.
  CControl* getControl(long tag) const;
  CSplashScreen* getSplashScreen() const { return isEditorOpen ? splashScreen : nullptr; }
  CBitmap* getBackgroundBitmap() const { return backgroundBitmap; }

 protected:
  // User-interface thread: hands the recorded changes to the controls.
  void applyPendingValues();
  void applyPendingHighlight();
  void discardPending();
  CControl* controlForIndex(VstInt32 index) const;

  CLinearKnob* micLevelKnob = nullptr;
  CLinearKnob* delayKnob = nullptr;
  CLinearKnob* repeatKnob = nullptr;
  CLinearKnob* depthKnob = nullptr;
  CMovieToggle* powerSwitch = nullptr;
  CMovieButton* inputSelector = nullptr;
  CSplashScreen* splashScreen = nullptr;
  CBitmap* backgroundBitmap = nullptr;
  std::map<int32_t, CControl*> controlsByTag;
  bool isEditorOpen = false;

 private:
  static constexpr int kParameterCount = 6;

  // Written by any thread, read by the user-interface thread.
  std::atomic<float> pendingValue[kParameterCount];
  std::atomic<uint32_t> pendingMask{0};
  // The latest mark request: tag in the low 32 bits, above it the sequence
  // number shifted left by one with the on bit at the bottom.
  std::atomic<uint64_t> highlightRequest{0};
  std::atomic<uint32_t> highlightSequence{0};
  // User-interface thread only: the sequence number last applied.
  uint32_t appliedHighlight = 0;
};
