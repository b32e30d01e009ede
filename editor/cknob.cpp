#include "editor/cknob.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

#include "editor/control_numeric.h"
#include "gui/aeffguieditor.h"
#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"
#include "gui/vstkeys.h"

namespace {

// The arc's ends, rounded once from double: the minimum at the lower left,
// the maximum three quarters of a turn clockwise at the lower right.
constexpr float kDefaultStartAngle = static_cast<float>(5.0 * std::numbers::pi / 4.0);
constexpr float kDefaultRangeAngle = static_cast<float>(-3.0 * std::numbers::pi / 2.0);
static_assert(std::bit_cast<uint32_t>(kDefaultStartAngle) == 0x407B53D1u);
static_assert(std::bit_cast<uint32_t>(kDefaultRangeAngle) == 0xC096CBE4u);

constexpr float kFullTurn = static_cast<float>(2.0 * std::numbers::pi);

// How far the handle sits inside the rim when it is a picture: half the
// picture, plus a little air.
long insetForHandle(const CBitmap* handle) {
  return truncateToPixel(static_cast<float>(handle->getWidth()) * 0.5f + 2.5f);
}

}  // namespace

CKnob::CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
             CBitmap* handle, const CPoint& offset)
    : CControl(size, listener, tag, background), backgroundOffset(offset), handleBitmap(handle) {
  if (handleBitmap) handleBitmap->remember();
  colorHandle = kWhiteCColor;
  colorShadowHandle = kGreyCColor;
  insetValue = handleBitmap ? insetForHandle(handleBitmap) : 3;
  radius = static_cast<float>(size.right - size.left) * 0.5f;
  rangeAngle = 1.0f;
  setStartAngle(kDefaultStartAngle);
  setRangeAngle(kDefaultRangeAngle);
  zoomFactor = 1.5f;
  setWantsFocus(true);
}

CKnob::~CKnob() {
  if (handleBitmap) handleBitmap->forget();
  handleBitmap = nullptr;
}

bool CKnob::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CKnob") == 0) return true;
  return CControl::isTypeOf(type);
}

// ---- geometry ----

void CKnob::setStartAngle(float angle) {
  startAngle = angle;
  compute();
}

void CKnob::setRangeAngle(float angle) {
  rangeAngle = angle;
  compute();
}

void CKnob::compute() {
  valuePerRadian = (vmax - vmin) / rangeAngle;
  valueAtZeroAngle = vmin - valuePerRadian * startAngle;
  gapHalfAngle = (kFullTurn - std::fabs(rangeAngle)) * 0.5f;
  setDirty(true);
}

void CKnob::valueToPoint(CPoint& point) const {
  const float alpha = (value - valueAtZeroAngle) / valuePerRadian;
  const float reach = radius - static_cast<float>(insetValue);
  point.x = truncateToPixel(radius + std::cos(alpha) * reach + 0.5f);
  // Screen y grows downward, angles turn counter-clockwise.
  point.y = truncateToPixel(radius - std::sin(alpha) * reach + 0.5f);
}

float CKnob::valueFromPoint(CPoint& point) const {
  // A knob without an arc has only its minimum.
  if (rangeAngle == 0.0f) return vmin;
  const double dx = static_cast<double>(point.x) - radius;
  const double dy = radius - static_cast<double>(point.y);
  // The centre points nowhere: the value stays.
  if (dx == 0.0 && dy == 0.0) return value;
  const double alpha = std::atan2(dy, dx);
  const double direction = rangeAngle < 0.0f ? -1.0 : 1.0;
  const double span = std::fabs(static_cast<double>(rangeAngle));
  const double gap = gapHalfAngle;
  const double turn = 2.0 * std::numbers::pi;
  // Travel from the minimum along the arc, folded so that the first half of
  // the gap counts as before the minimum and the second half as past the
  // maximum.
  double travel = std::fmod(direction * (alpha - startAngle) + gap, turn);
  if (travel < 0.0) travel += turn;
  travel -= gap;
  if (travel < 0.0) travel = 0.0;
  if (travel > span) travel = span;
  return static_cast<float>(valueAtZeroAngle + valuePerRadian * (startAngle + direction * travel));
}

// ---- looks ----

void CKnob::setColorShadowHandle(CColor color) {
  colorShadowHandle = color;
  setDirty(true);
}

void CKnob::setColorHandle(CColor color) {
  colorHandle = color;
  setDirty(true);
}

void CKnob::setHandleBitmap(CBitmap* handle) {
  // The new reference first: it may be the same picture.
  if (handle) handle->remember();
  if (handleBitmap) handleBitmap->forget();
  handleBitmap = handle;
  if (handleBitmap) insetValue = insetForHandle(handleBitmap);
  setDirty(true);
}

