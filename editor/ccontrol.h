// A control: a view that holds a value, reacts to the user and reports what
// the user changed to its listener. Values set from outside (the effect
// moving a knob) are only stored; the frame notices at idle that the value
// differs from the one last drawn and redraws the control then.
#pragma once

#include "gui/cbuttons.h"
#include "gui/cview.h"

class CControl;

// Receives a control's reports. Only user actions report: setValue never does.
class CControlListener {
 public:
  virtual void valueChanged(CDrawContext* context, CControl* control) = 0;
  // A press carrying a modifier is offered here first; non-zero means the
  // listener has handled it and the control must do nothing more.
  virtual long controlModifierClicked(CDrawContext* context, CControl* control, long button) {
    return 0;
  }

 protected:
  // Listeners are never owned or deleted through this interface.
  ~CControlListener() = default;
};

class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener = nullptr, long tag = 0,
           CBitmap* background = nullptr);
  ~CControl() override;

  void draw(CDrawContext* context) override = 0;
  // Due for drawing while the value differs from the one last drawn
  // (NaN differs from everything) or the view was marked.
  bool isDirty() const override;
  // Marking moves the drawn value away from the current one; clearing
  // records the current one as drawn.
  void setDirty(const bool state = true) override;
  bool isTypeOf(const char* type) const override;

  // Keeps the window drawn and the host running inside a mouse loop.
  virtual void doIdleStuff();

  // A plain store: no clamping, no drawing, no report. The editor calls it
  // for parameter changes made elsewhere.
  virtual void setValue(float newValue) { value = newValue; }
  virtual float getValue() const { return value; }
  virtual void setMin(float newMin) { vmin = newMin; }
  virtual float getMin() const { return vmin; }
  virtual void setMax(float newMax) { vmax = newMax; }
  virtual float getMax() const { return vmax; }
  virtual void setOldValue(float newOldValue) { oldValue = newOldValue; }
  virtual float getOldValue() const { return oldValue; }
  virtual void setDefaultValue(float newDefault) { defaultValue = newDefault; }
  virtual float getDefaultValue() const { return defaultValue; }
  virtual void setTag(long newTag) { tag = newTag; }
  virtual long getTag() const { return tag; }

  // An edit gesture on the parameter `tag` begins / ends: the host hears of
  // it through the frame and the editor, so it can group the automation.
  virtual void beginEdit();
  virtual void endEdit();

  virtual void setBackOffset(CPoint& offset) { backOffset = offset; }
  virtual void copyBackOffset();

  virtual void setWheelInc(float increment) { wheelInc = increment; }
  virtual float getWheelInc() const { return wheelInc; }

  // Brings the value back into [vmin, vmax].
  virtual void bounceValue();
  // A command-click (exactly left button + command) puts the default value
  // back, as one edit gesture; true when it did.
  virtual bool checkDefaultValue(CDrawContext* context, long button);

  // The second of two presses within the double-click interval.
  bool isDoubleClick();

  CControlListener* getListener() const { return listener; }
  void setListener(CControlListener* newListener) { listener = newListener; }
  const CPoint& getBackOffset() const { return backOffset; }
  long getDoubleClickDelta() const { return doubleClickDelta; }

 protected:
  // The button-state word now: from the context's pointer, else the frame's.
  long currentButtons(CDrawContext* context);
  // Offers a modified press to the listener; true when the listener took it.
  bool offerModifierClick(CDrawContext* context, long buttons);

  CControlListener* listener;
  long tag;
  float oldValue = 1.0f;
  float defaultValue = 0.5f;
  float value = 0.0f;
  float vmin = 0.0f;
  float vmax = 1.0f;
  float wheelInc = 0.1f;
  long lastTicks = -1;
  long doubleClickDelta;
  CPoint backOffset;
};
