#include "editor/family/cbuttonmatrix.h"

#include <algorithm>
#include <cstring>

#include "dsp/qmx.h"
#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"

namespace {

// More cells than any panel could show; keeps rows × columns far from
// overflowing and the allocation sane when the counts are nonsense.
constexpr long kMaxCells = 1L << 20;

}  // namespace

CButtonMatrix::CButtonMatrix(const CRect& size, int rows, int columns, CControlListener* listener,
                             long tag, CBitmap* cellPicture)
    : CControl(size, listener, tag, cellPicture),
      rowCount(std::max(rows, 0)),
      columnCount(std::max(columns, 0)) {
  if (static_cast<long>(rowCount) * columnCount > kMaxCells) rowCount = columnCount = 0;
  if (cellCount() > 0) cells = static_cast<unsigned char*>(qmx_mem_alloc(cellCount()));
  // Without its array the matrix behaves as an empty grid.
  if (!cells) rowCount = columnCount = 0;
  if (cellPicture) {
    cellWidth = static_cast<int>(std::max(cellPicture->getWidth(), 0L));
    cellHeight = static_cast<int>(std::max(cellPicture->getHeight() / 2, 0L));
  }
}

CButtonMatrix::~CButtonMatrix() {
  if (cells) qmx_mem_free(cells, cellCount());
}

bool CButtonMatrix::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CButtonMatrix") == 0) return true;
  return CControl::isTypeOf(type);
}

std::ptrdiff_t CButtonMatrix::cellIndex(long row, long column) const {
  if (!cells || row < 0 || column < 0 || row >= rowCount || column >= columnCount) return -1;
  return static_cast<std::ptrdiff_t>(row) * columnCount + column;
}

unsigned char CButtonMatrix::getCell(int row, int column) const {
  const std::ptrdiff_t i = cellIndex(row, column);
  return i < 0 ? 0 : cells[i];
}

void CButtonMatrix::setValue(float v) { setValue(static_cast<unsigned char>(v > 0.0f ? 1 : 0)); }

void CButtonMatrix::setValue(unsigned char v) {
  const std::ptrdiff_t i = cellIndex(currentRow, currentColumn);
  if (i >= 0) cells[i] = v;
}

float CButtonMatrix::getValue() {
  const std::ptrdiff_t i = cellIndex(currentRow, currentColumn);
  return i < 0 ? 0.0f : static_cast<float>(cells[i]);
}

void CButtonMatrix::setAllValues(unsigned char* source) {
  if (!source || !cells) return;
  qmx_memcpy(cells, source, cellCount());
  setDirty(true);
}

void CButtonMatrix::getAllValues(unsigned char* destination) {
  if (!destination || !cells) return;
  qmx_memcpy(destination, cells, cellCount());
}

void CButtonMatrix::clear() {
  if (cells) std::memset(cells, 0, cellCount());
  setDirty(true);
}

bool CButtonMatrix::getAttributeSize(unsigned long id, long& size) const {
  if (id != kButtonMatrixCurrentCell) return false;
  size = 8;
  return true;
}

bool CButtonMatrix::getAttribute(unsigned long id, long size, void* buffer, long& outSize) {
  if (id != kButtonMatrixCurrentCell || size != 8 || !buffer) return false;
  const int32_t cell[2] = {currentColumn, currentRow};
  std::memcpy(buffer, cell, sizeof cell);
  outSize = 8;
  return true;
}

bool CButtonMatrix::setAttribute(unsigned long id, long size, void* buffer) {
  if (id != kButtonMatrixCurrentCell || size != 8 || !buffer) return false;
  int32_t cell[2];
  std::memcpy(cell, buffer, sizeof cell);
  // Stored as given, so that reading the attribute back gives what was
  // written; every use of the current cell checks it against the grid.
  currentColumn = cell[0];
  currentRow = cell[1];
  return true;
}

bool CButtonMatrix::getCellFromPoint(CPoint where, CPoint& cell) {
  const long dx = where.x - viewSize.left;
  const long dy = where.y - viewSize.top;
  // A picture too small for a cell leaves nothing to divide by: every point
  // then belongs to the first cell and none lies on the grid.
  cell.x = cellWidth > 0 ? dx / cellWidth : 0;
  cell.y = cellHeight > 0 ? dy / cellHeight : 0;
  // Truncation puts points just left of or above the grid into the first
  // column or row: look at the sign as well.
  const bool onGrid = cellWidth > 0 && cellHeight > 0 && dx >= 0 && dy >= 0 &&
                      cell.x < columnCount && cell.y < rowCount;
  cell.x = std::clamp(cell.x, 0L, std::max(columnCount - 1L, 0L));
  cell.y = std::clamp(cell.y, 0L, std::max(rowCount - 1L, 0L));
  return onGrid;
}

void CButtonMatrix::draw(CDrawContext* context) {
  if (context && background && cellWidth > 0 && cellHeight > 0) {
    for (int i = 0; i < rowCount; ++i) {
      for (int j = 0; j < columnCount; ++j) {
        CRect dest(viewSize.left + static_cast<long>(j) * cellWidth,
                   viewSize.top + static_cast<long>(i) * cellHeight,
                   viewSize.left + static_cast<long>(j + 1) * cellWidth,
                   viewSize.top + static_cast<long>(i + 1) * cellHeight);
        const CPoint source(0, getCell(i, j) ? cellHeight : 0);
        if (transparency)
          background->drawTransparent(context, dest, source);
        else
          background->draw(context, dest, source);
      }
    }
  }
  setDirty(false);
}

void CButtonMatrix::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  // A command-click nobody took wipes the grid, with or without a listener.
  if (buttons & kModCommand) {
    clear();
    return;
  }
  if (!(buttons & kMouseLeft)) return;

  beginEdit();
  CPoint cell;
  // A press beside the cells (the control may be larger than its grid, and
  // its right and bottom edges still take presses) changes nothing, not
  // even the current cell.
  if (getCellFromPoint(where, cell)) {
    currentColumn = static_cast<int>(cell.x);
    currentRow = static_cast<int>(cell.y);
    unsigned char& c = cells[cellIndex(currentRow, currentColumn)];
    c = c == 0 ? 1 : 0;
    setDirty(true);
    if (listener) listener->valueChanged(context, this);
  }
  // One toggle per press, however long it is held.
  while (currentButtons(context) == buttons) doIdleStuff();
  endEdit();
}
