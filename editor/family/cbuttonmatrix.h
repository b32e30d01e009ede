// A grid of on/off cells, every cell drawn from the same two-frame picture
// (upper frame off, lower frame on). A left press toggles the cell under the
// pointer and reports; a command-click that the listener leaves alone clears
// the whole grid. The cells live in their own array, not in the control's
// value field: a listener reading the value through CControl sees that field
// unchanged and asks the matrix (getValue(), getAllValues) instead.
//
// A press beside the cells (the control may be larger than its grid, and its
// right and bottom edges still take presses) toggles nothing and leaves the
// current cell as it was. A command-click clears the grid whether or not
// there is a listener, as long as no listener takes it. A picture less than
// two rows high, or without width, gives cells of no size: nothing is then
// drawn or toggled.
//
// The current cell (the one last clicked, or chosen through the 'MFmc'
// attribute) can lie outside the grid after setAttribute, which stores what
// it is given; the operations on the current cell then read 0 and write
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "editor/ccontrol.h"

// Four characters packed into 32 bits, the first in the most significant byte.
constexpr unsigned long fourCharId(const char (&text)[5]) {
  return (static_cast<unsigned long>(static_cast<unsigned char>(text[0])) << 24) |
         (static_cast<unsigned long>(static_cast<unsigned char>(text[1])) << 16) |
         (static_cast<unsigned long>(static_cast<unsigned char>(text[2])) << 8) |
         static_cast<unsigned long>(static_cast<unsigned char>(text[3]));
}

// The current cell as two 32-bit integers: column, then row.
inline constexpr unsigned long kButtonMatrixCurrentCell = fourCharId("MFmc");

class CButtonMatrix : public CControl {
 public:
  // Negative counts make an empty grid. The cell size comes from the picture:
  // its width, and half its height.
  CButtonMatrix(const CRect& size, int rows, int columns, CControlListener* listener, long tag,
                CBitmap* cellPicture);
  ~CButtonMatrix() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  // The current cell: 1 for any positive value, else 0.
  void setValue(float v) override;
  void setOldValue(float v) override { oldValue = v; }
  void setDefaultValue(float v) override { defaultValue = v; }

  virtual void setValue(unsigned char v);
  // The current cell as a float (0 when it lies outside the grid).
  virtual float getValue();
  // rowCount × columnCount bytes, row by row.
  virtual void setAllValues(unsigned char* source);
  virtual void getAllValues(unsigned char* destination);
  virtual void clear();
  virtual float getOldValue() { return oldValue; }
  virtual float getDefaultValue() { return defaultValue; }
  virtual bool getAttributeSize(unsigned long id, long& size) const;
  virtual bool getAttribute(unsigned long id, long size, void* buffer, long& outSize);
  virtual bool setAttribute(unsigned long id, long size, void* buffer);
  // The cell under `where` (parent coordinates), clamped to the grid: a
  // point left of or above the grid gives column or row 0, one right of or
  // below it the last column or row. True when the point lies on a cell.
  virtual bool getCellFromPoint(CPoint where, CPoint& cell);

  // The reading through CControl stays available under its own name.
  using CControl::getDefaultValue;
  using CControl::getOldValue;
  using CControl::getValue;

  int getRowCount() const { return rowCount; }
  int getColumnCount() const { return columnCount; }
  int getCellWidth() const { return cellWidth; }
  int getCellHeight() const { return cellHeight; }
  int getCurrentColumn() const { return currentColumn; }
  int getCurrentRow() const { return currentRow; }
  // The byte of cell (row, column), 0 outside the grid.
  unsigned char getCell(int row, int column) const;

 protected:
  // Index of the cell in `cells`, or -1 when (row, column) is not on the grid.
  std::ptrdiff_t cellIndex(long row, long column) const;
  size_t cellCount() const {
    return static_cast<size_t>(rowCount) * static_cast<size_t>(columnCount);
  }

  int rowCount;
  int columnCount;
  unsigned char* cells = nullptr;
  int currentColumn = 0;
  int currentRow = 0;
  int cellHeight = 0;
  int cellWidth = 0;
};
