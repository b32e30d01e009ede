// Multi-position switches: the control is cut into equal cells along one
// axis, one per position, and dragging over it picks the cell under the
// pointer. Position p of n shows frame p of a vertical picture strip and
// carries the value p / (n - 1).
//
// The short form takes one frame per position and fits the frames to the
// control (frame height = control height). A switch with one position (or
// none) has nowhere to go and stays at 0. Ctrl-click puts the default value
// back, as on every continuous control.
#pragma once

#include "editor/ccontrol.h"

// Behaviour shared by both orientations; `positionAt` picks the cell.
class CSwitchBase : public CControl {
 public:
  CSwitchBase(const CRect& size, CControlListener* listener, long tag, long frameCount,
              long frameHeight, long positions, CBitmap* background, CPoint& offset);
  ~CSwitchBase() override;

  // The frame of the current position.
  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  // The position the value shows (rounded, clamped to the positions).
  long currentPosition() const;
  // The value of the cell under `where` (frame coordinates), in [0, 1].
  float valueAt(const CPoint& where) const;

  long getFrameCount() const { return frameCount; }
  long getFrameHeight() const { return frameHeight; }
  long getPositions() const { return positions; }
  const CPoint& getOffset() const { return offset; }

 protected:
  // Cell index (not yet clamped) of the pointer; NaN-free.
  virtual long positionAt(const CPoint& where) const = 0;

  CPoint offset;
  long frameCount;
  long frameHeight;
  long positions;
};

// Positions from top to bottom; cells of frame height / positions pixels.
class CVerticalSwitch : public CSwitchBase {
 public:
  CVerticalSwitch(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                  CPoint& offset);
  CVerticalSwitch(const CRect& size, CControlListener* listener, long tag, long frameCount,
                  long frameHeight, long positions, CBitmap* background, CPoint& offset);
  ~CVerticalSwitch() override;
  bool isTypeOf(const char* type) const override;

 protected:
  long positionAt(const CPoint& where) const override;
};

// Positions from left to right; cells of picture width / positions pixels.
class CHorizontalSwitch : public CSwitchBase {
 public:
  CHorizontalSwitch(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                    CPoint& offset);
  CHorizontalSwitch(const CRect& size, CControlListener* listener, long tag, long frameCount,
                    long frameHeight, long positions, CBitmap* background, CPoint& offset);
  ~CHorizontalSwitch() override;
  bool isTypeOf(const char* type) const override;

 protected:
  long positionAt(const CPoint& where) const override;
};
