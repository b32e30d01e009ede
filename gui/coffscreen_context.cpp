// Offscreen drawing: the context's target is a bitmap's own pixels.
#include "gui/coffscreen_context.h"

#include <algorithm>

#include "gui/cbitmap.h"
#include "gui/platform/platform_drawing.h"

COffscreenContext::COffscreenContext(CFrame* frame, long width, long height, const CColor background)
    : CDrawContext(frame), backgroundColor(background) {
  presentsToFrame = false;
  bitmap = new CBitmap();
  if (PlatformSurface* pixels = platformSurfaceCreate(width, height)) {
    bitmap->adopt(pixels, width, height, true);
    this->width = width;
    this->height = height;
    attachSurface(pixels);
  }
  hasFixedClip = true;
  fixedClip = CRect(0, 0, this->width, this->height);
  applyInitialState(false);
  // Painted with the background without disturbing the fill colour.
  if (PlatformContext* platform = beginDrawing()) {
    platformSetFillColor(platform, PlatformColor{background.red, background.green, background.blue,
                                                 background.alpha});
    platformNewPath(platform);
    platformRectangle(platform, 0, 0, this->width, this->height);
    platformFill(platform);
    platformSetFillColor(platform, PlatformColor{fillColor.red, fillColor.green, fillColor.blue,
                                                 fillColor.alpha});
    endDrawing();
  }
}

COffscreenContext::COffscreenContext(CDrawContext* context, CBitmap* bitmap, bool drawInBitmap)
    : CDrawContext(context ? context->getFrame() : nullptr), bitmap(bitmap) {
  presentsToFrame = false;
  if (bitmap) {
    bitmap->remember();
    width = bitmap->getWidth();
    height = bitmap->getHeight();
    if (PlatformSurface* pixels = bitmap->getHandle()) {
      if (!drawInBitmap) {
        platformSurfaceBeginAccess(pixels);
        unsigned char* data = platformSurfaceData(pixels);
        long stride = platformSurfaceStride(pixels);
        for (long y = 0; y < platformSurfaceHeight(pixels); ++y)
          std::fill(data + y * stride, data + y * stride + platformSurfaceWidth(pixels) * 4,
                    static_cast<unsigned char>(0));
        platformSurfaceEndAccess(pixels);
        bitmap->pixelsChanged();
      }
      attachSurface(pixels);
    }
  }
  hasFixedClip = true;
  fixedClip = CRect(0, 0, width, height);
  applyInitialState(false);
}

COffscreenContext::~COffscreenContext() {
  if (platformContext) platformFlush(platformContext);
  releaseBitmap();
}

void COffscreenContext::releaseBitmap() {
  if (!bitmap) return;
  if (platformContext) platformFlush(platformContext);
  detachSurface();
  bitmap->pixelsChanged();
  bitmap->forget();
  bitmap = nullptr;
}

void COffscreenContext::copyFrom(CDrawContext* context, CRect destination, CPoint source) {
  if (!context || !bitmap) return;
  if (platformContext) platformFlush(platformContext);
  bitmap->pixelsChanged();
  bitmap->draw(context, destination, source);
}

void COffscreenContext::copyTo(CDrawContext* context, CRect& destination, CPoint source) {
  if (!context || !platformContext) return;
  PlatformSurface* image = context->getCGImage();
  if (!image) return;
  platformFlush(context->getPlatformContext());
  CRect target = destination;
  target.offset(offset.x, offset.y);
  if (PlatformContext* platform = beginDrawing()) {
    platformDrawPicture(platform, image, source.x + context->offset.x, source.y + context->offset.y,
                        target.width(), target.height(), target.left, target.top, 255);
    endDrawing();
  }
  platformSurfaceRelease(image);
  if (bitmap) bitmap->pixelsChanged();
}
