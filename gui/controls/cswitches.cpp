#include "gui/controls/cswitches.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/control_numeric.h"
#include "gui/cbitmap.h"
#include "gui/controls/strip_frames.h"

namespace {

long framesFitting(const CBitmap* picture, long frameHeight) {
  if (!picture || frameHeight <= 0) return 0;
  return picture->getHeight() / frameHeight;
}

// Cell index of `offset` pixels into cells of `span / positions` pixels.
long cellOf(long offset, long span, long positions) {
  if (positions <= 0 || span <= 0) return 0;
  const float cell = static_cast<float>(span) / static_cast<float>(positions);
  // Left of / above the first cell still means the first cell.
  const float index = std::floor(static_cast<float>(offset) / cell);
  return stripframes::clampToLong(index, -1, positions);
}

}  // namespace

CSwitchBase::CSwitchBase(const CRect& size, CControlListener* listener, long tag,
                         long frameCount, long frameHeight, long positions, CBitmap* background,
                         CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      frameCount(frameCount),
      frameHeight(frameHeight),
      positions(positions) {}

CSwitchBase::~CSwitchBase() = default;

bool CSwitchBase::isTypeOf(const char* type) const { return CControl::isTypeOf(type); }

long CSwitchBase::currentPosition() const {
  return stripframes::frameForValue(value, positions);
}

float CSwitchBase::valueAt(const CPoint& where) const {
  if (positions <= 1) return 0.0f;
  long position = positionAt(where);
  if (position < 0) position = 0;
  if (position > positions - 1) position = positions - 1;
  return static_cast<float>(position) / static_cast<float>(positions - 1);
}

void CSwitchBase::draw(CDrawContext* context) {
  if (frameCount > 0) {
    // A strip with fewer frames than positions shows its last frame for the
    // positions it has no picture for.
    const long frame = std::min(currentPosition(), frameCount - 1);
    stripframes::drawFrame(context, background, viewSize, offset, frame, frameHeight,
                           transparency);
  }
  setDirty(false);
}

void CSwitchBase::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;
  if (checkDefaultValue(context, buttons)) return;

  beginEdit();
  // Between two redraws the control stays dirty; comparing with what the
  // listener last heard keeps a held button from repeating the same report.
  float reported = value;
  do {
    value = valueAt(where);
    if (isDirty() && listener && !(value == reported)) {
      listener->valueChanged(context, this);
      reported = value;
    }
    // Position and buttons of the same moment: the next pass uses both.
    doIdleStuff();
    getMouseLocation(context, where);
  } while (currentButtons(context) & kMouseLeft);
  endEdit();
}

// ---- vertical ----

CVerticalSwitch::CVerticalSwitch(const CRect& size, CControlListener* listener, long tag,
                                 CBitmap* background, CPoint& offset)
    : CSwitchBase(size, listener, tag, framesFitting(background, size.height()), size.height(),
                  framesFitting(background, size.height()), background, offset) {}

CVerticalSwitch::CVerticalSwitch(const CRect& size, CControlListener* listener, long tag,
                                 long frameCount, long frameHeight, long positions,
                                 CBitmap* background, CPoint& offset)
    : CSwitchBase(size, listener, tag, frameCount, frameHeight, positions, background, offset) {}

CVerticalSwitch::~CVerticalSwitch() = default;

bool CVerticalSwitch::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CVerticalSwitch") == 0) return true;
  return CSwitchBase::isTypeOf(type);
}

long CVerticalSwitch::positionAt(const CPoint& where) const {
  return cellOf(where.y - viewSize.top, frameHeight, positions);
}

// ---- horizontal ----

CHorizontalSwitch::CHorizontalSwitch(const CRect& size, CControlListener* listener, long tag,
                                     CBitmap* background, CPoint& offset)
    : CSwitchBase(size, listener, tag, framesFitting(background, size.height()), size.height(),
                  framesFitting(background, size.height()), background, offset) {}

CHorizontalSwitch::CHorizontalSwitch(const CRect& size, CControlListener* listener, long tag,
                                     long frameCount, long frameHeight, long positions,
                                     CBitmap* background, CPoint& offset)
    : CSwitchBase(size, listener, tag, frameCount, frameHeight, positions, background, offset) {}

CHorizontalSwitch::~CHorizontalSwitch() = default;

bool CHorizontalSwitch::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CHorizontalSwitch") == 0) return true;
  return CSwitchBase::isTypeOf(type);
}

long CHorizontalSwitch::positionAt(const CPoint& where) const {
  // Without a picture the control's own width is cut into cells.
  const long span = background ? background->getWidth() : viewSize.width();
  return cellOf(where.x - viewSize.left, span, positions);
}
