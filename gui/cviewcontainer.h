// A view holding an ordered list of child views: draws its background and
// then its children in the order they were added, and gives the mouse to the
// topmost child under the pointer (the one added last).
#pragma once

#include "gui/ccolor.h"
#include "gui/cview.h"

class COffscreenContext;

class CViewContainer : public CView {
 public:
  // Update modes (setMode).
  enum { kNormalUpdate = 0, kOnlyDirtyUpdate = 1 };

  CViewContainer(const CRect& size, CFrame* frame, CBitmap* background = nullptr);
  ~CViewContainer() override;

  // The container takes over the creator's reference.
  virtual void addView(CView* view);
  virtual void addView(CView* view, CRect& mouseableArea, bool mouseEnabled = true);
  virtual void removeView(CView* view, const bool& withForget = true);
  virtual void removeAll(const bool& withForget = true);
  virtual bool isChild(CView* view) const;
  virtual long getNbViews() const;
  virtual CView* getView(long index) const;

  virtual void setBackgroundColor(CColor color) { backgroundColor = color; }
  virtual CColor getBackgroundColor() const { return backgroundColor; }
  virtual void setBackgroundOffset(const CPoint& offset) { backgroundOffset = offset; }
  virtual const CPoint& getBackgroundOffset() const { return backgroundOffset; }
  // `rect` in the container's own coordinates.
  virtual void drawBackgroundRect(CDrawContext* context, CRect& rect);

  virtual void setMode(long newMode) { mode = newMode; }
  virtual long getMode() const { return mode; }
  virtual void useOffscreen(bool state);

  // The child under the pointer.
  virtual CView* getCurrentView() const;
  // The last added child whose mouseable area holds `where` (given in the
  // container's parent's coordinates, like every `where`); with `deep`, a
  // container found is searched in turn.
  virtual CView* getViewAt(const CPoint& where, bool deep = false) const;
  // Gives the focus to the next (or previous) view after `oldFocus` that
  // wants it, searching nested containers; false when there is none.
  virtual bool advanceNextFocusView(CView* oldFocus, bool reverse = false);

  void draw(CDrawContext* context) override;
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  long onKeyDown(VstKeyCode& keyCode) override;
  long onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool onWheel(CDrawContext* context, const CPoint& where, const CMouseWheelAxis axis,
               float distance) override;
  bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
  void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
  void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
  void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
  void looseFocus(CDrawContext* context = nullptr) override;
  void takeFocus(CDrawContext* context = nullptr) override;
  // Its own flag, or a dirty child that shows inside the container.
  bool isDirty() const override;
  bool hitTest(const CPoint& where, const long buttons = -1) override;
  bool removed(CView* parent) override;
  bool attached(CView* parent) override;
  CPoint& frameToLocal(CPoint& point) const override;
  CPoint& localToFrame(CPoint& point) const override;
  long notify(CView* sender, const char* message) override;
  // `rect` in the container's own coordinates.
  void redrawRect(CDrawContext* context, const CRect& rect) override;
  void setViewSize(CRect& rect) override;
  bool isTypeOf(const char* type) const override;
  void update(CDrawContext* context) override;

  // The view lies somewhere inside this container, at any depth.
  bool isDescendant(const CView* view) const;

 protected:
  // One place in the list of children; holds a reference to its view.
  struct CCView {
    explicit CCView(CView* view);
    ~CCView();
    CView* pView;
    CCView* pNext = nullptr;
    CCView* pPrevious = nullptr;
  };

  // Reads the current button state for a mouse operation given -1.
  long currentButtons(CDrawContext* context) const;

  CCView* firstChild = nullptr;
  CCView* lastChild = nullptr;
  long mode = kOnlyDirtyUpdate;
  COffscreenContext* offscreenContext = nullptr;
  CColor backgroundColor = kBlackCColor;
  CPoint backgroundOffset;
  bool drawInOffscreen = false;
  CView* currentDragView = nullptr;

 private:
  void unlink(CCView* entry);
  void release(CCView* entry, bool withForget);
  // Where drawing starts: the offscreen buffer, or the context shifted to
  // our top-left corner (undone by finishDrawing).
  CDrawContext* beginDrawing(CDrawContext* context, CPoint& savedOffset);
  void finishDrawing(CDrawContext* context, const CPoint& savedOffset, const CRect& area,
                     const CRect& localArea);
  bool focusInto(CView* view, bool reverse);
};
