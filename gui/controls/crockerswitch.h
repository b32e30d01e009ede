// A three-state rocker: at rest 0; held down on one half -1, on the other
// half +1. Letting go brings it back to 0. Frames of its vertical strip:
// -1 → frame 0, 0 → frame 1, +1 → frame 2.
//
// Which half is which follows the way people read such a switch: with
// kHorizontal (the default) the left half is -1 and the right half +1; with
// kVertical the upper half is +1 ("up") and the lower half -1. Sliding off
// the control while holding lets the rocker back to 0 until the pointer
// returns, as with a real button. The listener hears each change once (not
// repeatedly while held) and always hears the 0 of the release. A wheel
// step rocks it once toward the wheel's direction (+1 up, -1 down) and back.
// A rocker has no resting value other than 0, so Ctrl-click does not reset
// anything: it rocks like any press.
#pragma once

#include "editor/ccontrol.h"

class CRockerSwitch : public CControl {
 public:
  CRockerSwitch(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                CPoint& offset, long style);
  CRockerSwitch(const CRect& size, CControlListener* listener, long tag, long frameHeight,
                CBitmap* background, CPoint& offset, long style);
  ~CRockerSwitch() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  using CView::onWheel;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool isTypeOf(const char* type) const override;

  // -1, 0 or +1 for a pointer at `where` (frame coordinates) with the
  // button held: 0 outside the control.
  float valueAt(const CPoint& where) const;
  // The frame for the current value (0, 1 or 2).
  long currentFrame() const;

  long getFrameHeight() const { return frameHeight; }
  long getStyle() const { return style; }
  const CPoint& getOffset() const { return offset; }

 protected:
  void report(CDrawContext* context);

  CPoint offset;
  long frameHeight;
  long style;
};
