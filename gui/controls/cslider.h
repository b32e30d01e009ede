// A slider: a handle picture moved along a track over a background picture.
//
// Style: kVertical makes it vertical, otherwise it is horizontal. The
// direction bit names the side of the minimum: kLeft (the horizontal
// default) or kRight, kBottom (the vertical default, as on a mixing desk) or
// kTop.
//
// Geometry, in pixels from the control's top-left corner along its axis:
// the handle covers [minPos, maxPos) at most, so its leading (top or left)
// edge travels from minPos to maxPos - handle length; the value maps
// linearly onto that travel, rounded to the nearest pixel. The long form
// gives minPos and maxPos directly and centres the handle across the track;
// the short form gives the handle's top-left corner at the top/left end of
// the track (`offsetHandle`) and the track's length (`range`, handle
// included). The background is drawn from `offset` into its picture (the
// transparency flag choosing keyed drawing); the handle is drawn with its
// key colour left out unless setDrawTransparentHandle(false), so a handle
// picture on a plain ground needs no alpha channel. Nothing of the handle
// is drawn outside the control.
//
// Mouse: a press on the handle drags it and keeps the point where it was
// grabbed under the pointer; a press elsewhere on the track puts the
// handle's centre under the pointer first (the fastest way to a distant
// value) and drags from there. With shift held the handle moves
// `zoomFactor` (10) times slower than the pointer, and a shift-press never
// jumps, so a fine adjustment starts from the current value; letting go of
// shift continues at the full rate without a jump. Ctrl-click puts the
// default value back. The listener hears of every change of value during a
// drag (taking the keyboard focus at the press is not one). The wheel and
// the arrow keys step by the wheel increment (a tenth with shift), up and
// right toward the maximum.
#pragma once

#include "editor/ccontrol.h"

class CSlider : public CControl {
 public:
  CSlider(const CRect& size, CControlListener* listener, long tag, long iMinPos, long iMaxPos,
          CBitmap* handle, CBitmap* background, CPoint& offset, long style = 0);
  CSlider(const CRect& size, CControlListener* listener, long tag, CPoint& offsetHandle,
          long range, CBitmap* handle, CBitmap* background, CPoint& offset, long style = 0);
  ~CSlider() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  long onKeyDown(VstKeyCode& keyCode) override;
  using CView::onWheel;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool isTypeOf(const char* type) const override;

  virtual void setHandle(CBitmap* handle);
  CBitmap* getHandle() const { return pHandle; }
  virtual void setZoomFactor(float factor) { zoomFactor = factor; }
  float getZoomFactor() const { return zoomFactor; }
  virtual void setDrawTransparentHandle(bool state) { drawTransparentHandle = state; }
  bool getDrawTransparentHandle() const { return drawTransparentHandle; }

  bool isVertical() const;
  // The minimum sits at the right or bottom end.
  bool isMinimumAtFarEnd() const;
  // Where the handle is drawn for the current value, in frame coordinates
  // (empty without a handle picture).
  CRect handleRect() const;
  // The leading edge of the handle for `v`, in pixels along the axis from the
  // control's top-left corner.
  long edgeForValue(float v) const;
  // The value that puts the leading edge at `edge`, clamped to the bounds.
  float valueForEdge(float edge) const;

  long getMinPos() const { return minPos; }
  long getMaxPos() const { return maxPos; }
  long getStyle() const { return style; }
  const CPoint& getOffsetHandle() const { return offsetHandle; }
  const CPoint& getOffset() const { return offset; }

 protected:
  long handleLength() const;
  // Pixels the leading edge can travel (0 when the handle fills the track).
  long travel() const;
  // Pointer position along the axis, relative to the control.
  long axisOf(const CPoint& where) const;
  void stepBy(CDrawContext* context, float units);

  CPoint offset;
  CPoint offsetHandle;
  CBitmap* pHandle = nullptr;
  long widthOfSlider = 0;
  long heightOfSlider = 0;
  long minPos;
  long maxPos;
  long style;
  float zoomFactor = 10.0f;
  bool drawTransparentHandle = true;
};

// A CSlider that is always horizontal (minimum at the left unless kRight).
class CHorizontalSlider : public CSlider {
 public:
  CHorizontalSlider(const CRect& size, CControlListener* listener, long tag, long iMinPos,
                    long iMaxPos, CBitmap* handle, CBitmap* background, CPoint& offset,
                    long style = 0);
  CHorizontalSlider(const CRect& size, CControlListener* listener, long tag,
                    CPoint& offsetHandle, long range, CBitmap* handle, CBitmap* background,
                    CPoint& offset, long style = 0);
  ~CHorizontalSlider() override;
  bool isTypeOf(const char* type) const override;
};

// A CSlider that is always vertical (minimum at the bottom unless kTop).
class CVerticalSlider : public CSlider {
 public:
  CVerticalSlider(const CRect& size, CControlListener* listener, long tag, long iMinPos,
                  long iMaxPos, CBitmap* handle, CBitmap* background, CPoint& offset,
                  long style = 0);
  CVerticalSlider(const CRect& size, CControlListener* listener, long tag, CPoint& offsetHandle,
                  long range, CBitmap* handle, CBitmap* background, CPoint& offset,
                  long style = 0);
  ~CVerticalSlider() override;
  bool isTypeOf(const char* type) const override;
};
