// The drawing surface handed to every draw and mouse operation: the current
// drawing state (colours, line width, clip, coordinate offset) over a platform
// drawing context. A context draws either into the frame's back buffer or into
// any in-memory surface (tests, screenshots).
#pragma once

#include "gui/ccolor.h"
#include "gui/cgeometry.h"
#include "gui/creference_counter.h"

class CFrame;
class CBitmap;
class CDrawContext;
struct PlatformContext;
struct PlatformSurface;

// Where the pointer is and which buttons are held. The frame implements it
// over its window system; tests script it.
class CPointerSource {
 public:
  virtual ~CPointerSource();
  // Pointer position in frame coordinates; false when unknown.
  virtual bool pointerPosition(CPoint& where) = 0;
  // Button-state word (kMouseLeft ... kModControl bits).
  virtual long pointerButtons() = 0;
  // Waits up to `milliseconds` for input, keeping the window system served.
  // The default just sleeps.
  virtual void waitForEvents(unsigned milliseconds);
};

// What a context needs from the frame it draws into. CFrame installs these
// once (setFrameDrawHooks, from its own source file); a context with no frame,
// or a hook left null, goes without.
struct CFrameDrawHooks {
  // The frame's rectangle limited to its visible part: the initial and reset clip.
  bool (*frameClip)(CFrame* frame, CRect& clip) = nullptr;
  // The frame's back buffer, for a context made for the window without a
  // platform context of its own (null when unbound).
  PlatformSurface* (*frameSurface)(CFrame* frame, void* window) = nullptr;
  // A context that can draw becomes, and later stops being, the frame's shared context.
  void (*registerContext)(CFrame* frame, CDrawContext* context) = nullptr;
  void (*unregisterContext)(CFrame* frame, CDrawContext* context) = nullptr;
  // Shows the drawn area (frame coordinates) of the back buffer in the window.
  void (*present)(CFrame* frame, const CRect& area) = nullptr;
  // Pointer and buttons for contexts that were not given a source of their own.
  CPointerSource* (*pointerSource)(CFrame* frame) = nullptr;
};
void setFrameDrawHooks(const CFrameDrawHooks& hooks);
const CFrameDrawHooks& getFrameDrawHooks();

enum CDrawStyle { kDrawStroked = 0, kDrawFilled = 1, kDrawFilledAndStroked = 2 };
enum CLineStyle { kLineSolid = 0, kLineOnOffDash = 1 };
enum CDrawMode { kCopyMode = 0, kOrMode = 1, kXorMode = 2, kAntialias = 3 };
enum CHoriTxtAlign { kLeftText = 0, kCenterText = 1, kRightText = 2 };
enum CFont {
  kSystemFont = 0,
  kNormalFontVeryBig,
  kNormalFontBig,
  kNormalFont,
  kNormalFontSmall,
  kNormalFontSmaller,
  kNormalFontVerySmall,
  kSymbolFont,
  kNumStandardFonts
};
enum CTxtFace { kNormalFace = 0, kBoldFace = 1, kItalicFace = 2, kUnderlineFace = 4 };

class CDrawContext : public CReferenceCounter {
 public:
  // For the frame: draws with `platformContext` when given (borrowed, not
  // destroyed), else into the frame's back buffer for `window`.
  CDrawContext(CFrame* frame, void* platformContext, void* window);
  // Into an in-memory surface (the context keeps a reference to it).
  CDrawContext(CFrame* frame, PlatformSurface* target);
  ~CDrawContext() override;

  // Flushes pending drawing before letting go.
  void forget() override;

  // The surface drawn into (one more reference for the caller), or null.
  virtual PlatformSurface* getCGImage() const;
  virtual CBitmap* getBitmap() { return nullptr; }
  virtual void releaseBitmap() {}
  virtual PlatformContext* getPort() { return platformContext; }

  // ---- state ----
  void setLineWidth(long width);
  long getLineWidth() const { return lineWidth; }
  void setLineStyle(CLineStyle style);
  CLineStyle getLineStyle() const { return lineStyle; }
  void setDrawMode(CDrawMode mode);
  CDrawMode getDrawMode() const { return drawMode; }
  void setFrameColor(const CColor color);
  CColor getFrameColor() const { return frameColor; }
  void setFillColor(const CColor color);
  CColor getFillColor() const { return fillColor; }
  void setFontColor(const CColor color);
  CColor getFontColor() const { return fontColor; }
  void setFont(CFont fontID, const long size = 0, long style = 0);
  CFont getFont() const { return fontId; }
  long getFontSize() const;

  // Clip rectangle: given in local coordinates, stored with `offset` added.
  void setClipRect(const CRect& clip);
  CRect& getClipRect(CRect& clip) const;  // in local coordinates
  void resetClipRect();

