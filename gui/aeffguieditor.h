// The editor base between the host's editor requests and the view tree: owns
// the frame pointer, paces idle processing while a control holds the mouse,
// and tells the host when an edit gesture begins and ends.
#pragma once

#include <cstdint>

#include "host/aeffeditor.h"

class CFrame;

// Knob modes (setKnobMode), shared by every editor of the process.
constexpr VstInt32 kCircularMode = 0;
constexpr VstInt32 kRelativCircularMode = 1;
constexpr VstInt32 kLinearMode = 2;

class AEffGUIEditor : public AEffEditor {
 public:
  // Registers with the effect as its editor and makes the plug-in's pictures
  // findable.
  explicit AEffGUIEditor(AudioEffect* effect);
  ~AEffGUIEditor() override;

  bool getRect(ERect** rect) override;
  void idle() override;
  void draw(ERect* rect) override;
  VstInt32 mouse(VstInt32 x, VstInt32 y) override;
  bool onKeyDown(VstKeyCode& keyCode) override;
  bool onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(float distance) override;
  bool setKnobMode(VstInt32 mode) override;

  virtual void setParameter(VstInt32 index, float value) {}
  virtual void beginEdit(VstInt32 index);
  virtual void endEdit(VstInt32 index);
  // Lets the window redraw and the host run while a control's mouse loop
  // holds the thread; paces that loop at about 4 ms a pass.
  virtual void doIdleStuff();

  // Milliseconds of a monotonic clock.
  uint32_t getTicks() const;
  void wait(uint32_t milliseconds);

  CFrame* getFrame() const { return frame; }
  static VstInt32 getKnobMode() { return knobMode; }

 protected:
  ERect rect{};
  uint32_t nextIdleTime = 0;
  bool idleBusy = false;
  CFrame* frame = nullptr;

 private:
  static VstInt32 knobMode;
};
