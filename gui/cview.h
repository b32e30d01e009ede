// Every visible element of the editor: a rectangle in its parent's
// coordinates, an area that takes the mouse, a dirty flag saying it must be
// drawn again, and an optional background picture. Views are reference
// counted; the container a view is added to takes over its creator's
// reference.
#pragma once

#include <vector>

#include "gui/cbuttons.h"
#include "gui/cgeometry.h"
#include "gui/creference_counter.h"
#include "host/vst_abi.h"

class AEffGUIEditor;
class CBitmap;
class CDragContainer;
class CDrawContext;
class CFrame;

// The question a view asks its parent to learn whether it is a container.
inline constexpr const char* kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

class CView : public CReferenceCounter {
 public:
  explicit CView(const CRect& size);
  ~CView() override;

  virtual void draw(CDrawContext* context);
  virtual void drawRect(CDrawContext* context, const CRect& updateRect);
  // The rectangle touches the view (edges included).
  virtual bool checkUpdate(CRect& updateRect) const;
  // `where` in the parent's coordinates; `buttons` the button-state word or -1.
  virtual void mouse(CDrawContext* context, CPoint& where, long buttons = -1);

  virtual void setBackground(CBitmap* picture);
  virtual CBitmap* getBackground() const { return background; }

  // Results: 1 handled, -1 not handled.
  virtual long onKeyDown(VstKeyCode& keyCode);
  virtual long onKeyUp(VstKeyCode& keyCode);

  virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
  virtual bool onWheel(CDrawContext* context, const CPoint& where, const CMouseWheelAxis axis,
                       float distance);

  virtual bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where);
  virtual void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where);
  virtual void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where);
  virtual void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where);

  virtual void looseFocus(CDrawContext* context = nullptr);
  virtual void takeFocus(CDrawContext* context = nullptr);

  virtual bool isDirty() const { return dirty; }
  virtual void setDirty(const bool state = true) { dirty = state; }

  virtual void setMouseEnabled(const bool enable = true) { mouseEnabled = enable; }
  virtual bool getMouseEnabled() const { return mouseEnabled; }

  virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
  virtual CRect& getMouseableArea(CRect& rect) const {
    rect = mouseableArea;
    return rect;
  }

  // `where` inside the mouseable area, edges included.
  virtual bool hitTest(const CPoint& where, const long buttons = -1);

  virtual void setTransparency(bool state) { transparency = state; }
  virtual bool getTransparency() const { return transparency; }

  virtual void setViewSize(CRect& rect);
  virtual CRect& getViewSize(CRect& rect) const {
    rect = viewSize;
    return rect;
  }

  virtual bool removed(CView* parent);
  virtual bool attached(CView* parent);

  // Pointer position in the coordinates of the view's parent.
  virtual void getMouseLocation(CDrawContext* context, CPoint& where);

  // Frame coordinates to the view's own coordinates and back. A plain view
  // has none of its own: its coordinates are its parent's.
  virtual CPoint& frameToLocal(CPoint& point) const;
  virtual CPoint& localToFrame(CPoint& point) const;

  virtual AEffGUIEditor* getEditor() const;
  virtual long notify(CView* sender, const char* message);
  // `rect` in the parent's coordinates.
  virtual void redrawRect(CDrawContext* context, const CRect& rect);

  virtual bool wantsFocus() const { return wantsFocusFlag; }
  virtual void setWantsFocus(bool state) { wantsFocusFlag = state; }

  virtual bool isTypeOf(const char* type) const;
  // Draws the view if it is dirty.
  virtual void update(CDrawContext* context);

  // Draws the view now, through the frame.
  void redraw();

  CFrame* getFrame() const { return frame; }
  CView* getParentView() const { return parent; }
  // Set by the container that takes the view in.
  void setFrame(CFrame* newFrame) { frame = newFrame; }
  void setParentView(CView* newParent) { parent = newParent; }

  // Tagged data kept for whoever wants it.
  bool setAttribute(const long id, const long size, const void* data);
  bool getAttributeSize(const long id, long& size) const;
  bool getAttribute(const long id, const long inSize, void* data, long& outSize) const;
  bool removeAttribute(const long id);

 protected:
  CRect viewSize;
  CRect mouseableArea;
  CFrame* frame = nullptr;
  CView* parent = nullptr;
  bool dirty = false;
  bool mouseEnabled = true;
  bool transparency = false;
  bool wantsFocusFlag = false;
  CBitmap* background = nullptr;

 private:
  struct Attribute {
    long id;
    std::vector<unsigned char> data;
  };
  std::vector<Attribute> attributes;
};
