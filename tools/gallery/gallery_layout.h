// Geometry of the gallery's panel: a title bar over a grid of wells, each
// well a caption line over a stage where its control sits centred. Kept in a
// header of plain constants so that whatever drives the gallery from outside
// (a test clicking a control) finds the controls where the panel puts them.
#pragma once

#include "gui/cgeometry.h"

namespace gallery {

inline constexpr long kPanelWidth = 1016;
inline constexpr long kPanelHeight = 748;

inline constexpr long kColumns = 6, kRows = 5;
inline constexpr long kMargin = 12, kGap = 8, kTitleHeight = 48;
inline constexpr long kWellWidth = (kPanelWidth - 2 * kMargin - (kColumns - 1) * kGap) / kColumns;
inline constexpr long kWellHeight =
    (kPanelHeight - kTitleHeight - kMargin - (kRows - 1) * kGap) / kRows;
inline constexpr long kCaptionHeight = 20;

// The well at (column, row), `span` columns wide.
constexpr CRect wellRect(long column, long row, long span = 1) {
  const long left = kMargin + column * (kWellWidth + kGap);
  const long top = kTitleHeight + row * (kWellHeight + kGap);
  return CRect(left, top, left + span * kWellWidth + (span - 1) * kGap, top + kWellHeight);
}

// The part of a well below its caption.
constexpr CRect stageRect(long column, long row, long span = 1) {
  CRect r = wellRect(column, row, span);
  r.top += kCaptionHeight;
  return r;
}

// A width × height rectangle centred in `area`, moved by (dx, dy).
constexpr CRect centred(const CRect& area, long width, long height, long dx = 0, long dy = 0) {
  const long left = area.left + (area.right - area.left - width) / 2 + dx;
  const long top = area.top + (area.bottom - area.top - height) / 2 + dy;
  return CRect(left, top, left + width, top + height);
}

// Where the on/off button sits: the first well.
inline constexpr long kOnOffColumn = 0, kOnOffRow = 0;

}  // namespace gallery
