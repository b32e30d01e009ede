#include "editor/bramble_frame.h"

#include "gui/cdrawcontext.h"

brambleFrame::brambleFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor)
    : CFrame(size, systemWindow, editor), highlightedView(nullptr) {}

brambleFrame::~brambleFrame() { highlightedView = nullptr; }

void brambleFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
  CFrame::drawRect(context, updateRect);
  drawHighlight(context);
}

void brambleFrame::draw(CDrawContext* context) {
  if (context) {
    CFrame::draw(context);
    drawHighlight(context);
    return;
  }
  CDrawContext* made = createDrawContext();
  CFrame::draw(made);
  drawHighlight(made);
  made->forget();
}

void brambleFrame::drawHighlight(CDrawContext* context) {
  if (!highlightedView || !context) return;
  // A view taken out of the frame since it was marked is no longer ours to
  // draw around (and may be gone).
  if (!isChild(highlightedView)) {
    highlightedView = nullptr;
    return;
  }
  CRect outline;
  highlightedView->getViewSize(outline);
  // Drawn under the caller's clip, so an idle update of the marked control
  // draws the whole outline and one of a neighbour leaves it alone.
  const long savedWidth = context->getLineWidth();
  const CColor savedColor = context->getFrameColor();
  context->setLineWidth(1);
  context->setFrameColor(CColor{255, 255, 255, 255});
  context->drawRect(outline, kDrawStroked);
  context->setLineWidth(savedWidth);
  context->setFrameColor(savedColor);
}
