// A strip knob turned by dragging in a straight line rather than around its
// centre: the value follows the pointer's travel from the press point, so the
// knob never jumps to where the pointer happens to be. Shift makes the drag
// finer by the knob's zoom factor, also when pressed or let go mid-drag.
#pragma once

#include "editor/canimknob.h"

class CLinearKnob : public CAnimKnob {
 public:
  // `dragVertical` not 0: up increases the value; 0: right increases it.
  CLinearKnob(const CRect& size, CControlListener* listener, long tag, long frameCount,
              long frameHeight, int dragVertical, CBitmap* background, CPoint& offset);
  ~CLinearKnob() override;

  // Runs the whole drag; returns when the left button is released.
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;

  int getDragVertical() const { return dragVertical; }

 protected:
  int dragVertical;
};
