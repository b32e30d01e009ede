// A picture loaded by number from the plug-in's resources (or from the copies
// compiled into the library) and drawn into a context plainly, with a
// transparent colour, or with a constant alpha.
#pragma once

#include "gui/ccolor.h"
#include "gui/cgeometry.h"
#include "gui/creference_counter.h"

class CDrawContext;
class CFrame;
struct PlatformSurface;

class CBitmap : public CReferenceCounter {
 public:
  // Loads picture `resourceId` ("bmp%05d" + .png/.bmp/.jpg/.pict beside the
  // plug-in, else the compiled-in copy).
  explicit CBitmap(long resourceId);
  // An empty 32-bit picture of that size, fully transparent.
  CBitmap(CFrame& frame, long width, long height);
  CBitmap();
  ~CBitmap() override;

  // The part of the picture starting at srcOffset, of the size of dest, drawn
  // at dest (shifted by the context's offset), unscaled, clipped to the
  // context's clip rectangle.
  virtual void draw(CDrawContext* context, CRect& dest, const CPoint& srcOffset = CPoint(0, 0));
  // As draw, with pixels of the transparent colour left out (pictures
  // without an alpha channel of their own).
  virtual void drawTransparent(CDrawContext* context, CRect& dest,
                               const CPoint& srcOffset = CPoint(0, 0));
  // As draw, with a constant alpha (255 opaque) on top of the picture's own.
  virtual void drawAlphaBlend(CDrawContext* context, CRect& dest,
                              const CPoint& srcOffset = CPoint(0, 0), unsigned char alpha = 128);
  // The image to draw: with `transparent`, the keyed copy of a picture
  // without alpha (built once per transparent colour). One more reference for
  // the caller; null when nothing is loaded.
  virtual PlatformSurface* createCGImage(bool transparent = false);
  // Releases the pixels and images; the size becomes 0.
  virtual void dispose();
  virtual bool loadFromResource(long resourceId);
  // Loads a file by its extension: png, bmp or jpg (pict has no decoder here).
  virtual bool loadFromPath(const void* path);

  long getWidth() const { return width; }
  long getHeight() const { return height; }
  long getResourceId() const { return resourceId; }
  bool isLoaded() const;
  bool getNoAlpha() const { return noAlpha; }
  void setNoAlpha(bool state) { noAlpha = state; }
  void setTransparentColor(const CColor color);
  // Something drew into the pixels: images derived from them are rebuilt.
  void pixelsChanged();
  CColor getTransparentColor() const { return transparentColor; }
  // The pixel store (or the image for pictures with alpha); no new reference.
  PlatformSurface* getHandle() const;

  // Directory searched for resources/ instead of the plug-in's own (tests);
  // null returns to the plug-in's directory.
  static void setResourceDirectoryOverride(const char* directory);

 protected:
  friend class COffscreenContext;
  void drawImage(CDrawContext* context, PlatformSurface* image, const CRect& dest,
                 const CPoint& srcOffset, unsigned char alpha);
  // Takes over a decoded picture.
  void adopt(PlatformSurface* picture, long width, long height, bool noAlphaChannel);
  bool loadBuiltin(long resourceId);

  long resourceId = 0;
  long width = 0;
  long height = 0;
  CColor transparentColor = kTransparentCColor;
  bool noAlpha = true;
  PlatformSurface* pixels = nullptr;       // opaque picture (pictures without alpha)
  PlatformSurface* cachedImage = nullptr;  // keyed copy, or the picture itself when it has alpha
  CColor cachedKey = kTransparentCColor;   // colour the keyed copy was made with
};
