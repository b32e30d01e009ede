// An integer shown as digit pictures, like an odometer.
//
// Digit layout: the picture is a vertical strip of the ten digits 0 to 9,
// each `width` × `height` pixels (digit d starts at row d × height). The
// number has `numbers` digit places (at most kMaxDigits), the most
// significant first, and place i is drawn with its top-left corner at
// (xpos[i], ypos[i]) from the control's top-left corner. Without position
// arrays the places sit side by side from the left edge. Leading zeros are
// shown: a fixed-width counter reads better than one whose digits jump.
//
// The value is the number itself (not a fraction): it is rounded to the
// nearest integer and kept within 0 .. 10^numbers - 1, the largest number
// the places can show; a NaN shows 0. The control takes no input.
#pragma once

#include "editor/ccontrol.h"

class CSpecialDigit : public CControl {
 public:
  static constexpr long kMaxDigits = 10;

  CSpecialDigit(const CRect& size, CControlListener* listener, long tag, long dwPos,
                long numbers, long* xpos, long* ypos, long width, long height,
                CBitmap* background);
  ~CSpecialDigit() override;

  void draw(CDrawContext* context) override;
  // Display only.
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  // The number drawn for the current value.
  long long shownNumber() const;
  // The digit drawn at place `index` (0 = most significant), -1 outside.
  long digitAt(long index) const;

  long getNumbers() const { return numbers; }
  long getDigitWidth() const { return width; }
  long getDigitHeight() const { return height; }
  CPoint getPosition(long index) const;

 protected:
  long numbers;
  long xpos[kMaxDigits];
  long ypos[kMaxDigits];
  long width;
  long height;
};
