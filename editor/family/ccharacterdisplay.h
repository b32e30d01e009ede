// A view that holds a line of text to show. Every change of the text marks it
// for drawing; the plain display draws only its background, and
// CMovieCharacterDisplay draws the characters from a picture strip.
//
// Justification: 0 left, 1 centred (the initial one), 2 right; any other
// value is kept and draws no characters. With auto-erase (on at first) the
// cells without a character are drawn blank.
#pragma once

#include <string>

#include "gui/cview.h"

class CCharacterDisplay : public CView {
 public:
  enum { kLeftJustified = 0, kCentred = 1, kRightJustified = 2 };

  // `tag` identifies the display to whoever keeps several.
  CCharacterDisplay(const CRect& size, long tag);
  ~CCharacterDisplay() override;

  bool isTypeOf(const char* type) const override;

  // Null counts as the empty text.
  virtual void setDisplayString(const char* text);
  virtual void setDisplayString(const std::string& text);
  // Overwrites as many characters as `text` has, starting at `position`.
  // Writing past the end lengthens the text, with blanks in any gap; a
  // negative position, or one past kMaxTextLength, changes nothing.
  virtual void setDisplayStringAtPosition(const char* text, long position);
  virtual void setDisplayStringAtPosition(const std::string& text, long position);
  virtual void clear();
  // Marks for drawing only when the value changes.
  virtual void setJustification(short newJustification);
  virtual void setAutoErase(bool state);
  // Character cells the display shows; the plain display has no character
  // size and answers 0.
  virtual long getSizeInChars() const { return 0; }

  const std::string& getDisplayString() const { return text; }
  short getJustification() const { return justification; }
  bool getAutoErase() const { return autoErase; }
  long getTag() const { return tag; }

  // Longest text a display keeps through setDisplayStringAtPosition.
  static constexpr long kMaxTextLength = 4096;

 protected:
  std::string text;
  long tag;
  short justification = kCentred;
  bool autoErase = true;
};
