// A round knob: its value sits on an arc from `startAngle` (the minimum)
// turning by `rangeAngle` (to the maximum). By default the arc starts at the
// lower left (225°) and turns clockwise through the top to the lower right
// (-45°), leaving a gap at the bottom. The wheel and the arrow keys step it.
#pragma once

#include "editor/ccontrol.h"
#include "gui/ccolor.h"

class CKnob : public CControl {
 public:
  CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
        CBitmap* handle, const CPoint& offset = CPoint(0, 0));
  ~CKnob() override;

  // Background, then the handle at the value's angle.
  void draw(CDrawContext* context) override;
  // Turns the knob by dragging, as the host's knob mode says; shift turns
  // it finely.
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  // Arrows step by the wheel increment (a tenth of it with shift).
  long onKeyDown(VstKeyCode& keyCode) override;
  using CView::onWheel;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool isTypeOf(const char* type) const override;

  virtual void drawHandle(CDrawContext* context);

  virtual void setStartAngle(float angle);
  virtual float getStartAngle() const { return startAngle; }
  virtual void setRangeAngle(float angle);
  virtual float getRangeAngle() const { return rangeAngle; }

  // The handle point for the current value, in the view's own pixels
  // (origin at its top-left corner).
  virtual void valueToPoint(CPoint& point) const;
  // The value whose handle lies in the direction of `point` (view pixels)
  // seen from the centre; directions in the gap give the nearer end.
  virtual float valueFromPoint(CPoint& point) const;

  virtual void setInsetValue(long inset) { insetValue = inset; }
  virtual void setColorShadowHandle(CColor color);
  virtual void setColorHandle(CColor color);
  virtual void setHandleBitmap(CBitmap* handle);
  virtual void setZoomFactor(float factor) { zoomFactor = factor; }
  virtual float getZoomFactor() const { return zoomFactor; }

  long getInsetValue() const { return insetValue; }
  CColor getColorHandle() const { return colorHandle; }
  CColor getColorShadowHandle() const { return colorShadowHandle; }
  CBitmap* getHandleBitmap() const { return handleBitmap; }
  float getGapHalfAngle() const { return gapHalfAngle; }
  float getRadius() const { return radius; }

 protected:
  // Derives the value/angle mapping from the angles and the bounds of now;
  // later setMin / setMax leave it as it is.
  void compute();

  CPoint backgroundOffset;
  CColor colorHandle = kWhiteCColor;
  CColor colorShadowHandle = kGreyCColor;
  CBitmap* handleBitmap = nullptr;
  long insetValue = 3;
  float startAngle = 0.0f;
  float rangeAngle = 1.0f;
  float gapHalfAngle = 0.0f;
  float valuePerRadian = 0.0f;
  float valueAtZeroAngle = 0.0f;
  float radius = 0.0f;
  float zoomFactor = 1.5f;
};
