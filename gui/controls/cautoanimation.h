// A picture strip played as an animation. A click opens it (it starts at the
// first frame) and the next click closes it; whoever animates it steps the
// frames with nextPixmap / previousPixmap (a timer or the listener). While
// open the value is the strip's vertical source offset in pixels: 0 for the
// first frame, frameHeight for the second, and so on.
//
// Closed, it shows the first frame as a still picture: something must be
// there to click on. Stepping wraps around at both ends, so an animation
// loops without anyone watching the frame count. Both the opening and the
// closing click are reported (the listener asks isWindowOpened which one it
// was); Ctrl-click opens and closes like any click.
#pragma once

#include "editor/ccontrol.h"

class CAutoAnimation : public CControl {
 public:
  CAutoAnimation(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                 CPoint& offset);
  CAutoAnimation(const CRect& size, CControlListener* listener, long tag, long frameCount,
                 long frameHeight, CBitmap* background, CPoint& offset);
  ~CAutoAnimation() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  virtual void openWindow();
  virtual void closeWindow();
  virtual void nextPixmap();
  virtual void previousPixmap();
  bool isWindowOpened() const { return windowOpened; }

  // The source offset drawn now: the value while open (clamped to the
  // strip, truncated to a pixel), 0 while closed.
  long currentOffset() const;

  long getFrameCount() const { return frameCount; }
  long getFrameHeight() const { return frameHeight; }
  const CPoint& getOffset() const { return offset; }

 protected:
  // The offset of the last frame (0 without frames).
  long lastFrameOffset() const;

  CPoint offset;
  long frameCount;
  long frameHeight;
  bool windowOpened = false;
};
