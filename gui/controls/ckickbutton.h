// A momentary button. While the primary button is held over it, its value is
// the opposite of what it was at the press (0 becomes 1, anything else 0);
// off the control it shows the press value again. Letting go sets it to 0
// and always tells the listener, wherever the pointer is: the release is the
// moment a "kick" is taken. Frame 0 of its strip shows value 0, frame 1
// anything else. Ctrl-click does not reset it (it rests at 0 anyway); it
// kicks like any press.
#pragma once

#include "editor/ccontrol.h"

class CKickButton : public CControl {
 public:
  CKickButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
              CPoint& offset);
  CKickButton(const CRect& size, CControlListener* listener, long tag, long frameHeight,
              CBitmap* background, CPoint& offset);
  ~CKickButton() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  long getFrameHeight() const { return frameHeight; }
  const CPoint& getOffset() const { return offset; }

 protected:
  CPoint offset;
  long frameHeight;
};
