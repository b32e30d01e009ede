// The frame's toolkit logic: idle updates, drawing, mouse, keys, wheel,
// focus and the modal view. Its window binding is cframe_window.cpp.
#include "gui/cframe.h"

#include <cstring>

#include "gui/aeffguieditor.h"
#include "gui/platform/platform_drawing.h"
#include "gui/platform/platform_window.h"
#include "gui/vstkeys.h"

bool CFrame::open(CPoint* point) { return false; }
bool CFrame::close() { return false; }

// ---- idle and drawing ----

void CFrame::idle() {
  dispatchEvents();
  if (!getOpenFlag()) return;
  if (isWindowHidden()) return;
  // The window has not been drawn yet: its first exposure draws everything.
  if (firstDraw) return;
  if (!isDirty()) return;
  CDrawContext* context = createDrawContext();
  update(context);
  context->forget();
}

void CFrame::doIdleStuff() {
  if (editor) editor->doIdleStuff();
  if (frameContext && frameContext->getNeedsSync()) frameContext->synchronize();
}

long CFrame::getTicks() const { return editor ? static_cast<long>(editor->getTicks()) : 0; }

long CFrame::getKnobMode() const { return AEffGUIEditor::getKnobMode(); }

void CFrame::update(CDrawContext* context) {
  if (!openFlag || updatesAreDisabled || !context) return;
  if (dirty) {
    draw(context);
    setDirty(false);
    return;
  }
  CRect oldClip;
  context->getClipRect(oldClip);
  if (modalView && modalView->isDirty()) modalView->update(context);
  for (CCView* entry = firstChild; entry; entry = entry->pNext) {
    CRect clip;
    entry->pView->getViewSize(clip);
    clip.bound(oldClip);
    context->setClipRect(clip);
    entry->pView->update(context);
  }
  context->setClipRect(oldClip);
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
  firstDraw = false;
  CDrawContext* made = nullptr;
  if (!context) context = made = createDrawContext();
  CRect oldClip;
  context->getClipRect(oldClip);
  CRect clip = updateRect;
  clip.bound(oldClip);
  context->setClipRect(clip);
  if (updateRect.width() > 0 && updateRect.height() > 0)
    CViewContainer::drawRect(context, updateRect);
  context->setClipRect(oldClip);
  if (made) made->forget();
}

void CFrame::draw(CDrawContext* context) {
  firstDraw = false;
  if (context) {
    CViewContainer::draw(context);
    return;
  }
  CDrawContext* made = createDrawContext();
  CViewContainer::draw(made);
  made->forget();
}

void CFrame::draw(CView* view) {
  CView* toDraw = view && isChild(view) ? view : nullptr;
  CDrawContext* context = createDrawContext();
  if (toDraw)
    toDraw->draw(context);
  else
    draw(context);
  context->forget();
}

void CFrame::invalidate(const CRect& rect) {
  for (CCView* entry = firstChild; entry; entry = entry->pNext) {
    CRect childRect;
    entry->pView->getViewSize(childRect);
    if (rectTouches(childRect, rect)) entry->pView->setDirty(true);
  }
}

bool CFrame::updatesDisabled(bool state) {
  bool previous = updatesAreDisabled;
  updatesAreDisabled = state;
  return previous;
}

// ---- mouse, keys, wheel ----

void CFrame::mouse(CDrawContext* context, CPoint& where, long buttons) {
  CDrawContext* made = nullptr;
  if (!context) context = frameContext;
  // Controls read the pointer through the context they are handed.
  if (!context) context = made = createDrawContext();
  if (focusView) setFocusView(nullptr);
  if (buttons == -1) buttons = context->getMouseButtons();
  const bool wasInMouse = inMouse;
  inMouse = true;
  if (modalView) {
    if (modalView->hitTest(where, buttons)) modalView->mouse(context, where, buttons);
  } else {
    CViewContainer::mouse(context, where, buttons);
  }
  inMouse = wasInMouse;
  if (made) made->forget();
}

