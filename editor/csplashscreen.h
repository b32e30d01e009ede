// The about box: a small hot spot that, when clicked, grows into a modal view
// showing its picture over a larger rectangle; the next click anywhere in
// that rectangle shrinks it back and has the whole window redrawn.
#pragma once

#include "editor/ccontrol.h"

class CSplashScreen : public CControl {
 public:
  CSplashScreen(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                CRect& displayRect, CPoint& offset);
  ~CSplashScreen() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  // Only the left button opens and closes it (-1, "not given", counts as left).
  bool hitTest(const CPoint& where, const long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  // Closes the picture without a click and without a report.
  virtual void unSplash();

  // Alpha for drawing the picture; anything below 255 draws it blended.
  void setBitmapTransparency(unsigned char alpha);
  unsigned char getBitmapTransparency() const { return bitmapTransparency; }
  const CRect& getDisplayRect() const { return displayRect; }
  const CRect& getSavedSize() const { return savedSize; }
  const CPoint& getDisplayOffset() const { return displayOffset; }

 protected:
  CRect displayRect;
  CRect savedSize;
  CPoint displayOffset;
  unsigned char bitmapTransparency = 255;

 private:
  // Back to the hot spot and no longer modal; `report` tells the listener.
  void close(CDrawContext* context, bool report);

  // The hot spot's rectangle is in savedSize (the picture was shown as the
  // frame's modal view) and must be put back on closing.
  bool sizeSaved = false;
};
