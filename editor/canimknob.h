// A knob drawn as one frame of a vertical picture strip (its background):
// frame 0 at the minimum, the last frame only at the maximum. It redraws only
// when its handle would move by a pixel, so tiny value changes cost nothing.
#pragma once

#include "editor/cknob.h"

class CAnimKnob : public CKnob {
 public:
  CAnimKnob(const CRect& size, CControlListener* listener, long tag, long frameCount,
            long frameHeight, CBitmap* background, CPoint& offset);
  ~CAnimKnob() override;

  void draw(CDrawContext* context) override;
  bool isDirty() const override;
  bool isTypeOf(const char* type) const override;

  // The strip's vertical source offset for the current value: the top of the
  // frame to show. The value counts as a fraction 0..1 whatever the bounds.
  long frameOffset() const;

  void setInverseBitmap(bool state) { inverseBitmap = state; }
  bool getInverseBitmap() const { return inverseBitmap; }
  long getFrameCount() const { return frameCount; }
  long getFrameHeight() const { return frameHeight; }
  const CPoint& getLastDrawnPoint() const { return lastDrawnPoint; }

 protected:
  long frameCount;
  long frameHeight;
  bool inverseBitmap = false;
  CPoint lastDrawnPoint;
};
