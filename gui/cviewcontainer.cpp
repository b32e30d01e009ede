#include "gui/cviewcontainer.h"

#include <cstring>

#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/cframe.h"
#include "gui/coffscreen_context.h"

namespace {

bool isContainer(CView* view) { return view->notify(nullptr, kMsgCheckIfViewContainer) == 1; }

// A view (and, for a container, everything in it) now belongs to `frame`.
void assignFrame(CView* view, CFrame* frame) {
  view->setFrame(frame);
  if (!isContainer(view)) return;
  auto* container = static_cast<CViewContainer*>(view);
  for (long i = 0, n = container->getNbViews(); i < n; ++i) assignFrame(container->getView(i), frame);
}

// The container's area in its own coordinates.
CRect localArea(const CRect& viewSize) { return CRect(0, 0, viewSize.width(), viewSize.height()); }

}  // namespace

CViewContainer::CCView::CCView(CView* view) : pView(view) { pView->remember(); }
CViewContainer::CCView::~CCView() { pView->forget(); }

CViewContainer::CViewContainer(const CRect& size, CFrame* frame, CBitmap* background)
    : CView(size) {
  this->frame = frame;
  setBackground(background);
}

CViewContainer::~CViewContainer() {
  removeAll(true);
  if (offscreenContext) offscreenContext->forget();
  offscreenContext = nullptr;
}

// ---- the list of children ----

void CViewContainer::addView(CView* view) {
  if (!view) return;
  auto* entry = new CCView(view);
  view->setFrame(frame);
  view->setParentView(this);
  entry->pPrevious = lastChild;
  if (lastChild)
    lastChild->pNext = entry;
  else
    firstChild = entry;
  lastChild = entry;
  view->attached(this);
  view->setDirty(true);
}

void CViewContainer::addView(CView* view, CRect& mouseableArea, bool mouseEnabled) {
  if (!view) return;
  view->setMouseableArea(mouseableArea);
  view->setMouseEnabled(mouseEnabled);
  addView(view);
}

void CViewContainer::unlink(CCView* entry) {
  if (entry->pPrevious)
    entry->pPrevious->pNext = entry->pNext;
  else
    firstChild = entry->pNext;
  if (entry->pNext)
    entry->pNext->pPrevious = entry->pPrevious;
  else
    lastChild = entry->pPrevious;
  entry->pNext = entry->pPrevious = nullptr;
}

void CViewContainer::release(CCView* entry, bool withForget) {
  CView* view = entry->pView;
  if (frame && frame->getFocusView() == view) frame->setFocusView(nullptr);
  view->removed(this);
  unlink(entry);
  // A view that is in the list twice (a child that became the modal view)
  // stays ours through its other entry.
  const bool stillChild = isChild(view);
  if (!stillChild) {
    if (currentDragView == view) currentDragView = nullptr;
    // A view someone else keeps alive must not point into a tree it left.
    view->setParentView(nullptr);
    assignFrame(view, nullptr);
  }
  if (withForget) view->forget();
  delete entry;  // the list's own reference
  // The frame must not keep a modal view that is gone from it.
  if (!stillChild && frame && static_cast<CView*>(frame) == this && frame->getModalView() == view)
    frame->setModalView(nullptr);
}

void CViewContainer::removeView(CView* view, const bool& withForget) {
  if (!view) return;
  for (CCView* entry = firstChild; entry; entry = entry->pNext) {
    if (entry->pView == view) {
      release(entry, withForget);
      return;
    }
  }
}

void CViewContainer::removeAll(const bool& withForget) {
  while (firstChild) release(firstChild, withForget);
}

bool CViewContainer::isChild(CView* view) const {
  for (CCView* entry = firstChild; entry; entry = entry->pNext)
    if (entry->pView == view) return true;
  return false;
}

long CViewContainer::getNbViews() const {
  long count = 0;
  for (CCView* entry = firstChild; entry; entry = entry->pNext) ++count;
  return count;
}

CView* CViewContainer::getView(long index) const {
  if (index < 0) return nullptr;
  for (CCView* entry = firstChild; entry; entry = entry->pNext)
    if (index-- == 0) return entry->pView;
  return nullptr;
}

