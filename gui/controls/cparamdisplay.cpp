#include "gui/controls/cparamdisplay.h"

#include <cstdio>
#include <cstring>

#include "gui/cbitmap.h"

namespace {

// Text keeps this far from the sides, clear of the frame.
constexpr long kTextInset = 2;

}  // namespace

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, const long style)
    : CControl(size, nullptr, 0, background), style(style) {}

CParamDisplay::~CParamDisplay() = default;

bool CParamDisplay::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CParamDisplay") == 0) return true;
  return CControl::isTypeOf(type);
}

// Every look change shows at the next idle.
void CParamDisplay::setFont(CFont font) {
  fontID = font >= kSystemFont && font < kNumStandardFonts ? font : kSystemFont;
  setDirty();
}

void CParamDisplay::setFontColor(CColor color) {
  fontColor = color;
  setDirty();
}

void CParamDisplay::setBackColor(CColor color) {
  backColor = color;
  setDirty();
}

void CParamDisplay::setFrameColor(CColor color) {
  frameColor = color;
  setDirty();
}

void CParamDisplay::setShadowColor(CColor color) {
  shadowColor = color;
  setDirty();
}

void CParamDisplay::setHoriAlign(CHoriTxtAlign align) {
  horiTxtAlign = align == kLeftText || align == kRightText ? align : kCenterText;
  setDirty();
}

void CParamDisplay::setTxtFace(CTxtFace face) {
  txtFace = face;
  setDirty();
}

void CParamDisplay::setStringConvert(StringConvert convert) {
  stringConvert = convert;
  stringConvertWithData = nullptr;
  userData = nullptr;
  setDirty();
}

void CParamDisplay::setStringConvert(StringConvertWithData convert, void* data) {
  stringConvert = nullptr;
  stringConvertWithData = convert;
  userData = data;
  setDirty();
}

void CParamDisplay::setStyle(long newStyle) {
  style = newStyle;
  setDirty();
}

void CParamDisplay::setTextTransparency(bool state) {
  textTransparency = state;
  setDirty();
}

std::string CParamDisplay::valueText() const {
  // Zeroed and terminated whatever the conversion does with the buffer.
  char text[kParamDisplayTextSize] = {};
  if (stringConvertWithData)
    stringConvertWithData(value, text, userData);
  else if (stringConvert)
    stringConvert(value, text);
  else
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
  text[kParamDisplayTextSize - 1] = '\0';
  return text;
}

void CParamDisplay::draw(CDrawContext* context) {
  if (!(style & kNoDrawStyle)) {
    const std::string text = valueText();
    drawText(context, text.c_str());
  }
  setDirty(false);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CBitmap* otherBackground) {
  if (!context || (style & kNoDrawStyle)) return;
  CBitmap* picture = otherBackground ? otherBackground : background;
  if (picture) {
    CRect dest = viewSize;
    if (transparency)
      picture->drawTransparent(context, dest, backOffset);
    else
      picture->draw(context, dest, backOffset);
  } else if (!textTransparency) {
    context->setFillColor(backColor);
    context->fillRect(viewSize);
  }

  if (!(style & kNoFrame)) {
    if (style & (k3DIn | k3DOut)) {
      // Light from the top left: a raised display has its lit edges there,
      // a sunken one its shaded edges.
      const CColor upperLeft = (style & k3DIn) ? shadowColor : frameColor;
      const CColor lowerRight = (style & k3DIn) ? frameColor : shadowColor;
      const long l = viewSize.left, t = viewSize.top, r = viewSize.right - 1,
                 b = viewSize.bottom - 1;
      context->setFrameColor(upperLeft);
      context->moveTo(CPoint(l, b));
      context->lineTo(CPoint(l, t));
      context->lineTo(CPoint(r, t));
      context->setFrameColor(lowerRight);
      context->moveTo(CPoint(r, t + 1));
      context->lineTo(CPoint(r, b));
      context->lineTo(CPoint(l + 1, b));
    } else {
      context->setFrameColor(frameColor);
      context->drawRect(viewSize);
    }
  }

  if (!text || !*text || (style & kNoTextStyle)) return;
  context->setFont(fontID, 0, txtFace);
  CRect textRect = viewSize;
  textRect.inset(kTextInset, 0);
  if (style & kShadowText) {
    CRect shadowRect = textRect;
    shadowRect.offset(1, 1);
    context->setFontColor(shadowColor);
    context->drawString(text, shadowRect, false, horiTxtAlign);
  }
  context->setFontColor(fontColor);
  context->drawString(text, textRect, false, horiTxtAlign);
}
