// What the editor needs of its effect for the MIDI-learn gesture. The effect
// lives a layer above the editor, so the editor reaches it through this
// interface instead of naming the effect class.
#pragma once

class brambleLearnTarget {
 public:
  // A command + shift click on the control with this tag.
  virtual void handleSpecialClick(long tag) = 0;

 protected:
  // Never deleted through this interface.
  ~brambleLearnTarget() = default;
};
