// An on/off switch that acts on press rather than on release, and shows a
// pressed picture of its new state while the button is held. Its strip has
// four frames: off, on, off pressed, on pressed.
#pragma once

#include "editor/cmoviebutton.h"

class CMovieToggle : public CMovieButton {
 public:
  CMovieToggle(const CRect& size, CControlListener* listener, long tag, long frameHeight,
               CBitmap* background, CPoint& offset);
  ~CMovieToggle() override;

  void draw(CDrawContext* context) override;
  // Flips the value at once and reports it; returns when the buttons change.
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;

  // The strip's vertical source offset for the current state.
  long frameOffset() const;
};
