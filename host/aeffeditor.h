// Base of every editor the dispatcher talks to. The dispatcher only ever sees
// this interface; a real editor overrides what it supports and the rest keeps
// answering "not handled".
#pragma once

#include "host/vst_abi.h"

class AudioEffect;

class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* effect) : effect(effect), systemWindow(nullptr) {}
  virtual ~AEffEditor() {}

  virtual AudioEffect* getEffect() { return effect; }
  // No size to report: the host must not trust a stale rectangle.
  virtual bool getRect(ERect** rect) {
    if (rect) *rect = nullptr;
    return false;
  }
  virtual bool open(void* window) {
    systemWindow = window;
    return false;
  }
  virtual void close() { systemWindow = nullptr; }
  virtual bool isOpen() { return systemWindow != nullptr; }
  virtual void idle() {}
  virtual void draw(ERect* rect) {}
  virtual VstInt32 mouse(VstInt32 x, VstInt32 y) { return 0; }
  virtual VstInt32 key(VstInt32 keyCode) { return 0; }
  virtual void top() {}
  virtual void sleep() {}
  virtual bool onKeyDown(VstKeyCode& keyCode) { return false; }
  virtual bool onKeyUp(VstKeyCode& keyCode) { return false; }
  virtual bool onWheel(float distance) { return false; }
  virtual bool setKnobMode(VstInt32 mode) { return false; }

 protected:
  AudioEffect* effect;
  // The host's parent window while open; null while closed.
  void* systemWindow;
};
