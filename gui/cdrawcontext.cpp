// Drawing state over a platform context. Every drawing operation opens the
// platform context clipped to clipRect and closes it again, so clip changes
// between operations cost nothing until something is drawn.
#include "gui/cdrawcontext.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "gui/platform/platform_drawing.h"

namespace {

CFrameDrawHooks gFrameHooks;

// Without a frame the clip covers a generous fixed area.
constexpr CRect kFramelessClip(0, 0, 1000, 1000);
constexpr long kMouseButtonBits = 1 | 2 | 4;  // left, middle, right
constexpr unsigned kDoubleClickMilliseconds = 250;
constexpr double kPi = 3.14159265358979323846;

PlatformColor toPlatform(const CColor& c) { return PlatformColor{c.red, c.green, c.blue, c.alpha}; }

// Default text sizes of the standard fonts, in pixels.
constexpr long kFontSizes[kNumStandardFonts] = {12, 18, 14, 12, 11, 10, 9, 13};

// Rectangle corners go through pixel centres: a one-pixel stroke there
// covers exactly one row or column of pixels without anti-aliasing.
constexpr double kCentre = 0.5;

double angleOf(const CRect& r, const CPoint& p) {
  double cx = (r.left + r.right) / 2.0;
  double cy = (r.top + r.bottom) / 2.0;
  // Counter-clockwise on screen, where y grows downward.
  return std::atan2(-(p.y - cy), p.x - cx) * 180.0 / kPi;
}

}  // namespace

CPointerSource::~CPointerSource() = default;

