// A button that steps through `states` states, drawn from a strip of as many
// frames (frame height = picture height / states). State s has the value
// s / states. Each left press advances to the next state, wrapping to 0
// after the last, and reports it; holding the button does not step further.
//
// Clicks arrive through the toolkit's mouse dispatch. A value set from
// outside shows the nearest state, clamped to the strip.
#pragma once

#include "editor/ccontrol.h"

class CMultiButton : public CControl {
 public:
  // Fewer than 1 state is taken as 1.
  CMultiButton(const CRect& size, CControlListener* listener, long tag, long states,
               CBitmap* background, CPoint& offset);
  ~CMultiButton() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  long getStates() const { return states; }
  long getFrameHeight() const { return frameHeight; }
  // The state the value shows, within [0, states − 1].
  long currentState() const;

 protected:
  CPoint offset;
  long states;
  long frameHeight = 0;
};
