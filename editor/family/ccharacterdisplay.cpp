#include "editor/family/ccharacterdisplay.h"

#include <algorithm>
#include <cstring>

CCharacterDisplay::CCharacterDisplay(const CRect& size, long tag) : CView(size), tag(tag) {}

CCharacterDisplay::~CCharacterDisplay() = default;

bool CCharacterDisplay::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CCharacterDisplay") == 0) return true;
  return CView::isTypeOf(type);
}

void CCharacterDisplay::setDisplayString(const char* newText) {
  text = newText ? newText : "";
  setDirty(true);
}

void CCharacterDisplay::setDisplayString(const std::string& newText) {
  text = newText;
  setDirty(true);
}

void CCharacterDisplay::setDisplayStringAtPosition(const char* newText, long position) {
  setDisplayStringAtPosition(std::string(newText ? newText : ""), position);
}

void CCharacterDisplay::setDisplayStringAtPosition(const std::string& newText, long position) {
  if (position < 0 || position > kMaxTextLength) return;
  const size_t start = static_cast<size_t>(position);
  const size_t length = std::min(newText.size(), static_cast<size_t>(kMaxTextLength) - start);
  if (text.size() < start + length) text.resize(start + length, ' ');
  text.replace(start, length, newText, 0, length);
  setDirty(true);
}

void CCharacterDisplay::clear() {
  text.clear();
  setDirty(true);
}

void CCharacterDisplay::setJustification(short newJustification) {
  if (newJustification == justification) return;
  justification = newJustification;
  setDirty(true);
}

void CCharacterDisplay::setAutoErase(bool state) {
  if (state == autoErase) return;
  autoErase = state;
  // What the cells without characters show changes.
  setDirty(true);
}
