// A level meter built from two pictures of the whole meter, one with every
// segment lit and one with every segment dark: the lit picture is drawn up to
// the level, the dark one beyond it. kHorizontal fills from the left;
// otherwise (kVertical, the default) it fills from the bottom.
//
// The level is the value (0..1; NaN and values below 0 show nothing, values
// above 1 a full meter) rounded to whole segments: with n segments the lit
// length is round(level × n) × length / n pixels. With fewer than one
// segment the meter has no steps and lights whole pixels instead (rounded
// the same way, each pixel a segment).
//
// A rising level shows at once; a falling one drops by `decreaseValue` (0.1)
// per drawing, so peaks stay readable. While it still shows more segments
// than the value lights, the meter counts as due for drawing, so the frame
// keeps redrawing it at idle until it shows the value. With setUseOffscreen(true) it is composed in an
// offscreen picture (starting from what is under it) and put on the screen
// in one copy, which avoids flicker on windows that show drawing as it
// happens. The meter takes no input.
#pragma once

#include "editor/ccontrol.h"

class CVuMeter : public CControl {
 public:
  CVuMeter(const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, long nbLed, long style);
  ~CVuMeter() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isDirty() const override;
  bool isTypeOf(const char* type) const override;

  virtual void setOnBitmap(CBitmap* bitmap);
  virtual void setOffBitmap(CBitmap* bitmap);
  CBitmap* getOnBitmap() const { return onBitmap; }
  CBitmap* getOffBitmap() const { return offBitmap; }
  virtual void setDecreaseStepValue(float step) { decreaseValue = step; }
  float getDecreaseStepValue() const { return decreaseValue; }
  virtual void setUseOffscreen(bool state) { useOffscreen = state; }
  bool getUseOffscreen() const { return useOffscreen; }

  long getNbLed() const { return nbLed; }
  long getStyle() const { return style; }
  // The level of the last drawing (0..1, before rounding to segments).
  float getShownLevel() const { return shownLevel; }
  // Lit pixels along the meter for a level (0..1).
  long litLength(float level) const;

 protected:
  bool isHorizontal() const;
  // The value as a level in [0, 1].
  float targetLevel() const;
  // Draws the meter for `level` at `area` (the context's coordinates).
  void drawMeter(CDrawContext* context, const CRect& area, float level);

  CBitmap* onBitmap = nullptr;
  CBitmap* offBitmap = nullptr;
  long nbLed;
  long style;
  float decreaseValue = 0.1f;
  float shownLevel = 0.0f;
  bool useOffscreen = false;
};