  // ---- drawing (coordinates local: `offset` is added) ----
  void moveTo(const CPoint& point);
  void lineTo(const CPoint& point);
  void getLoc(CPoint& where) const { where = penLocation; }
  // Pairs of points, one line each.
  void drawLines(const CPoint* points, const long& numberOfLines);
  void polyLine(const CPoint* points, long numberOfPoints);
  void drawPolygon(const CPoint* points, long numberOfPoints, const CDrawStyle style = kDrawStroked);
  void fillPolygon(const CPoint* points, long numberOfPoints);
  void drawRect(const CRect& rect, const CDrawStyle style = kDrawStroked);
  void fillRect(const CRect& rect);
  void drawEllipse(const CRect& rect, const CDrawStyle style = kDrawStroked);
  void fillEllipse(const CRect& rect);
  // Arc of the ellipse inscribed in rect, angles in degrees counter-clockwise
  // from three o'clock.
  void drawArc(const CRect& rect, const float startAngle, const float endAngle,
               const CDrawStyle style = kDrawStroked);
  // Arc from the direction of point1 to that of point2 (seen from the centre).
  void drawArc(const CRect& rect, const CPoint& point1, const CPoint& point2);
  void fillArc(const CRect& rect, const CPoint& point1, const CPoint& point2);
  void drawPoint(const CPoint& point, CColor color);
  CColor getPoint(const CPoint& point);
  void floodFill(const CPoint& start);

  long getStringWidth(const char* text);
  // Text placed in rect by alignment, vertically centred; opaque fills rect
  // with the fill colour first.
  void drawString(const char* text, const CRect& rect, const short opaque = false,
                  const CHoriTxtAlign align = kCenterText);
  // Text with its baseline starting at point.
  void drawString(const char* text, const CPoint& point, bool antialias = true);

  // ---- pointer ----
  void setPointerSource(CPointerSource* source) { pointerSource = source; }
  CPointerSource* getPointerSource() const;
  // Pointer position relative to the current offset.
  void getMouseLocation(CPoint& where);
  long getMouseButtons();
  // True when a second press follows within the double-click time.
  bool waitDoubleClick();
  // True when the pointer moves while the button is still held.
  bool waitDrag();

  // ---- flushing ----
  bool getNeedsSync() const { return needsSync; }
  // Shows what was drawn since the last flush.
  void synchronize();

  CFrame* getFrame() const { return frame; }
  void* getWindow() const { return window; }
  // The platform context, or null (a context without one draws nothing).
  PlatformContext* getPlatformContext() const { return platformContext; }

  // Opens the platform context clipped to clipRect, for bitmaps and
  // subclasses; returns null when there is nothing to draw into.
  PlatformContext* beginDrawing();
  void endDrawing();
  // Records `area` (absolute coordinates) as drawn: it is shown at the next flush.
  void markDrawn(const CRect& area);

  CPoint windowOffset;
  CPoint offset;
  long lineWidth = 1;
  CColor frameColor = kWhiteCColor;
  CColor fillColor = kBlackCColor;
  CColor fontColor = kWhiteCColor;
  CRect clipRect;
  bool needsSync = false;

 protected:
  // For subclasses that bring their own target.
  explicit CDrawContext(CFrame* frame);
  // Takes over the surface as the drawing target (the context keeps one reference).
  void attachSurface(PlatformSurface* target);
  void detachSurface();
  // Sets the initial state; `shareWithFrame` makes a context that can draw
  // the frame's shared context (offscreen contexts never are).
  void applyInitialState(bool shareWithFrame = true);

  CFrame* frame = nullptr;
  void* window = nullptr;
  PlatformContext* platformContext = nullptr;
  bool ownsPlatformContext = false;
  PlatformSurface* surface = nullptr;
  bool registeredWithFrame = false;
  bool presentsToFrame = true;  // flushing shows the drawn area in the frame's window
  bool hasFixedClip = false;    // the reset clip is fixedClip, not the frame's rectangle
  CRect fixedClip;
  CPointerSource* pointerSource = nullptr;

  CFont fontId = kSystemFont;
  long fontSize = -1;
  long fontStyle = 0;
  CLineStyle lineStyle = kLineSolid;
  CDrawMode drawMode = kCopyMode;
  CPoint penLocation;
  CRect syncRect;  // union of drawn areas since the last flush (absolute)

  // What the platform context was last given.
  CColor sentFrameColor = kWhiteCColor;
  CColor sentFillColor = kBlackCColor;
  long sentLineWidth = 1;

 private:
  void pushState();
  void strokeAndOrFill(CDrawStyle style);
  void pathPolygon(const CPoint* points, long numberOfPoints);
  void textMetrics(double& size, bool& bold, bool& italic) const;
};
