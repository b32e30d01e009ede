#include "editor/family/cmultibutton.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/controls/strip_frames.h"

namespace {

constexpr long kMaxStates = 1L << 16;

}  // namespace

CMultiButton::CMultiButton(const CRect& size, CControlListener* listener, long tag, long states,
                           CBitmap* background, CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      states(std::clamp(states, 1L, kMaxStates)) {
  if (background) frameHeight = std::max(background->getHeight() / this->states, 0L);
}

CMultiButton::~CMultiButton() = default;

bool CMultiButton::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CMultiButton") == 0) return true;
  return CControl::isTypeOf(type);
}

long CMultiButton::currentState() const {
  return stripframes::clampToLong(std::round(value * static_cast<float>(states)), 0, states - 1);
}

void CMultiButton::draw(CDrawContext* context) {
  stripframes::drawFrame(context, background, viewSize, offset, currentState(), frameHeight,
                         transparency);
  setDirty(false);
}

void CMultiButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;

  beginEdit();
  const long next = (currentState() + 1) % states;
  value = static_cast<float>(next) / static_cast<float>(states);
  if (listener) listener->valueChanged(context, this);
  // One step per press, however long it is held.
  while (currentButtons(context) == buttons) doIdleStuff();
  endEdit();
}