bool CViewContainer::isDescendant(const CView* view) const {
  for (const CView* up = view ? view->getParentView() : nullptr; up; up = up->getParentView())
    if (up == this) return true;
  return false;
}

// ---- drawing ----

void CViewContainer::useOffscreen(bool state) {
  drawInOffscreen = state;
  if (!state && offscreenContext) {
    offscreenContext->forget();
    offscreenContext = nullptr;
  }
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, CRect& rect) {
  if (!context) return;
  if (background) {
    CRect oldClip;
    context->getClipRect(oldClip);
    CRect clip = rect;
    clip.bound(oldClip);
    context->setClipRect(clip);
    CRect dest(0, 0, background->getWidth(), background->getHeight());
    if (transparency)
      background->drawTransparent(context, dest, backgroundOffset);
    else
      background->draw(context, dest, backgroundOffset);
    context->setClipRect(oldClip);
  } else if (!transparency) {
    const CColor saved = context->fillColor;
    context->setFillColor(backgroundColor);
    context->fillRect(rect);
    context->setFillColor(saved);
  }
}

CDrawContext* CViewContainer::beginDrawing(CDrawContext* context, CPoint& savedOffset) {
  savedOffset = context->offset;
  if (drawInOffscreen) {
    if (!offscreenContext)
      offscreenContext = new COffscreenContext(frame, viewSize.width(), viewSize.height(), kBlackCColor);
    return offscreenContext;
  }
  context->offset.offset(viewSize.left, viewSize.top);
  return context;
}

void CViewContainer::finishDrawing(CDrawContext* context, const CPoint& savedOffset,
                                   const CRect& area, const CRect& local) {
  if (drawInOffscreen && offscreenContext)
    offscreenContext->copyFrom(context, area, CPoint(local.left, local.top));
  else
    context->offset = savedOffset;
}

void CViewContainer::draw(CDrawContext* context) {
  if (!context) return;
  CPoint savedOffset;
  CDrawContext* target = beginDrawing(context, savedOffset);
  CRect local = localArea(viewSize);
  CRect oldClip;
  target->getClipRect(oldClip);
  CRect clip = local;
  clip.bound(oldClip);
  target->setClipRect(clip);
  drawBackgroundRect(target, local);
  for (CCView* entry = firstChild; entry; entry = entry->pNext) {
    CRect childClip;
    entry->pView->getViewSize(childClip);
    childClip.bound(clip);
    target->setClipRect(childClip);
    entry->pView->draw(target);
  }
  target->setClipRect(oldClip);
  finishDrawing(context, savedOffset, viewSize, local);
  setDirty(false);
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
  if (!context) return;
  CPoint savedOffset;
  CDrawContext* target = beginDrawing(context, savedOffset);
  CRect area = updateRect;
  area.bound(viewSize);
  CRect local = area;
  local.offset(-viewSize.left, -viewSize.top);
  CRect oldClip;
  target->getClipRect(oldClip);
  CRect clip = local;
  clip.bound(oldClip);
  target->setClipRect(clip);
  drawBackgroundRect(target, local);
  const bool scrolling = isTypeOf("CScrollContainer");
  for (CCView* entry = firstChild; entry; entry = entry->pNext) {
    CView* child = entry->pView;
    if (!child->checkUpdate(local)) continue;
    CRect childRect;
    child->getViewSize(childRect);
    CRect childClip = childRect;
    childClip.bound(clip);
    if (childClip.isEmpty()) continue;
    target->setClipRect(childClip);
    const bool wasDirty = child->isDirty();
    child->drawRect(target, local);
    // Only part of it was drawn: the rest is still due.
    if (wasDirty && childClip != childRect && !scrolling) child->setDirty(true);
  }
  target->setClipRect(oldClip);
  finishDrawing(context, savedOffset, area, local);
  setDirty(false);
}

void CViewContainer::redrawRect(CDrawContext* context, const CRect& rect) {
  CRect area = rect;
  area.offset(viewSize.left, viewSize.top);
  if (transparency) {
    // What lies behind us shows through: the parent draws the area.
    if (parent)
      parent->redrawRect(context, area);
    else if (frame)
      frame->drawRect(context, area);
    return;
  }
  if (!context) return;
  const CPoint saved = context->offset;
  if (parent) {
    // Draw as our parent would: from its origin in the frame.
    CPoint origin(0, 0);
    parent->localToFrame(origin);
    context->offset = origin;
  }
  drawRect(context, area);
  context->offset = saved;
}

