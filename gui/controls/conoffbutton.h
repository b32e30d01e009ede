// A two-state button. A press flips it between 0 and 1 and reports the new
// value at once, as one edit gesture; its picture holds the off look in the
// upper half and the on look in the lower half.
//
// Values set from outside are not always exactly 0 or 1 (host automation of
// a switch parameter): anything from 0.5 up counts as on, so that the button
// shows what the host's parameter display says; NaN counts as off. A press
// always lands on exactly 0 or 1. Ctrl-click does not reset it: a switch has
// no middle value to return to, so every plain press simply flips it.
#pragma once

#include "editor/ccontrol.h"

// When the listener hears of a press, relative to the one idle pass the
// button gives the window right after it (the pass redraws the button).
constexpr long kPostListenerUpdate = 0;  // the new look first, then the report
constexpr long kPreListenerUpdate = 1;   // the report first, then the new look

class COnOffButton : public CControl {
 public:
  COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
               long style = kPreListenerUpdate);
  ~COnOffButton() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  bool isOn() const { return value >= 0.5f; }
  long getStyle() const { return style; }
  virtual void setStyle(long newStyle) { style = newStyle; }

 protected:
  long style;
};
