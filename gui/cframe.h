// The root of the view tree, bound to the window the host hands the editor.
// It turns the window's events into toolkit calls, keeps the modal view and
// the focus view, and at idle redraws the views that became dirty.
//
// The frame draws into a back buffer of its own size and shows the drawn
// rectangles in its window. Without a window (or when the window cannot be
// made) it is unbound: it still works as an object, draws into its back
// buffer and receives no events.
#pragma once

#include "gui/cdrawcontext.h"
#include "gui/cviewcontainer.h"

class AEffGUIEditor;
class CFrameWindowEvents;
struct PlatformSurface;
struct PlatformWindow;

enum CCursorType {
  kCursorDefault = 0,
  kCursorWait,
  kCursorHSize,
  kCursorVSize,
  kCursorSizeAll,
  kCursorNESWSize,
  kCursorNWSESize,
  kCursorCopy,
  kCursorNotAllowed,
  kCursorHand
};

class CFrame : public CViewContainer, public CPointerSource {
 public:
  // `systemWindow` is the host's window (its X11 id), or null.
  CFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor);
  ~CFrame() override;

  // A frame with a window of its own would open and close it; ours lives in
  // the host's window, so these do nothing.
  virtual bool open(CPoint* point = nullptr);
  virtual bool close();
  virtual bool isOpen() const { return openFlag; }

  // Redraws what became dirty (after serving the window's events).
  virtual void idle();
  // Called from modal mouse loops: keeps the window drawn and the host running.
  virtual void doIdleStuff();
  // Milliseconds of the editor's clock (0 without an editor).
  virtual long getTicks() const;
  virtual long getKnobMode() const;

  virtual bool setPosition(long x, long y);
  virtual bool getPosition(long& x, long& y) const;
  virtual bool setSize(long width, long height);
  virtual bool getSize(CRect* size) const;
  virtual bool getSize(CRect& size) const;

  // While set, the modal view receives every mouse press (and only those
  // inside it). False when another one is already set.
  virtual bool setModalView(CView* view);
  virtual CView* getModalView() const { return modalView; }

  virtual void beginEdit(long index);
  virtual void endEdit(long index);

  // Pointer position in frame coordinates.
  virtual bool getCurrentLocation(CPoint& where);
  virtual void setCursor(CCursorType type);

  virtual void setFocusView(CView* view);
  virtual CView* getFocusView() const { return focusView; }

  virtual bool setDropActive(bool state);
  virtual bool isDropActive() const { return dropActive; }

  virtual void setOpenFlag(bool state) { openFlag = state; }
  virtual bool getOpenFlag() const { return openFlag; }

  // Marks dirty every child whose rectangle touches `rect` (edges included).
  virtual void invalidate(const CRect& rect);

  virtual bool updatesDisabled() const { return updatesAreDisabled; }
  // Returns the previous setting.
  virtual bool updatesDisabled(bool state);

  // Draws `view` now when it is one of ours, else the whole frame.
  virtual void draw(CView* view);

  void draw(CDrawContext* context) override;
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  long onKeyDown(VstKeyCode& keyCode) override;
  long onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool onWheel(CDrawContext* context, const CPoint& where, const CMouseWheelAxis axis,
               float distance) override;
  void setViewSize(CRect& rect) override;
  AEffGUIEditor* getEditor() const override { return editor; }
  bool isTypeOf(const char* type) const override;
  void update(CDrawContext* context) override;
  CView* getCurrentView() const override;
  bool advanceNextFocusView(CView* oldFocus, bool reverse = false) override;

  // Pointer and buttons of the frame's window (CPointerSource).
  bool pointerPosition(CPoint& where) override;
  long pointerButtons() override;
  // Waits for the window's events and handles them; sleeps when unbound.
  void waitForEvents(unsigned milliseconds) override;

  // ---- plain operations ----

  // The context alive for this frame (one more reference), or a new one
  // drawing into the back buffer.
  CDrawContext* createDrawContext();
  // The shared context, if one is alive (no new reference).
  CDrawContext* getFrameContext() const { return frameContext; }
  // Replaces the window's pointer and buttons (tests script them); null
  // returns to the window's.
  void setPointerSource(CPointerSource* source) { pointerOverride = source; }
  CPointerSource* getPointerSource() { return pointerOverride ? pointerOverride : this; }
  long getCurrentButtons() { return getPointerSource()->pointerButtons(); }
  // Handles the window's pending events now.
  void dispatchEvents();
  // Bound to a window of the host.
  bool isBound() const { return window != nullptr; }
  void* getSystemWindow() const { return systemWindow; }
  // The window's own id (0 when unbound).
  uintptr_t getWindowId() const;
  // The window's platform handle (null when unbound), for controls that put
  // platform pieces of their own over it (text fields, pop-up menus).
  PlatformWindow* getPlatformWindow() const { return window; }
  // What the frame drew (no new reference); made on first use.
  PlatformSurface* getBackBuffer();
  bool isFirstDraw() const { return firstDraw; }
  // The window cannot be seen (it or the host's window is unmapped).
  bool isWindowHidden() const;
  bool hasKeyboardFocus() const { return keyboardFocus; }

 protected:
  AEffGUIEditor* editor = nullptr;
  void* systemWindow = nullptr;
  CView* modalView = nullptr;
  CView* focusView = nullptr;
  bool firstDraw = true;
  bool openFlag = true;
  bool dropActive = false;
  bool updatesAreDisabled = false;

 private:
  friend class CFrameWindowEvents;
  friend struct CFrameHooks;

  void bindToWindow();
  void releaseWindow();

  PlatformWindow* window = nullptr;
  CFrameWindowEvents* events = nullptr;
  PlatformSurface* backBuffer = nullptr;
  CDrawContext* frameContext = nullptr;
  CPointerSource* pointerOverride = nullptr;
  float scrollOriginX = 0.0f;
  float scrollOriginY = 0.0f;
  bool keyboardFocus = false;
  // A press is being handled: presses arriving meanwhile (from the event
  // pumping inside a control's mouse loop) are not started on top of it.
  bool inMouse = false;
};