void CViewContainer::update(CDrawContext* context) {
  if (!isDirty()) return;
  if (mode == kNormalUpdate || dirty) {
    if (context)
      redrawRect(context, localArea(viewSize));
    else if (frame)
      frame->draw(this);
    setDirty(false);
    return;
  }
  for (CCView* entry = firstChild; entry; entry = entry->pNext)
    if (entry->pView->isDirty()) entry->pView->update(context);
  dirty = false;
}

bool CViewContainer::isDirty() const {
  if (dirty) return true;
  const CRect local = localArea(viewSize);
  for (CCView* entry = firstChild; entry; entry = entry->pNext) {
    if (!entry->pView->isDirty()) continue;
    CRect childRect;
    entry->pView->getViewSize(childRect);
    if (rectOverlap(childRect, local)) return true;
  }
  return false;
}

// ---- input ----

long CViewContainer::currentButtons(CDrawContext* context) const {
  if (context) return context->getMouseButtons();
  return frame ? frame->getCurrentButtons() : 0;
}

void CViewContainer::mouse(CDrawContext* context, CPoint& where, long buttons) {
  CPoint local = where;
  local.offset(-viewSize.left, -viewSize.top);
  if (buttons == -1) buttons = currentButtons(context);
  for (CCView* entry = lastChild; entry; entry = entry->pPrevious) {
    CView* child = entry->pView;
    if (child->getMouseEnabled() && child->hitTest(local, buttons)) {
      child->mouse(context, local, buttons);
      return;
    }
  }
}

long CViewContainer::onKeyDown(VstKeyCode& keyCode) {
  for (CCView* entry = lastChild; entry; entry = entry->pPrevious) {
    long result = entry->pView->onKeyDown(keyCode);
    if (result != -1) return result;
  }
  return -1;
}

long CViewContainer::onKeyUp(VstKeyCode& keyCode) {
  for (CCView* entry = lastChild; entry; entry = entry->pPrevious) {
    long result = entry->pView->onKeyUp(keyCode);
    if (result != -1) return result;
  }
  return -1;
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  return onWheel(context, where, kMouseWheelAxisY, distance);
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where,
                             const CMouseWheelAxis axis, float distance) {
  CView* view = getViewAt(where);
  if (!view) return false;
  CPoint local = where;
  local.offset(-viewSize.left, -viewSize.top);
  return view->onWheel(context, local, axis, distance);
}

bool CViewContainer::onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
  CView* view = getViewAt(where);
  currentDragView = nullptr;
  if (!view) return false;
  CPoint local = where;
  local.offset(-viewSize.left, -viewSize.top);
  return view->onDrop(context, drag, local);
}

void CViewContainer::onDragEnter(CDrawContext* context, CDragContainer* drag,
                                 const CPoint& where) {
  currentDragView = getViewAt(where);
  if (!currentDragView) return;
  CPoint local = where;
  local.offset(-viewSize.left, -viewSize.top);
  currentDragView->onDragEnter(context, drag, local);
}

void CViewContainer::onDragLeave(CDrawContext* context, CDragContainer* drag,
                                 const CPoint& where) {
  if (currentDragView) {
    CPoint local = where;
    local.offset(-viewSize.left, -viewSize.top);
    currentDragView->onDragLeave(context, drag, local);
  }
  currentDragView = nullptr;
}

void CViewContainer::onDragMove(CDrawContext* context, CDragContainer* drag,
                                const CPoint& where) {
  CPoint local = where;
  local.offset(-viewSize.left, -viewSize.top);
  CView* view = getViewAt(where);
  if (view == currentDragView) {
    if (view) view->onDragMove(context, drag, local);
    return;
  }
  if (currentDragView) currentDragView->onDragLeave(context, drag, local);
  currentDragView = view;
  if (view) view->onDragEnter(context, drag, local);
}

void CViewContainer::looseFocus(CDrawContext* context) {
  for (CCView* entry = firstChild; entry; entry = entry->pNext) entry->pView->looseFocus(context);
}

