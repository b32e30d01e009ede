// The pop-up menu's layout, keyboard moves and picture: plain code over the
// drawing services, shared by the window binding and the tests.
#include "gui/platform/platform_popup_menu.h"

#include <algorithm>
#include <cmath>

namespace {

// Entry height is the font size plus this much air.
constexpr long kItemAir = 8;
constexpr long kSeparatorHeight = 7;
// Columns left of the text (check mark) and right of it (sub-menu arrow).
constexpr long kCheckColumn = 18;
constexpr long kArrowColumn = 18;
constexpr long kBorder = 1;

long defaultItemHeight(const PlatformMenuStyle& style) {
  const double size = std::isfinite(style.fontSize) ? std::clamp(style.fontSize, 1.0, 200.0) : 12.0;
  return static_cast<long>(std::lround(size)) + kItemAir;
}

double safeFontSize(const PlatformMenuStyle& style) {
  return std::isfinite(style.fontSize) ? std::clamp(style.fontSize, 1.0, 200.0) : 12.0;
}

void fillBox(PlatformContext* c, double x, double y, double width, double height) {
  platformNewPath(c);
  platformRectangle(c, x, y, width, height);
  platformFill(c);
}

}  // namespace

bool platformMenuItemSelectable(const PlatformMenuItem& item) {
  return !item.separator && item.enabled;
}

PlatformMenuLayout platformPopupMenuLayout(const std::vector<PlatformMenuItem>& items,
                                           const PlatformMenuStyle& style,
                                           PlatformMenuPainter* painter, long minimumWidth) {
  PlatformMenuLayout layout;
  // Measuring text needs a context, and a context a surface.
  PlatformSurface* scratch = platformSurfaceCreate(1, 1);
  PlatformContext* measure = platformContextCreate(scratch);
  const double size = safeFontSize(style);
  long width = std::clamp(minimumWidth, 0L, 4096L);
  long y = kBorder;
  for (const PlatformMenuItem& item : items) {
    long itemWidth = 0, itemHeight = 0;
    if (item.separator) {
      itemHeight = kSeparatorHeight;
    } else if (!(painter && painter->itemSize(item, itemWidth, itemHeight))) {
      itemHeight = defaultItemHeight(style);
      const double text = platformTextWidth(measure, item.title.c_str(), size, false, false);
      itemWidth = kCheckColumn + static_cast<long>(std::ceil(text)) + kArrowColumn;
    }
    itemWidth = std::clamp(itemWidth, 0L, 4096L);
    itemHeight = std::clamp(itemHeight, 1L, 1024L);
    width = std::max(width, itemWidth + 2 * kBorder);
    layout.boxes.push_back({y, y + itemHeight});
    y += itemHeight;
  }
  platformContextDestroy(measure);
  platformSurfaceRelease(scratch);
  layout.width = std::max(width, 2 * kBorder + 1);
  layout.height = std::max(y + kBorder, 2 * kBorder + 1);
  return layout;
}

long platformPopupMenuItemAt(const PlatformMenuLayout& layout, long x, long y) {
  if (x < 0 || x >= layout.width) return -1;
  for (size_t i = 0; i < layout.boxes.size(); ++i)
    if (y >= layout.boxes[i].top && y < layout.boxes[i].bottom) return static_cast<long>(i);
  return -1;
}

long platformPopupMenuStep(const std::vector<PlatformMenuItem>& items, long from, int step) {
  const long count = static_cast<long>(items.size());
  if (count == 0 || step == 0) return -1;
  long i = from < 0 || from >= count ? -1 : from;
  for (long k = 0; k < count; ++k) {
    if (i < 0)
      i = step > 0 ? 0 : count - 1;
    else
      i = (i + (step > 0 ? 1 : -1) + count) % count;
    if (platformMenuItemSelectable(items[static_cast<size_t>(i)])) return i;
  }
  return -1;
}

void platformPopupMenuPaint(PlatformSurface* surface, const std::vector<PlatformMenuItem>& items,
                            const PlatformMenuLayout& layout, const PlatformMenuStyle& style,
                            PlatformMenuPainter* painter, long selected) {
  PlatformContext* c = platformContextCreate(surface);
  if (!c) return;
  const double width = static_cast<double>(platformSurfaceWidth(surface));
  const double height = static_cast<double>(platformSurfaceHeight(surface));
  const double size = safeFontSize(style);
  platformSetFillColor(c, style.back);
  fillBox(c, 0, 0, width, height);
  platformSetFillColor(c, style.frame);
  fillBox(c, 0, 0, width, 1);
  fillBox(c, 0, height - 1, width, 1);
  fillBox(c, 0, 0, 1, height);
  fillBox(c, width - 1, 0, 1, height);

  double ascent = 0.0, descent = 0.0;
  platformFontExtents(c, size, false, false, ascent, descent);
  const size_t count = std::min(items.size(), layout.boxes.size());
  for (size_t i = 0; i < count; ++i) {
    const PlatformMenuItem& item = items[i];
    const double top = static_cast<double>(layout.boxes[i].top);
    const double itemHeight = static_cast<double>(layout.boxes[i].bottom - layout.boxes[i].top);
    const double middle = top + std::floor(itemHeight / 2.0);
    if (item.separator) {
      platformSetFillColor(c, style.frame);
      fillBox(c, 4, middle, width - 8, 1);
      continue;
    }
    const bool highlighted = static_cast<long>(i) == selected && platformMenuItemSelectable(item);
    if (painter) {
      // The painter draws on the same pixels: what we drew must be there first.
      platformFlush(c);
      painter->paintItem(surface, kBorder, layout.boxes[i].top, layout.width - 2 * kBorder,
                         layout.boxes[i].bottom - layout.boxes[i].top, item, highlighted);
      platformSurfaceEndAccess(surface);
      continue;
    }
    if (highlighted) {
      platformSetFillColor(c, style.selectedBack);
      fillBox(c, kBorder, top, width - 2 * kBorder, itemHeight);
    }
    const PlatformColor ink = !item.enabled ? style.disabledText
                              : highlighted ? style.selectedText
                                            : style.text;
    const double baseline = std::round(top + (itemHeight + ascent - descent) / 2.0);
    platformSave(c);
    platformClipRect(c, kBorder, static_cast<long>(top), static_cast<long>(width) - 2 * kBorder,
                     static_cast<long>(itemHeight));
    platformDrawText(c, item.title.c_str(), kCheckColumn, baseline, size, false, false, ink);
    platformSetAntialias(c, true);
    if (item.checked) {
      platformSetStrokeColor(c, ink);
      platformSetLineWidth(c, 2.0);
      platformNewPath(c);
      platformMoveTo(c, 5.0, middle);
      platformLineTo(c, 8.0, middle + 3.0);
      platformLineTo(c, 13.0, middle - 4.0);
      platformStroke(c);
    }
    if (item.hasSubMenu) {
      platformSetFillColor(c, ink);
      platformNewPath(c);
      platformMoveTo(c, width - 13.0, middle - 4.0);
      platformLineTo(c, width - 8.0, middle + 0.5);
      platformLineTo(c, width - 13.0, middle + 5.0);
      platformClosePath(c);
      platformFill(c);
    }
    platformSetAntialias(c, false);
    platformRestore(c);
  }
  platformFlush(c);
  platformContextDestroy(c);
}
