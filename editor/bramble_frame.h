// The editor's frame: a plain frame that also outlines one view in white,
// the control waiting for a MIDI controller to be learned.
#pragma once

#include "gui/cframe.h"

class brambleFrame : public CFrame {
 public:
  brambleFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor);
  ~brambleFrame() override;

  // Draws as a frame does, then the outline of the marked view over it.
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  // A whole-window drawing (the about box closing, the host asking for
  // everything) keeps the outline too, so a control still waiting for its
  // controller never loses its mark.
  void draw(CDrawContext* context) override;
  using CFrame::draw;

  // Not owned: one of the frame's own views, or null for no mark.
  CView* getHighlightedView() const { return highlightedView; }
  void setHighlightedView(CView* view) { highlightedView = view; }

 protected:
  void drawHighlight(CDrawContext* context);

  CView* highlightedView = nullptr;
};
