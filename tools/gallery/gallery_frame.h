// The gallery's frame. The gallery has no host editor to keep the panel
// drawn while a control holds the mouse, so the frame does that itself.
#pragma once

#include "gui/cframe.h"

namespace gallery {

class GalleryFrame : public CFrame {
 public:
  using CFrame::CFrame;

  // Called over and over by a control's mouse loop: waits a moment for the
  // window instead of spinning, then redraws what the drag changed. The
  // redraw also records each control's value as shown, which is what keeps
  // a control from reporting the same value again on the next pass.
  void doIdleStuff() override {
    waitForEvents(4);
    idle();
    CFrame::doIdleStuff();
  }
};

}  // namespace gallery
