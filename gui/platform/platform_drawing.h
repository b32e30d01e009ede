// The drawing services the toolkit needs from the graphics library. Surfaces
// hold 32-bit premultiplied ARGB pixels in native byte order; contexts draw
// into one surface. Nothing here exposes the graphics library's own types, so
// the toolkit above compiles and runs in tests without a display.
//
// Coordinates are in pixels with (0, 0) the top-left corner and y growing
// downward; integral coordinates lie on pixel edges, so pixel (x, y) covers
// [x, x + 1) × [y, y + 1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PlatformSurface;  // reference counted: create/wrap gives one reference
struct PlatformContext;  // owned by whoever created it

struct PlatformColor {
  unsigned char red = 0, green = 0, blue = 0, alpha = 255;  // not premultiplied
};

enum class PlatformLineStyle { solid, dashed };

// ---- surfaces ----

// A new surface cleared to fully transparent; null for sizes below 1 or too big.
PlatformSurface* platformSurfaceCreate(long width, long height);
// A surface over caller-owned premultiplied ARGB32 memory (rows of `stride`
// bytes, stride a multiple of 4); the memory must outlive the surface.
PlatformSurface* platformSurfaceWrap(unsigned char* data, long width, long height, long stride);
void platformSurfaceRetain(PlatformSurface* surface);
void platformSurfaceRelease(PlatformSurface* surface);  // null is fine
long platformSurfaceWidth(const PlatformSurface* surface);
long platformSurfaceHeight(const PlatformSurface* surface);

// Direct pixel access for decoders, keying and tests. Call
// platformSurfaceBeginAccess before touching the bytes and
// platformSurfaceEndAccess after changing them.
unsigned char* platformSurfaceData(PlatformSurface* surface);
long platformSurfaceStride(const PlatformSurface* surface);
void platformSurfaceBeginAccess(PlatformSurface* surface);
void platformSurfaceEndAccess(PlatformSurface* surface);

// Un-premultiplied colour of one pixel; transparent black outside the surface.
PlatformColor platformSurfaceGetPixel(PlatformSurface* surface, long x, long y);
// A copy of the surface, independent of it.
PlatformSurface* platformSurfaceCopy(PlatformSurface* surface);
// PNG encoding, to a file (screenshots) or to memory (tests, build tools).
bool platformSurfaceWritePNG(PlatformSurface* surface, const char* path);
bool platformSurfaceEncodePNG(PlatformSurface* surface, std::vector<unsigned char>& out);

// ---- drawing contexts ----

// A context drawing into the surface (which it keeps a reference to).
// Anti-aliasing starts off, line width 1, solid lines, stroke and fill black.
PlatformContext* platformContextCreate(PlatformSurface* target);
void platformContextDestroy(PlatformContext* context);  // null is fine
PlatformSurface* platformContextTarget(PlatformContext* context);

void platformSave(PlatformContext* context);
void platformRestore(PlatformContext* context);
// Narrows the clip to the rectangle (until the matching restore).
void platformClipRect(PlatformContext* context, long x, long y, long width, long height);

// Drawing state. Each call counts as one state change (see below).
void platformSetStrokeColor(PlatformContext* context, PlatformColor color);
void platformSetFillColor(PlatformContext* context, PlatformColor color);
void platformSetLineWidth(PlatformContext* context, double width);
void platformSetLineStyle(PlatformContext* context, PlatformLineStyle style);
void platformSetAntialias(PlatformContext* context, bool on);
// Number of state changes made on the context so far (lets callers verify
// that unchanged values are not resent).
long platformStateChanges(const PlatformContext* context);

// Paths, in pixel coordinates (fractions allowed).
void platformNewPath(PlatformContext* context);
void platformMoveTo(PlatformContext* context, double x, double y);
void platformLineTo(PlatformContext* context, double x, double y);
void platformClosePath(PlatformContext* context);
void platformRectangle(PlatformContext* context, double x, double y, double width, double height);
// Arc on the ellipse inscribed in (x, y, width, height), from angle1 to angle2
// in radians, measured from the positive x axis toward positive y.
void platformEllipseArc(PlatformContext* context, double x, double y, double width,
                        double height, double angle1, double angle2);
// Stroke with the stroke colour / fill with the fill colour; both clear the
// path unless the "preserve" form is used.
void platformStroke(PlatformContext* context);
void platformFill(PlatformContext* context);
void platformFillPreserve(PlatformContext* context);

// Text with the default sans-serif face; (x, y) is the left end of the baseline.
void platformDrawText(PlatformContext* context, const char* utf8, double x, double y,
                      double size, bool bold, bool italic, PlatformColor color);
// Advance width and the ascent/descent of the default face at the size.
double platformTextWidth(PlatformContext* context, const char* utf8, double size, bool bold,
                         bool italic);
void platformFontExtents(PlatformContext* context, double size, bool bold, bool italic,
                         double& ascent, double& descent);

// Copies the part of `picture` that starts at (srcX, srcY) and is width ×
// height pixels to (dstX, dstY), unscaled, blended over what is there with the
// picture's own alpha times alpha / 255.
void platformDrawPicture(PlatformContext* context, PlatformSurface* picture, long srcX,
                         long srcY, long width, long height, long dstX, long dstY,
                         unsigned char alpha);

// Colour of one pixel of the target (un-premultiplied).
PlatformColor platformGetPixel(PlatformContext* context, long x, long y);
// Sets one pixel, ignoring the clip (the caller checks it).
void platformSetPixel(PlatformContext* context, long x, long y, PlatformColor color);
// Repaints the 4-connected area of pixels equal to the one at (x, y), inside
// the rectangle (clipX, clipY, clipW, clipH), with `color`.
void platformFloodFill(PlatformContext* context, long x, long y, PlatformColor color, long clipX,
                       long clipY, long clipW, long clipH);
// Pushes pending drawing to the target surface.
void platformFlush(PlatformContext* context);
