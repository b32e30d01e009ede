#include "gui/cview.h"

#include <cstring>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"

CView::CView(const CRect& size) : viewSize(size), mouseableArea(size) {}

CView::~CView() {
  if (background) background->forget();
  background = nullptr;
}

void CView::draw(CDrawContext* context) {
  if (background && context) {
    CRect dest = viewSize;
    if (transparency)
      background->drawTransparent(context, dest, CPoint(0, 0));
    else
      background->draw(context, dest, CPoint(0, 0));
  }
  setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& updateRect) { draw(context); }

bool CView::checkUpdate(CRect& updateRect) const { return rectTouches(updateRect, viewSize); }

void CView::mouse(CDrawContext* context, CPoint& where, long buttons) {}

void CView::setBackground(CBitmap* picture) {
  // Take the new reference first: the new picture may be the old one.
  if (picture) picture->remember();
  if (background) background->forget();
  background = picture;
  setDirty(true);
}

long CView::onKeyDown(VstKeyCode& keyCode) { return -1; }
long CView::onKeyUp(VstKeyCode& keyCode) { return -1; }

bool CView::onWheel(CDrawContext* context, const CPoint& where, float distance) { return false; }

bool CView::onWheel(CDrawContext* context, const CPoint& where, const CMouseWheelAxis axis,
                    float distance) {
  return onWheel(context, where, distance);
}

bool CView::onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
  return false;
}
void CView::onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) {}
void CView::onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) {}
void CView::onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) {}

void CView::looseFocus(CDrawContext* context) {}
void CView::takeFocus(CDrawContext* context) {}

bool CView::hitTest(const CPoint& where, const long buttons) {
  return mouseableArea.pointInsideClosed(where);
}

void CView::setViewSize(CRect& rect) {
  viewSize = rect;
  setDirty(true);
}

bool CView::removed(CView* parentView) { return true; }
bool CView::attached(CView* parentView) { return true; }

void CView::getMouseLocation(CDrawContext* context, CPoint& where) {
  if (!context) {
    // Nothing to ask: take the frame's pointer and bring it into our parent's
    // coordinates.
    if (frame && frame->getCurrentLocation(where) && parent) parent->frameToLocal(where);
    return;
  }
  if (parent && parent->notify(this, kMsgCheckIfViewContainer) == 1) {
    CRect parentSize;
    parent->getViewSize(parentSize);
    const CPoint saved = context->offset;
    context->offset.offset(parentSize.left, parentSize.top);
    parent->getMouseLocation(context, where);
    context->offset = saved;
    return;
  }
  context->getMouseLocation(where);
}

CPoint& CView::frameToLocal(CPoint& point) const {
  if (parent && parent->notify(const_cast<CView*>(this), kMsgCheckIfViewContainer) == 1)
    return parent->frameToLocal(point);
  return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
  if (parent && parent->notify(const_cast<CView*>(this), kMsgCheckIfViewContainer) == 1)
    return parent->localToFrame(point);
  return point;
}

AEffGUIEditor* CView::getEditor() const { return frame ? frame->getEditor() : nullptr; }

long CView::notify(CView* sender, const char* message) { return 0; }

void CView::redrawRect(CDrawContext* context, const CRect& rect) {
  if (parent)
    parent->redrawRect(context, rect);
  else if (frame)
    frame->drawRect(context, rect);
}

bool CView::isTypeOf(const char* type) const { return type && std::strcmp(type, "CView") == 0; }

void CView::update(CDrawContext* context) {
  if (isDirty()) {
    if (context)
      redrawRect(context, viewSize);
    else if (frame)
      frame->draw(this);
    setDirty(false);
  }
}

void CView::redraw() {
  if (frame) frame->draw(this);
}

bool CView::setAttribute(const long id, const long size, const void* data) {
  if (size < 0 || (size > 0 && !data)) return false;
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::vector<unsigned char> copy(bytes, bytes + size);
  for (Attribute& attribute : attributes) {
    if (attribute.id == id) {
      attribute.data = std::move(copy);
      return true;
    }
  }
  attributes.push_back(Attribute{id, std::move(copy)});
  return true;
}

bool CView::getAttributeSize(const long id, long& size) const {
  for (const Attribute& attribute : attributes) {
    if (attribute.id == id) {
      size = static_cast<long>(attribute.data.size());
      return true;
    }
  }
  return false;
}

bool CView::getAttribute(const long id, const long inSize, void* data, long& outSize) const {
  for (const Attribute& attribute : attributes) {
    if (attribute.id != id) continue;
    const long stored = static_cast<long>(attribute.data.size());
    if (inSize < stored || (stored > 0 && !data)) return false;
    if (stored > 0) std::memcpy(data, attribute.data.data(), static_cast<size_t>(stored));
    outSize = stored;
    return true;
  }
  return false;
}

bool CView::removeAttribute(const long id) {
  for (auto it = attributes.begin(); it != attributes.end(); ++it) {
    if (it->id == id) {
      attributes.erase(it);
      return true;
    }
  }
  return false;
}
