#include "editor/family/cselectorswitch.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/controls/strip_frames.h"

namespace {

// Keeps rows × columns (and every frame offset) far inside long.
constexpr long kMaxCount = 1L << 12;

}  // namespace

CSelectorSwitch::CSelectorSwitch(const CRect& size, CControlListener* listener, long tag, long rows,
                                 long columns, CBitmap* background, CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      rows(std::clamp(rows, 1L, kMaxCount)),
      columns(std::clamp(columns, 1L, kMaxCount)) {
  if (background) frameHeight = std::max(background->getHeight() / getPositions(), 0L);
  defaultValue = 0.0f;
}

CSelectorSwitch::~CSelectorSwitch() = default;

bool CSelectorSwitch::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CSelectorSwitch") == 0) return true;
  return CControl::isTypeOf(type);
}

long CSelectorSwitch::currentPosition() const {
  const long last = getPositions() - 1;
  if (last == 0) return 0;
  // Rounded to the nearest position; NaN and out-of-range values stop at
  // the ends.
  const float scaled = std::round(value * static_cast<float>(last));
  return stripframes::clampToLong(scaled, 0, last);
}

long CSelectorSwitch::positionFromPoint(const CPoint& where) const {
  // A picture too small to give a cell a pixel makes every cell one pixel.
  const long pictureWidth = background ? background->getWidth() : 0;
  const long cellWidth = std::max(pictureWidth / columns, 1L);
  const long cellHeight = std::max(frameHeight / rows, 1L);
  const long dx = where.x - viewSize.left;
  const long dy = where.y - viewSize.top;
  // Negative offsets lie left of or above the grid: the first column or row.
  const long column = dx < 0 ? 0 : std::min(dx / cellWidth, columns - 1);
  const long row = dy < 0 ? 0 : std::min(dy / cellHeight, rows - 1);
  return row * columns + column;
}

void CSelectorSwitch::draw(CDrawContext* context) {
  stripframes::drawFrame(context, background, viewSize, offset, currentPosition(), frameHeight,
                         transparency);
  setDirty(false);
}

void CSelectorSwitch::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (checkDefaultValue(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;

  const long last = getPositions() - 1;
  const auto choose = [&](const CPoint& at) {
    const long position = positionFromPoint(at);
    const float newValue =
        last > 0 ? static_cast<float>(position) / static_cast<float>(last) : 0.0f;
    // Reported when the position changes, not on every pass of the drag.
    if (newValue == value) return;
    value = newValue;
    if (listener) listener->valueChanged(context, this);
  };
  beginEdit();
  choose(where);
  // The pointer is read after each idle pass, so the last place it reached
  // with the button held counts.
  for (;;) {
    doIdleStuff();
    if (currentButtons(context) != buttons) break;
    getMouseLocation(context, where);
    choose(where);
  }
  endEdit();
}