long CFrame::onKeyDown(VstKeyCode& keyCode) {
  long result = -1;
  if (focusView) result = focusView->onKeyDown(keyCode);
  if (result == -1 && modalView) result = modalView->onKeyDown(keyCode);
  if (result == -1 && keyCode.virt == VKEY_TAB)
    result = advanceNextFocusView(focusView, (keyCode.modifier & MODIFIER_SHIFT) != 0) ? 1 : -1;
  return result;
}

long CFrame::onKeyUp(VstKeyCode& keyCode) {
  long result = -1;
  if (focusView) result = focusView->onKeyUp(keyCode);
  if (result == -1 && modalView) result = modalView->onKeyUp(keyCode);
  return result;
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  return onWheel(context, where, kMouseWheelAxisY, distance);
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, const CMouseWheelAxis axis,
                     float distance) {
  CDrawContext* made = nullptr;
  if (!context) context = made = createDrawContext();
  bool result = false;
  if (modalView) {
    result = modalView->onWheel(context, where, axis, distance);
  } else if (CView* view = getViewAt(where)) {
    result = view->onWheel(context, where, axis, distance);
  }
  if (made) made->forget();
  return result;
}

// ---- modal view and focus ----

bool CFrame::setModalView(CView* view) {
  if (view && modalView) return false;
  if (!view && modalView) {
    CView* old = modalView;
    // Cleared first: the removal must not come back here.
    modalView = nullptr;
    removeView(old, false);
  }
  modalView = view;
  if (view) addView(view);
  return true;
}

void CFrame::setFocusView(CView* view) {
  CView* old = focusView;
  focusView = view;
  if (focusView && focusView->wantsFocus()) focusView->setDirty(true);
  if (old) {
    old->looseFocus(nullptr);
    if (old->wantsFocus()) old->setDirty(true);
  }
}

bool CFrame::advanceNextFocusView(CView* oldFocus, bool reverse) {
  if (modalView) {
    // The modal view keeps the focus among its own.
    if (modalView->notify(this, kMsgCheckIfViewContainer) == 1) {
      auto* container = static_cast<CViewContainer*>(modalView);
      if (oldFocus && !container->isDescendant(oldFocus)) oldFocus = nullptr;
      return container->advanceNextFocusView(oldFocus, reverse);
    }
    if (modalView->wantsFocus() && oldFocus != modalView) {
      setFocusView(modalView);
      return true;
    }
    return false;
  }
  if (oldFocus && !isDescendant(oldFocus)) oldFocus = nullptr;
  if (CViewContainer::advanceNextFocusView(oldFocus, reverse)) return true;
  // Past the last one: nobody has the focus, and the next move starts over.
  if (focusView) setFocusView(nullptr);
  return false;
}

CView* CFrame::getCurrentView() const {
  if (modalView) return modalView;
  return CViewContainer::getCurrentView();
}

// ---- edits, time, pointer ----

void CFrame::beginEdit(long index) {
  if (editor) editor->beginEdit(static_cast<VstInt32>(index));
}

void CFrame::endEdit(long index) {
  if (editor) editor->endEdit(static_cast<VstInt32>(index));
}

bool CFrame::getCurrentLocation(CPoint& where) { return getPointerSource()->pointerPosition(where); }

bool CFrame::setDropActive(bool state) {
  // Drags from other applications do not reach us on X11; the flag is kept.
  dropActive = state;
  return true;
}

// ---- size and position ----

bool CFrame::setPosition(long x, long y) { return false; }

bool CFrame::getPosition(long& x, long& y) const {
  x = viewSize.left;
  y = viewSize.top;
  return true;
}

bool CFrame::setSize(long width, long height) {
  if (width < 0 || height < 0) return false;
  CRect size(viewSize.left, viewSize.top, viewSize.left + width, viewSize.top + height);
  setViewSize(size);
  return true;
}

bool CFrame::getSize(CRect* size) const {
  if (!size) return false;
  *size = viewSize;
  return true;
}

bool CFrame::getSize(CRect& size) const {
  size = viewSize;
  return true;
}

bool CFrame::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CFrame") == 0) return true;
  return CViewContainer::isTypeOf(type);
}
