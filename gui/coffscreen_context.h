// A drawing context over a bitmap of its own: draw there, then copy to a
// context on screen.
#pragma once

#include "gui/cdrawcontext.h"

class CBitmap;

class COffscreenContext : public CDrawContext {
 public:
  // A new bitmap of that size, filled with `background`.
  COffscreenContext(CFrame* frame, long width, long height,
                    const CColor background = kBlackCColor);
  // Draws into an existing bitmap (which it remembers): `drawInBitmap` starts
  // from its current pixels, otherwise they are cleared to transparent.
  COffscreenContext(CDrawContext* context, CBitmap* bitmap, bool drawInBitmap = false);
  ~COffscreenContext() override;

  CBitmap* getBitmap() override { return bitmap; }
  void releaseBitmap() override;

  // Puts the part of our pixels that starts at `source` on `context`, at
  // `destination` (shifted by that context's offset, clipped to its clip).
  void copyFrom(CDrawContext* context, CRect destination, CPoint source = CPoint(0, 0));
  // Fills the rectangle `destination` of our pixels from `context`'s pixels
  // starting at `source` (that context's offset applied).
  void copyTo(CDrawContext* context, CRect& destination, CPoint source = CPoint(0, 0));

  long getWidth() const { return width; }
  long getHeight() const { return height; }

 protected:
  CBitmap* bitmap = nullptr;
  long width = 0;
  long height = 0;
  CColor backgroundColor = kBlackCColor;
};
