// A picture strip that shows the value and takes no input: frame 0 at 0 and
// below, the last frame at 1 and above (values above 1 are brought down to 1
// when drawn), evenly rounded between.
//
// The short form fits the strip to the control: one frame is as high as the
// control and the strip holds as many whole frames as the picture does. A
// strip without a whole frame (a picture lower than the control, a frame
// height of 0) draws nothing rather than a torn frame.
#pragma once

#include "editor/ccontrol.h"

class CMovieBitmap : public CControl {
 public:
  CMovieBitmap(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
               CPoint& offset);
  CMovieBitmap(const CRect& size, CControlListener* listener, long tag, long frameCount,
               long frameHeight, CBitmap* background, CPoint& offset);
  ~CMovieBitmap() override;

  void draw(CDrawContext* context) override;
  // Display only: presses are left alone.
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  // The frame the value shows now (values above 1 count as 1).
  long currentFrame() const;

  long getFrameCount() const { return frameCount; }
  long getFrameHeight() const { return frameHeight; }
  const CPoint& getOffset() const { return offset; }

 protected:
  CPoint offset;
  long frameCount;
  long frameHeight;
};
