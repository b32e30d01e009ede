// A switch with rows × columns positions laid out as a grid, drawn from a
// strip of rows × columns frames (one frame per position, each showing the
// whole grid with that position chosen). Position p has the value
// p / (positions − 1); the frame drawn is round(value × (positions − 1)).
//
// A press, and the drag that follows while the button is held, selects the
// cell under the pointer: the pointer's offset from the control's corner
// divided by the cell size (frame width / columns, frame height / rows)
// gives column and row, each clamped to the grid; position = row × columns
// + column. A change of position is reported at once. A command-click
// returns to the default value, 0.
#pragma once

#include "editor/ccontrol.h"

class CSelectorSwitch : public CControl {
 public:
  // Counts below 1 are taken as 1.
  CSelectorSwitch(const CRect& size, CControlListener* listener, long tag, long rows, long columns,
                  CBitmap* background, CPoint& offset);
  ~CSelectorSwitch() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  long getRows() const { return rows; }
  long getColumns() const { return columns; }
  long getPositions() const { return rows * columns; }
  long getFrameHeight() const { return frameHeight; }
  // The position the value shows, within [0, positions − 1].
  long currentPosition() const;
  // The position under `where` (parent coordinates), clamped to the grid.
  long positionFromPoint(const CPoint& where) const;

 protected:
  CPoint offset;
  long rows;
  long columns;
  long frameHeight = 0;
};
