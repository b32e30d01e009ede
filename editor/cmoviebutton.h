// A two-state button drawn from a two-frame strip (frame 0 for value 0,
// frame 1 otherwise). A press toggles it; while the button is held it
// follows the pointer: toggled over the control, back to where it was
// outside, so letting go outside changes nothing.
#pragma once

#include "editor/ccontrol.h"

class CMovieButton : public CControl {
 public:
  CMovieButton(const CRect& size, CControlListener* listener, long tag, long frameHeight,
               CBitmap* background, CPoint& offset);
  ~CMovieButton() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  long getFrameHeight() const { return frameHeight; }
  float getPressState() const { return pressState; }
  const CPoint& getBackgroundOffset() const { return backgroundOffset; }

 protected:
  CPoint backgroundOffset;
  long frameHeight;
  // The value at the last drawing or release.
  float pressState;
};