void CPointerSource::waitForEvents(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void setFrameDrawHooks(const CFrameDrawHooks& hooks) { gFrameHooks = hooks; }
const CFrameDrawHooks& getFrameDrawHooks() { return gFrameHooks; }

// ---- construction ----

CDrawContext::CDrawContext(CFrame* frame) : frame(frame) {}

CDrawContext::CDrawContext(CFrame* frame, void* platformCtx, void* window)
    : frame(frame), window(window) {
  if (platformCtx) {
    platformContext = static_cast<PlatformContext*>(platformCtx);
    ownsPlatformContext = false;
  } else if (frame && gFrameHooks.frameSurface) {
    if (PlatformSurface* target = gFrameHooks.frameSurface(frame, window)) attachSurface(target);
  }
  applyInitialState();
}

CDrawContext::CDrawContext(CFrame* frame, PlatformSurface* target) : frame(frame) {
  if (target) attachSurface(target);
  applyInitialState();
}

CDrawContext::~CDrawContext() {
  if (needsSync) synchronize();
  if (registeredWithFrame && gFrameHooks.unregisterContext) gFrameHooks.unregisterContext(frame, this);
  registeredWithFrame = false;
  detachSurface();
}

void CDrawContext::attachSurface(PlatformSurface* target) {
  detachSurface();
  platformContext = platformContextCreate(target);
  ownsPlatformContext = platformContext != nullptr;
  if (platformContext) {
    surface = target;
    platformSurfaceRetain(surface);
  }
}

void CDrawContext::detachSurface() {
  if (ownsPlatformContext) platformContextDestroy(platformContext);
  platformContext = nullptr;
  ownsPlatformContext = false;
  platformSurfaceRelease(surface);
  surface = nullptr;
}

void CDrawContext::applyInitialState(bool shareWithFrame) {
  resetClipRect();
  if (platformContext) {
    sentFrameColor = frameColor;
    sentFillColor = fillColor;
    sentLineWidth = lineWidth;
    platformSetStrokeColor(platformContext, toPlatform(frameColor));
    platformSetFillColor(platformContext, toPlatform(fillColor));
    platformSetLineWidth(platformContext, static_cast<double>(lineWidth));
    platformSetLineStyle(platformContext, PlatformLineStyle::solid);
    platformSetAntialias(platformContext, false);
    if (shareWithFrame && frame && gFrameHooks.registerContext) {
      gFrameHooks.registerContext(frame, this);
      registeredWithFrame = true;
    }
  }
}

void CDrawContext::forget() {
  if (needsSync) synchronize();
  CReferenceCounter::forget();
}

PlatformSurface* CDrawContext::getCGImage() const {
  PlatformSurface* target = platformContextTarget(platformContext);
  platformSurfaceRetain(target);
  return target;
}

// ---- state ----

// Only values that differ from what the platform already has are sent.
void CDrawContext::pushState() {
  if (!platformContext) return;
  if (lineWidth != sentLineWidth) {
    sentLineWidth = lineWidth;
    platformSetLineWidth(platformContext, static_cast<double>(lineWidth));
  }
  if (frameColor != sentFrameColor) {
    sentFrameColor = frameColor;
    platformSetStrokeColor(platformContext, toPlatform(frameColor));
  }
  if (fillColor != sentFillColor) {
    sentFillColor = fillColor;
    platformSetFillColor(platformContext, toPlatform(fillColor));
  }
}

void CDrawContext::setLineWidth(long width) {
  lineWidth = width;
  pushState();
}

void CDrawContext::setLineStyle(CLineStyle style) {
  if (style == lineStyle) return;
  lineStyle = style;
  if (platformContext)
    platformSetLineStyle(platformContext,
                         style == kLineOnOffDash ? PlatformLineStyle::dashed : PlatformLineStyle::solid);
}

void CDrawContext::setDrawMode(CDrawMode mode) {
  if (mode == drawMode) return;
  bool wasAntialiased = drawMode == kAntialias;
  drawMode = mode;
  // Copy, or and xor all draw plainly here; only anti-aliasing changes the result.
  if (platformContext && wasAntialiased != (mode == kAntialias))
    platformSetAntialias(platformContext, mode == kAntialias);
}

void CDrawContext::setFrameColor(const CColor color) {
  frameColor = color;
  pushState();
}

void CDrawContext::setFillColor(const CColor color) {
  fillColor = color;
  pushState();
}

// Text takes its colour with each string, so there is nothing to send.
void CDrawContext::setFontColor(const CColor color) { fontColor = color; }

void CDrawContext::setFont(CFont fontID, const long size, long style) {
  if (fontID < kSystemFont || fontID >= kNumStandardFonts) fontID = kSystemFont;
  fontId = fontID;
  if (size > 0) fontSize = size;
  else fontSize = -1;
  fontStyle = style;
}

long CDrawContext::getFontSize() const { return fontSize > 0 ? fontSize : kFontSizes[fontId]; }

void CDrawContext::setClipRect(const CRect& clip) {
  clipRect = clip;
  clipRect.offset(offset.x, offset.y);
}

CRect& CDrawContext::getClipRect(CRect& clip) const {
  clip = clipRect;
  clip.offset(-offset.x, -offset.y);
  return clip;
}

void CDrawContext::resetClipRect() {
  if (hasFixedClip) {
    clipRect = fixedClip;
    return;
  }
  CRect clip = kFramelessClip;
  if (frame && gFrameHooks.frameClip) {
    CRect frameClip;
    if (gFrameHooks.frameClip(frame, frameClip)) clip = frameClip;
  }
  clipRect = clip;
}

// ---- drawing ----

PlatformContext* CDrawContext::beginDrawing() {
  if (!platformContext) return nullptr;
  // Fields written directly (some callers save and restore lineWidth and
  // frameColor by assignment) reach the platform before anything is drawn.
  pushState();
  platformSave(platformContext);
  platformClipRect(platformContext, clipRect.left, clipRect.top, clipRect.width(), clipRect.height());
  return platformContext;
}

void CDrawContext::endDrawing() {
  if (platformContext) platformRestore(platformContext);
}

void CDrawContext::markDrawn(const CRect& area) {
  CRect drawn = area;
  drawn.bound(clipRect);
  needsSync = true;
  if (drawn.isEmpty()) return;
  if (syncRect.isEmpty())
    syncRect = drawn;
  else
    syncRect.unite(drawn);
}

void CDrawContext::strokeAndOrFill(CDrawStyle style) {
  if (style == kDrawFilled || style == kDrawFilledAndStroked) {
    if (style == kDrawFilledAndStroked)
      platformFillPreserve(platformContext);
    else
      platformFill(platformContext);
  }
  if (style == kDrawStroked || style == kDrawFilledAndStroked) platformStroke(platformContext);
  platformNewPath(platformContext);
}

void CDrawContext::moveTo(const CPoint& point) { penLocation = point; }

void CDrawContext::lineTo(const CPoint& point) {
  CPoint from = penLocation;
  penLocation = point;
  if (!beginDrawing()) return;
  platformNewPath(platformContext);
  double x0 = from.x + offset.x + kCentre, y0 = from.y + offset.y + kCentre;
  double x1 = point.x + offset.x + kCentre, y1 = point.y + offset.y + kCentre;
  if (from == point) {
    // A zero-length line draws nothing: a short one whose caps cover the pixel.
    x0 -= 0.25;
    x1 += 0.25;
  }
  platformMoveTo(platformContext, x0, y0);
  platformLineTo(platformContext, x1, y1);
  platformStroke(platformContext);
  endDrawing();
  CRect area(std::min(from.x, point.x), std::min(from.y, point.y), std::max(from.x, point.x) + 1,
             std::max(from.y, point.y) + 1);
  area.offset(offset.x, offset.y);
  area.inset(-lineWidth, -lineWidth);
  markDrawn(area);
}

void CDrawContext::drawLines(const CPoint* points, const long& numberOfLines) {
  if (!points || numberOfLines <= 0 || !beginDrawing()) return;
  platformNewPath(platformContext);
  for (long i = 0; i < numberOfLines; ++i) {
    const CPoint& a = points[2 * i];
    const CPoint& b = points[2 * i + 1];
    platformMoveTo(platformContext, a.x + offset.x + kCentre, a.y + offset.y + kCentre);
    platformLineTo(platformContext, b.x + offset.x + kCentre, b.y + offset.y + kCentre);
  }
  platformStroke(platformContext);
  endDrawing();
  markDrawn(clipRect);
}

void CDrawContext::pathPolygon(const CPoint* points, long numberOfPoints) {
  platformNewPath(platformContext);
  for (long i = 0; i < numberOfPoints; ++i) {
    double x = points[i].x + offset.x + kCentre, y = points[i].y + offset.y + kCentre;
    if (i == 0)
      platformMoveTo(platformContext, x, y);
    else
      platformLineTo(platformContext, x, y);
  }
}

void CDrawContext::polyLine(const CPoint* points, long numberOfPoints) {
  if (!points || numberOfPoints <= 0 || !beginDrawing()) return;
  pathPolygon(points, numberOfPoints);
  platformStroke(platformContext);
  endDrawing();
  markDrawn(clipRect);
}

void CDrawContext::drawPolygon(const CPoint* points, long numberOfPoints, const CDrawStyle style) {
  if (!points || numberOfPoints <= 0 || !beginDrawing()) return;
  pathPolygon(points, numberOfPoints);
  platformClosePath(platformContext);
  strokeAndOrFill(style);
  endDrawing();
  markDrawn(clipRect);
}

void CDrawContext::fillPolygon(const CPoint* points, long numberOfPoints) {
  drawPolygon(points, numberOfPoints, kDrawFilled);
}

void CDrawContext::drawRect(const CRect& rect, const CDrawStyle style) {
  CRect r = rect;
  r.offset(offset.x, offset.y);
  if (r.isEmpty() || !beginDrawing()) return;
  if (style == kDrawFilled || style == kDrawFilledAndStroked) {
    platformNewPath(platformContext);
    platformRectangle(platformContext, r.left, r.top, r.width(), r.height());
    platformFill(platformContext);
  }
  if (style == kDrawStroked || style == kDrawFilledAndStroked) {
    // Through the centres of the border pixels: columns left and right - 1,
    // rows top and bottom - 1.
    double l = r.left + kCentre, t = r.top + kCentre;
    double rr = r.right - 1 + kCentre, b = r.bottom - 1 + kCentre;
    platformNewPath(platformContext);
    if (r.width() == 1 && r.height() == 1) {
      // A zero-length line draws nothing: a short one whose caps cover the pixel.
      platformMoveTo(platformContext, l - 0.25, t);
      platformLineTo(platformContext, l + 0.25, t);
    } else if (r.width() == 1 || r.height() == 1) {
      platformMoveTo(platformContext, l, t);
      // A rectangle one pixel thin is a single line; going there and back
      // would turn on itself and lose the far end pixel.
      platformLineTo(platformContext, rr, b);
    } else {
      platformMoveTo(platformContext, l, t);
      platformLineTo(platformContext, rr, t);
      platformLineTo(platformContext, rr, b);
      platformLineTo(platformContext, l, b);
      platformClosePath(platformContext);
    }
    platformStroke(platformContext);
  }
  endDrawing();
  CRect area = r;
  area.inset(-lineWidth, -lineWidth);
  markDrawn(area);
}

void CDrawContext::fillRect(const CRect& rect) {
  CRect r = rect;
  r.offset(offset.x, offset.y);
  if (r.isEmpty() || !beginDrawing()) return;
  platformNewPath(platformContext);
  platformRectangle(platformContext, r.left, r.top, r.width(), r.height());
  platformFill(platformContext);
  endDrawing();
  markDrawn(r);
}

void CDrawContext::drawEllipse(const CRect& rect, const CDrawStyle style) {
  drawArc(rect, 0.0f, 360.0f, style);
}

void CDrawContext::fillEllipse(const CRect& rect) { drawEllipse(rect, kDrawFilled); }

void CDrawContext::drawArc(const CRect& rect, const float startAngle, const float endAngle,
                           const CDrawStyle style) {
  CRect r = rect;
  r.offset(offset.x, offset.y);
  if (r.isEmpty() || !std::isfinite(startAngle) || !std::isfinite(endAngle) || !beginDrawing())
    return;
  // Counter-clockwise on a y-down screen is the platform's negative direction.
  double a1 = -static_cast<double>(endAngle) * kPi / 180.0;
  double a2 = -static_cast<double>(startAngle) * kPi / 180.0;
  bool whole = std::fabs(static_cast<double>(endAngle) - startAngle) >= 360.0;
  if (whole) {
    a1 = 0.0;
    a2 = 2.0 * kPi;
  }
  if (style == kDrawFilled || style == kDrawFilledAndStroked) {
    platformNewPath(platformContext);
    if (!whole) platformMoveTo(platformContext, (r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
    platformEllipseArc(platformContext, r.left, r.top, r.width(), r.height(), a1, a2);
    platformClosePath(platformContext);
    platformFill(platformContext);
  }
  if (style == kDrawStroked || style == kDrawFilledAndStroked) {
    // The stroke runs through the centres of the outermost pixels, inside rect.
    platformNewPath(platformContext);
    platformEllipseArc(platformContext, r.left + kCentre, r.top + kCentre, r.width() - 1.0,
                       r.height() - 1.0, a1, a2);
    if (whole) platformClosePath(platformContext);
    platformStroke(platformContext);
  }
  platformNewPath(platformContext);
  endDrawing();
  CRect area = r;
  area.inset(-lineWidth, -lineWidth);
  markDrawn(area);
}

void CDrawContext::drawArc(const CRect& rect, const CPoint& point1, const CPoint& point2) {
  float start = static_cast<float>(angleOf(rect, point1));
  float end = static_cast<float>(angleOf(rect, point2));
  if (end <= start) end += 360.0f;
  drawArc(rect, start, end, kDrawStroked);
}

void CDrawContext::fillArc(const CRect& rect, const CPoint& point1, const CPoint& point2) {
  float start = static_cast<float>(angleOf(rect, point1));
  float end = static_cast<float>(angleOf(rect, point2));
  if (end <= start) end += 360.0f;
  drawArc(rect, start, end, kDrawFilled);
}

void CDrawContext::drawPoint(const CPoint& point, CColor color) {
  CPoint p(point.x + offset.x, point.y + offset.y);
  if (!platformContext || !clipRect.pointInside(p)) return;
  platformSetPixel(platformContext, p.x, p.y, toPlatform(color));
  markDrawn(CRect(p.x, p.y, p.x + 1, p.y + 1));
}

CColor CDrawContext::getPoint(const CPoint& point) {
  if (!platformContext) return kTransparentCColor;
  PlatformColor c = platformGetPixel(platformContext, point.x + offset.x, point.y + offset.y);
  return CColor{c.red, c.green, c.blue, c.alpha};
}

void CDrawContext::floodFill(const CPoint& start) {
  if (!platformContext) return;
  platformFloodFill(platformContext, start.x + offset.x, start.y + offset.y, toPlatform(fillColor),
                    clipRect.left, clipRect.top, clipRect.width(), clipRect.height());
  markDrawn(clipRect);
}

// ---- text ----

void CDrawContext::textMetrics(double& size, bool& bold, bool& italic) const {
  size = static_cast<double>(getFontSize());
  bold = (fontStyle & kBoldFace) != 0;
  italic = (fontStyle & kItalicFace) != 0;
}

long CDrawContext::getStringWidth(const char* text) {
  if (!text || !*text) return 0;
  double size;
  bool bold, italic;
  textMetrics(size, bold, italic);
  PlatformContext* measure = platformContext;
  PlatformSurface* scratch = nullptr;
  if (!measure) {
    // Measuring needs no target, but the platform wants one.
    scratch = platformSurfaceCreate(1, 1);
    measure = platformContextCreate(scratch);
  }
  double width = platformTextWidth(measure, text, size, bold, italic);
  if (scratch) {
    platformContextDestroy(measure);
    platformSurfaceRelease(scratch);
  }
  return static_cast<long>(std::lround(width));
}

void CDrawContext::drawString(const char* text, const CRect& rect, const short opaque,
                              const CHoriTxtAlign align) {
  if (!text || !platformContext) return;
  if (opaque) fillRect(rect);
  if (!*text) return;
  CRect r = rect;
  r.offset(offset.x, offset.y);
  double size;
  bool bold, italic;
  textMetrics(size, bold, italic);
  double width = platformTextWidth(platformContext, text, size, bold, italic);
  double ascent, descent;
  platformFontExtents(platformContext, size, bold, italic, ascent, descent);
  double x = static_cast<double>(r.left);
  if (align == kCenterText)
    x = r.left + (r.width() - width) / 2.0;
  else if (align == kRightText)
    x = r.right - width;
  double y = r.top + (r.height() + ascent - descent) / 2.0;
  if (!beginDrawing()) return;
  // Text stays inside its rectangle.
  platformClipRect(platformContext, r.left, r.top, r.width(), r.height());
  platformDrawText(platformContext, text, std::round(x), std::round(y), size, bold, italic,
                   toPlatform(fontColor));
  endDrawing();
  markDrawn(r);
}

void CDrawContext::drawString(const char* text, const CPoint& point, bool antialias) {
  if (!text || !*text || !platformContext) return;
  double size;
  bool bold, italic;
  textMetrics(size, bold, italic);
  if (!beginDrawing()) return;
  platformDrawText(platformContext, text, point.x + offset.x, point.y + offset.y, size, bold, italic,
                   toPlatform(fontColor));
  endDrawing();
  markDrawn(clipRect);
}

// ---- pointer ----

CPointerSource* CDrawContext::getPointerSource() const {
  if (pointerSource) return pointerSource;
  if (frame && gFrameHooks.pointerSource) return gFrameHooks.pointerSource(frame);
  return nullptr;
}

void CDrawContext::getMouseLocation(CPoint& where) {
  CPointerSource* source = getPointerSource();
  CPoint p;
  if (!source || !source->pointerPosition(p)) return;
  where = CPoint(p.x - windowOffset.x - offset.x, p.y - windowOffset.y - offset.y);
}

long CDrawContext::getMouseButtons() {
  CPointerSource* source = getPointerSource();
  return source ? source->pointerButtons() : 0;
}

bool CDrawContext::waitDoubleClick() {
  CPointerSource* source = getPointerSource();
  if (!source) return false;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(kDoubleClickMilliseconds);
  bool released = false;
  while (Clock::now() < deadline) {
    bool down = (source->pointerButtons() & kMouseButtonBits) != 0;
    if (!released) {
      if (!down) released = true;
    } else if (down) {
      return true;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    source->waitForEvents(static_cast<unsigned>(std::clamp<long long>(left, 1, 10)));
  }
  return false;
}

bool CDrawContext::waitDrag() {
  CPointerSource* source = getPointerSource();
  CPoint start;
  if (!source || !source->pointerPosition(start)) return false;
  // The user decides how long the button stays down.
  while ((source->pointerButtons() & kMouseButtonBits) != 0) {
    CPoint now;
    if (!source->pointerPosition(now)) return false;
    if (now != start) return true;
    source->waitForEvents(10);
  }
  return false;
}

// ---- flushing ----

void CDrawContext::synchronize() {
  if (platformContext) platformFlush(platformContext);
  if (presentsToFrame && frame && gFrameHooks.present && !syncRect.isEmpty())
    gFrameHooks.present(frame, syncRect);
  syncRect = CRect();
  needsSync = false;
}
