// A level meter drawn from a picture strip: one frame as high as the
// control, as many frames as the picture holds. Each of the two flags
// reserves one frame at the end of the strip for a state of its own:
//  - `inactiveFrame`: shown while the meter is inactive (setActive(false));
//    without it an inactive meter shows frame 0, the empty meter;
//  - `overloadFrame`: shown while the value lies above 1 (the level went
//    past full scale); without it such a value shows the top level frame.
// With both, the inactive frame comes first and the overload frame last.
//
// Otherwise the level frame is truncate((frames − 1 − reserved) × value
// + 0.5) for values above 0, frame 0 for the rest (NaN included), taken from
// the source offset (offset.x, offset.y + frame × frame height). Unlike a
// plain CMovieBitmap the meter keeps a value above 1 as it is, so an
// overload stays on show however often the meter is redrawn. A strip with
// no frame left for the levels draws nothing.
#pragma once

#include "gui/controls/cmoviebitmap.h"

class CMovieMeter : public CMovieBitmap {
 public:
  CMovieMeter(const CRect& size, CControlListener* listener, long tag, CBitmap* strip,
              CPoint& offset, bool inactiveFrame, bool overloadFrame);
  ~CMovieMeter() override;

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* type) const override;

  // Marks for drawing when the state changes.
  virtual void setActive(bool state);
  bool isActive() const { return active; }

  long getReservedFrames() const { return (hasInactiveFrame ? 1 : 0) + (hasOverloadFrame ? 1 : 0); }
  // Frames left for the levels (0 when the strip is too short).
  long getLevelFrames() const;
  // The frame the meter shows now, or -1 when it shows none.
  long frameToShow() const;

 protected:
  bool hasInactiveFrame;
  bool hasOverloadFrame;
  bool active = true;
};
