#include "gui/controls/ctextlabel.h"

#include <cstring>

CTextLabel::CTextLabel(const CRect& size, const char* initial, CBitmap* background,
                       const long style)
    : CParamDisplay(size, background, style), text(initial ? initial : "") {}

CTextLabel::~CTextLabel() = default;

bool CTextLabel::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CTextLabel") == 0) return true;
  return CParamDisplay::isTypeOf(type);
}

void CTextLabel::setText(const char* newText) {
  text = newText ? newText : "";
  setDirty();
}

void CTextLabel::draw(CDrawContext* context) {
  drawText(context, text.c_str());
  setDirty(false);
}
