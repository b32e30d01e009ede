// Shows a signed decimal number (the control's value) from a strip of digit
// pictures. The strip holds frames of digitHeight pixels stacked top to
// bottom: 0 to 9 for the digits, then 10 the minus sign, 11 the plus sign
// and 12 the decimal point. A strip with fewer frames simply leaves the
// cells of the missing ones undrawn (the background shows there).
//
// Cells sit in one row from the control's top-left corner, each digitWidth
// wide with `spacing` pixels between neighbours: the sign cell (while the
// sign is used: minus below 0, plus otherwise), `digits` integer digits
// with leading zeros, then, with fractional digits, the point cell and the
// fractional digits. The number shown is the value rounded to the
// fractional digits; values beyond ±(10^digits − 1) show as that limit,
// NaN as 0. The constructor keeps the initial value within that range and
// sets it as the control's bounds (vmin, vmax). The sign is shown at first.
// Negative sizes and spacing count as 0 (a cell without size draws nothing).
// Display only: presses are left alone.
#pragma once

#include "editor/ccontrol.h"

class CDecimalDigit : public CControl {
 public:
  enum { kMinusFrame = 10, kPlusFrame = 11, kPointFrame = 12 };
  static constexpr int kMaxDigits = 9;
  static constexpr int kMaxFracDigits = 6;

  // `digits` is kept within 1..kMaxDigits.
  CDecimalDigit(const CRect& size, CControlListener* listener, long tag, long initialValue,
                int digits, int spacing, long digitWidth, long digitHeight, CBitmap* digitStrip);
  ~CDecimalDigit() override;

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* type) const override;

  // Kept within 0..kMaxFracDigits; marks for drawing.
  virtual void setFracDigits(int count);
  // Marks for drawing.
  virtual void useSign(bool state);

  int getDigits() const { return digits; }
  int getFracDigits() const { return fracDigits; }
  bool getUseSign() const { return signShown; }
  // The strip frame of each cell, left to right, for the current value.
  int cellFrames(int* frames, int capacity) const;
  // The cell count of the current layout.
  int cellCount() const;

 protected:
  CRect cellRect(int k) const;

  int digits;
  int fracDigits = 0;
  bool signShown = true;
  long spacing;
  long digitWidth;
  long digitHeight;
};