void CKnob::draw(CDrawContext* context) {
  if (context && background) {
    CRect dest = viewSize;
    if (transparency)
      background->drawTransparent(context, dest, backgroundOffset);
    else
      background->draw(context, dest, backgroundOffset);
  }
  if (context) drawHandle(context);
  setDirty(false);
}

void CKnob::drawHandle(CDrawContext* context) {
  if (!context) return;
  CPoint where;
  valueToPoint(where);
  where.offset(viewSize.left, viewSize.top);
  if (handleBitmap) {
    const long w = handleBitmap->getWidth();
    const long h = handleBitmap->getHeight();
    CRect dest(where.x - w / 2, where.y - h / 2, where.x - w / 2 + w, where.y - h / 2 + h);
    handleBitmap->drawTransparent(context, dest);
    return;
  }
  // A line from the centre to the handle point, with its shadow one pixel
  // down and right; the context's pen is left as it was found.
  const CPoint centre(viewSize.left + viewSize.width() / 2, viewSize.top + viewSize.width() / 2);
  const long savedWidth = context->lineWidth;
  const CColor savedColor = context->frameColor;
  context->setLineWidth(1);
  context->setFrameColor(colorShadowHandle);
  context->moveTo(CPoint(centre.x + 1, centre.y + 1));
  context->lineTo(CPoint(where.x + 1, where.y + 1));
  context->setFrameColor(colorHandle);
  context->moveTo(centre);
  context->lineTo(where);
  context->setLineWidth(savedWidth);
  context->setFrameColor(savedColor);
}

// ---- input ----

void CKnob::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled()) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;
  if (checkDefaultValue(context, buttons)) return;

  // The host chooses how knobs follow the mouse (the process-wide knob mode):
  // - circular: the knob points where the pointer is, seen from its centre;
  // - relative circular: it turns as much as the pointer turns around the
  //   centre, without jumping to the pointer first;
  // - linear: 200 pixels of travel right or up cover the whole range.
  // Shift makes every mode finer by the zoom factor, and never jumps.
  const long mode = frame ? frame->getKnobMode() : static_cast<long>(kCircularMode);
  const float zoom = zoomFactor > 0.0f ? zoomFactor : 1.0f;
  const float range = vmax - vmin;
  auto linearStep = [&](long state) {
    return range / (state & kModShift ? 200.0f * zoom : 200.0f);
  };

  beginEdit();
  long now = buttons;
  long stepButtons = buttons;  // the state `step` was made for
  bool first = true;
  CPoint last;
  const CPoint origin = where;
  float base = value;
  float step = linearStep(buttons);
  float lastPointed = 0.0f;
  float travel = 0.0f;
  do {
    if (mode == kLinearMode && (now & kModShift) != (stepButtons & kModShift)) {
      // Shift pressed or let go mid-drag: the travel so far keeps its old
      // rate, what follows gets the new one.
      const float newStep = linearStep(now);
      base += (step - newStep) * travel;
      step = newStep;
      stepButtons = now;
    }
    if (first || where != last) {
      last = where;
      if (mode == kLinearMode) {
        travel = static_cast<float>((where.x - origin.x) + (origin.y - where.y));
        value = base + travel * step;
      } else {
        CPoint local(where.x - viewSize.left, where.y - viewSize.top);
        const float pointed = valueFromPoint(local);
        const bool relative = mode == kRelativCircularMode || (now & kModShift);
        const float turn = pointed - lastPointed;
        if (!relative)
          value = pointed;
        else if (!first && std::fabs(turn) <= 0.5f * std::fabs(range))
          // (Passing through the gap swaps one end for the other: not a turn.)
          value += turn * (now & kModShift ? 1.0f / zoom : 1.0f);
        lastPointed = pointed;
      }
      first = false;
      bounceValue();
      if (isDirty() && listener) listener->valueChanged(context, this);
    }
    getMouseLocation(context, where);
    doIdleStuff();
    now = currentButtons(context);
  } while (now & kMouseLeft);
  endEdit();
}

bool CKnob::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  if (!getMouseEnabled()) return false;
  const float units = (currentButtons(context) & kModShift) ? distance * 0.1f : distance;
  value += units * wheelInc;
  bounceValue();
  if (isDirty() && listener) {
    beginEdit();
    listener->valueChanged(context, this);
    endEdit();
  }
  // Consumed even when the knob was already at its end.
  return true;
}

long CKnob::onKeyDown(VstKeyCode& keyCode) {
  float units;
  switch (keyCode.virt) {
    case VKEY_LEFT:
    case VKEY_DOWN:
      units = -1.0f;
      break;
    case VKEY_UP:
    case VKEY_RIGHT:
      units = 1.0f;
      break;
    default:
      return -1;
  }
  if (keyCode.modifier & MODIFIER_SHIFT) units *= 0.1f;
  value += units * wheelInc;
  bounceValue();
  if (isDirty() && listener) {
    beginEdit();
    listener->valueChanged(nullptr, this);
    endEdit();
  }
  return 1;
}
