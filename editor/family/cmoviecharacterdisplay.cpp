#include "editor/family/cmoviecharacterdisplay.h"

#include <algorithm>
#include <cstring>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"

CMovieCharacterDisplay::CMovieCharacterDisplay(const CRect& size, long tag, CBitmap* characterStrip)
    : CCharacterDisplay(size, tag), characterStrip(characterStrip) {
  if (characterStrip) {
    characterStrip->remember();
    characterWidth = std::max(characterStrip->getWidth(), 0L);
    characterHeight = std::max(characterStrip->getHeight() / kStripFrames, 0L);
  }
  if (characterWidth > 0) sizeInChars = std::max(size.width() / characterWidth, 0L);
  setTransparency(true);
  setDisplayString("JUNKYARD");
}

CMovieCharacterDisplay::~CMovieCharacterDisplay() {
  if (characterStrip) characterStrip->forget();
}

bool CMovieCharacterDisplay::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CMovieCharacterDisplay") == 0) return true;
  return CCharacterDisplay::isTypeOf(type);
}

void CMovieCharacterDisplay::drawCharacter(CDrawContext* context, long k, unsigned char c) {
  const long frame = c >= 32 && c <= 126 ? c - 32 : 0;
  CRect dest(viewSize.left + k * characterWidth, viewSize.top,
             viewSize.left + (k + 1) * characterWidth, viewSize.top + characterHeight);
  const CPoint source(0, frame * characterHeight);
  if (transparency)
    characterStrip->drawTransparent(context, dest, source);
  else
    characterStrip->draw(context, dest, source);
}

void CMovieCharacterDisplay::draw(CDrawContext* context) {
  setDirty(false);
  // A strip shorter than 95 rows has no whole character to show.
  if (!characterStrip || !context || characterHeight <= 0 || sizeInChars <= 0) return;
  const long size = sizeInChars;
  const long n = static_cast<long>(std::min(text.size(), static_cast<size_t>(size)));
  const auto at = [this](long i) {
    return static_cast<unsigned char>(text[static_cast<size_t>(i)]);
  };
  switch (justification) {
    case kLeftJustified:
      for (long k = 0; k < n; ++k) drawCharacter(context, k, at(k));
      if (autoErase)
        for (long k = n; k < size; ++k) drawCharacter(context, k, ' ');
      break;
    case kCentred: {
      if (autoErase)
        for (long k = 0; k < size; ++k) drawCharacter(context, k, ' ');
      const long s = getCentreCell() - n / 2;
      for (long k = 0; k < n; ++k) drawCharacter(context, s + k, at(k));
      break;
    }
    case kRightJustified: {
      // The last n characters, the last one in the last cell.
      const long first = static_cast<long>(text.size()) - n;
      for (long k = 0; k < n; ++k) drawCharacter(context, size - n + k, at(first + k));
      if (autoErase)
        for (long k = size - n - 1; k >= 0; --k) drawCharacter(context, k, ' ');
      break;
    }
    default:
      break;
  }
}
