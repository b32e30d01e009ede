// A character display drawn from a character strip: 95 frames stacked
// vertically, one for every printable character from space (32) to tilde
// (126). The characters sit in a row of character-sized cells from the
// control's top-left corner. Characters outside 32..126 show as blanks
// (frame 0), so no part of the picture outside the strip is ever read.
// The strip is drawn transparently; a new display shows "JUNKYARD".
#pragma once

#include "editor/family/ccharacterdisplay.h"

class CBitmap;
class CDrawContext;

class CMovieCharacterDisplay : public CCharacterDisplay {
 public:
  static constexpr long kStripFrames = 95;

  CMovieCharacterDisplay(const CRect& size, long tag, CBitmap* characterStrip);
  ~CMovieCharacterDisplay() override;

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* type) const override;

  // Control width / character width.
  long getSizeInChars() const override { return sizeInChars; }
  long getCharacterWidth() const { return characterWidth; }
  long getCharacterHeight() const { return characterHeight; }
  long getCentreCell() const { return sizeInChars / 2; }

 protected:
  // Character `c` (a blank for anything unprintable) into cell `k`.
  void drawCharacter(CDrawContext* context, long k, unsigned char c);

  CBitmap* characterStrip;
  long characterWidth = 0;
  long characterHeight = 0;
  long sizeInChars = 0;
};
