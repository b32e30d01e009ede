#include "gui/controls/ctextedit.h"

#include <cstring>

#include "gui/cframe.h"
#include "gui/platform/platform_text_field.h"

namespace {

PlatformColor toPlatform(const CColor& c) { return PlatformColor{c.red, c.green, c.blue, c.alpha}; }

// Whole characters only: cutting inside a UTF-8 sequence would leave a
// broken one at the end.
std::string clipped(const char* input) {
  std::string text = input ? input : "";
  if (text.size() < kParamDisplayTextSize) return text;
  size_t cut = kParamDisplayTextSize - 1;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  return text;
}

}  // namespace

CTextEdit::CTextEdit(const CRect& size, CControlListener* listener, long tag, const char* initial,
                     CBitmap* background, const long style)
    : CParamDisplay(size, background, style), text(clipped(initial)) {
  this->listener = listener;
  this->tag = tag;
  setWantsFocus(true);
}

CTextEdit::~CTextEdit() = default;

bool CTextEdit::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CTextEdit") == 0) return true;
  return CParamDisplay::isTypeOf(type);
}

void CTextEdit::setText(const char* newText) {
  text = clipped(newText);
  setDirty();
}

void CTextEdit::getText(char* out) const {
  if (!out) return;
  std::memcpy(out, text.c_str(), text.size() + 1);
}

void CTextEdit::setTextEditConvert(EditConvert convert) {
  editConvert = convert;
  editConvertWithData = nullptr;
  editConvertData = nullptr;
}

void CTextEdit::setTextEditConvert(EditConvertWithData convert, void* userData) {
  editConvert = nullptr;
  editConvertWithData = convert;
  editConvertData = userData;
}

std::string CTextEdit::convertInput(const std::string& input) const {
  if (!editConvert && !editConvertWithData) return clipped(input.c_str());
  char in[kParamDisplayTextSize] = {};
  char out[kParamDisplayTextSize] = {};
  const std::string source = clipped(input.c_str());
  std::memcpy(in, source.c_str(), source.size() + 1);
  if (editConvertWithData)
    editConvertWithData(in, out, editConvertData);
  else
    editConvert(in, out);
  out[kParamDisplayTextSize - 1] = '\0';
  return clipped(out);
}

void CTextEdit::draw(CDrawContext* context) {
  drawText(context, text.c_str());
  setDirty(false);
}

void CTextEdit::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled() || editing) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft)) return;

  std::string edited = text;
  editing = true;
  const bool committed = runTextField(edited);
  editing = false;
  if (!committed) return;
  text = convertInput(edited);
  setDirty();
  beginEdit();
  if (listener) listener->valueChanged(context, this);
  endEdit();
}

bool CTextEdit::runTextField(std::string& edited) {
  if (!frame || !frame->getPlatformWindow()) return false;
  CPoint corner(viewSize.left, viewSize.top);
  localToFrame(corner);
  PlatformTextFieldStyle look;
  // A context of its own answers the font size without touching the frame's.
  auto* measure = new CDrawContext(nullptr, static_cast<PlatformSurface*>(nullptr));
  measure->setFont(fontID, 0, txtFace);
  look.fontSize = static_cast<double>(measure->getFontSize());
  measure->forget();
  look.bold = (txtFace & kBoldFace) != 0;
  look.italic = (txtFace & kItalicFace) != 0;
  look.text = toPlatform(fontColor);
  look.back = toPlatform(backColor);
  look.frame = toPlatform(frameColor);
  return platformTextFieldRun(frame->getPlatformWindow(), corner.x, corner.y, viewSize.width(),
                              viewSize.height(), look,
                              edited) == PlatformTextFieldOutcome::committed;
}