void CViewContainer::takeFocus(CDrawContext* context) {
  for (CCView* entry = firstChild; entry; entry = entry->pNext) entry->pView->takeFocus(context);
}

bool CViewContainer::hitTest(const CPoint& where, const long buttons) {
  return mouseableArea.pointInsideClosed(where);
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
  CPoint local = where;
  local.offset(-viewSize.left, -viewSize.top);
  for (CCView* entry = lastChild; entry; entry = entry->pPrevious) {
    CView* child = entry->pView;
    CRect area;
    child->getMouseableArea(area);
    if (!area.pointInsideClosed(local)) continue;
    if (deep && isContainer(child)) return static_cast<CViewContainer*>(child)->getViewAt(local, deep);
    return child;
  }
  return nullptr;
}

CView* CViewContainer::getCurrentView() const {
  if (!frame) return nullptr;
  CPoint where;
  if (!frame->getCurrentLocation(where)) return nullptr;
  frameToLocal(where);
  for (CCView* entry = lastChild; entry; entry = entry->pPrevious) {
    CRect area;
    entry->pView->getMouseableArea(area);
    if (area.pointInsideClosed(where)) return entry->pView;
  }
  return nullptr;
}

// ---- focus ----

bool CViewContainer::focusInto(CView* view, bool reverse) {
  if (view->wantsFocus()) {
    if (!frame) return false;
    frame->setFocusView(view);
    return true;
  }
  return isContainer(view) && static_cast<CViewContainer*>(view)->advanceNextFocusView(nullptr, reverse);
}

bool CViewContainer::advanceNextFocusView(CView* oldFocus, bool reverse) {
  CCView* start = reverse ? lastChild : firstChild;
  if (oldFocus) {
    // The child that is, or holds, the old focus.
    CCView* holder = nullptr;
    for (CCView* entry = firstChild; entry && !holder; entry = entry->pNext) {
      CView* child = entry->pView;
      if (child == oldFocus ||
          (isContainer(child) && static_cast<CViewContainer*>(child)->isDescendant(oldFocus)))
        holder = entry;
    }
    if (holder) {
      if (holder->pView != oldFocus &&
          static_cast<CViewContainer*>(holder->pView)->advanceNextFocusView(oldFocus, reverse))
        return true;
      start = reverse ? holder->pPrevious : holder->pNext;
    }
  }
  for (CCView* entry = start; entry; entry = reverse ? entry->pPrevious : entry->pNext)
    if (focusInto(entry->pView, reverse)) return true;
  return false;
}

// ---- the tree ----

bool CViewContainer::removed(CView* parentView) {
  if (offscreenContext) {
    offscreenContext->forget();
    offscreenContext = nullptr;
  }
  return CView::removed(parentView);
}

bool CViewContainer::attached(CView* parentView) {
  // Children added before we joined a frame learn which frame they are in.
  for (CCView* entry = firstChild; entry; entry = entry->pNext) assignFrame(entry->pView, frame);
  if (drawInOffscreen && !offscreenContext && viewSize.width() > 0 && viewSize.height() > 0)
    offscreenContext = new COffscreenContext(frame, viewSize.width(), viewSize.height(), kBlackCColor);
  return CView::attached(parentView);
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
  if (parent && parent->notify(const_cast<CViewContainer*>(this), kMsgCheckIfViewContainer) == 1)
    parent->frameToLocal(point);
  point.offset(-viewSize.left, -viewSize.top);
  return point;
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
  point.offset(viewSize.left, viewSize.top);
  if (parent && parent->notify(const_cast<CViewContainer*>(this), kMsgCheckIfViewContainer) == 1)
    parent->localToFrame(point);
  return point;
}

long CViewContainer::notify(CView* sender, const char* message) {
  return message && std::strcmp(message, kMsgCheckIfViewContainer) == 0 ? 1 : 0;
}

void CViewContainer::setViewSize(CRect& rect) {
  CView::setViewSize(rect);
  // The buffer had the old size; the next drawing makes a new one.
  if (offscreenContext) {
    offscreenContext->forget();
    offscreenContext = nullptr;
  }
}

bool CViewContainer::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CViewContainer") == 0) return true;
  return CView::isTypeOf(type);
}
