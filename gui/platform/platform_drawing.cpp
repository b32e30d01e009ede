// Drawing services on cairo. The context keeps its own copy of the drawing
// state and applies it at each stroke or fill: cairo has one source for both,
// and the toolkit saves and restores around every operation, so state kept in
// cairo would be lost at the restore.
#include "gui/platform/platform_drawing.h"

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <string>

struct PlatformContext {
  cairo_t* cr = nullptr;
  PlatformSurface* target = nullptr;
  PlatformColor stroke{0, 0, 0, 255};
  PlatformColor fill{0, 0, 0, 255};
  double lineWidth = 1.0;
  PlatformLineStyle lineStyle = PlatformLineStyle::solid;
  bool antialias = false;
  long stateChanges = 0;
};

namespace {

// cairo refuses image surfaces beyond this size in either direction.
constexpr long kMaxSurfaceSide = 32767;

cairo_surface_t* cs(PlatformSurface* s) { return reinterpret_cast<cairo_surface_t*>(s); }
cairo_surface_t* cs(const PlatformSurface* s) {
  return reinterpret_cast<cairo_surface_t*>(const_cast<PlatformSurface*>(s));
}
PlatformSurface* ps(cairo_surface_t* s) { return reinterpret_cast<PlatformSurface*>(s); }

bool usable(const PlatformContext* c) {
  return c && c->cr && cairo_status(c->cr) == CAIRO_STATUS_SUCCESS;
}

bool isFinite(double v) { return std::isfinite(v); }

void setSource(cairo_t* cr, PlatformColor c) {
  cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
}

void applyStrokeState(PlatformContext* c) {
  cairo_set_antialias(c->cr, c->antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(c->cr, c->lineWidth);
  if (c->lineStyle == PlatformLineStyle::dashed) {
    const double dash[] = {c->lineWidth * 3.0, c->lineWidth * 3.0};
    cairo_set_dash(c->cr, dash, 2, 0.0);
  } else {
    cairo_set_dash(c->cr, nullptr, 0, 0.0);
  }
  setSource(c->cr, c->stroke);
}

void applyFillState(PlatformContext* c) {
  cairo_set_antialias(c->cr, c->antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  setSource(c->cr, c->fill);
}

uint32_t premultiply(PlatformColor c) {
  uint32_t a = c.alpha;
  auto mul = [a](uint32_t v) { return (v * a + 127) / 255; };
  return (a << 24) | (mul(c.red) << 16) | (mul(c.green) << 8) | mul(c.blue);
}

PlatformColor unpremultiply(uint32_t p) {
  uint32_t a = p >> 24;
  if (a == 0) return PlatformColor{0, 0, 0, 0};
  auto un = [a](uint32_t v) {
    uint32_t r = (v * 255 + a / 2) / a;
    return static_cast<unsigned char>(r > 255 ? 255 : r);
  };
  return PlatformColor{un((p >> 16) & 255), un((p >> 8) & 255), un(p & 255),
                       static_cast<unsigned char>(a)};
}

bool validUtf8(const char* s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p) {
    int extra = 0;
    if (*p < 0x80) extra = 0;
    else if ((*p & 0xE0) == 0xC0 && *p >= 0xC2) extra = 1;
    else if ((*p & 0xF0) == 0xE0) extra = 2;
    else if ((*p & 0xF8) == 0xF0 && *p <= 0xF4) extra = 3;
    else return false;
    ++p;
    for (int i = 0; i < extra; ++i, ++p)
      if ((*p & 0xC0) != 0x80) return false;
  }
  return true;
}

// cairo stops working for good after one invalid string, and texts from
// presets or hosts may be Latin-1: such bytes are read as Latin-1.
std::string toUtf8(const char* s) {
  if (validUtf8(s)) return std::string(s);
  std::string out;
  for (const auto* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    if (*p < 0x80) {
      out.push_back(static_cast<char>(*p));
    } else {
      out.push_back(static_cast<char>(0xC0 | (*p >> 6)));
      out.push_back(static_cast<char>(0x80 | (*p & 0x3F)));
    }
  }
  return out;
}

void selectFont(cairo_t* cr, double size, bool bold, bool italic) {
  cairo_select_font_face(cr, "sans-serif", italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

bool goodFontSize(double size) { return isFinite(size) && size > 0.0 && size < 4096.0; }

cairo_status_t appendToVector(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<unsigned char>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

// ---- surfaces ----

PlatformSurface* platformSurfaceCreate(long width, long height) {
  if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
    return nullptr;
  cairo_surface_t* s =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  return ps(s);  // cairo clears new image surfaces to transparent
}

PlatformSurface* platformSurfaceWrap(unsigned char* data, long width, long height, long stride) {
  if (!data || width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
    return nullptr;
  if (stride < cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, static_cast<int>(width)) ||
      stride % 4 != 0 || stride > (1L << 30))
    return nullptr;
  cairo_surface_t* s = cairo_image_surface_create_for_data(
      data, CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height), static_cast<int>(stride));
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  return ps(s);
}

void platformSurfaceRetain(PlatformSurface* surface) {
  if (surface) cairo_surface_reference(cs(surface));
}

void platformSurfaceRelease(PlatformSurface* surface) {
  if (surface) cairo_surface_destroy(cs(surface));
}

long platformSurfaceWidth(const PlatformSurface* surface) {
  return surface ? cairo_image_surface_get_width(cs(surface)) : 0;
}

long platformSurfaceHeight(const PlatformSurface* surface) {
  return surface ? cairo_image_surface_get_height(cs(surface)) : 0;
}

unsigned char* platformSurfaceData(PlatformSurface* surface) {
  return surface ? cairo_image_surface_get_data(cs(surface)) : nullptr;
}

long platformSurfaceStride(const PlatformSurface* surface) {
  return surface ? cairo_image_surface_get_stride(cs(surface)) : 0;
}

void platformSurfaceBeginAccess(PlatformSurface* surface) {
  if (surface) cairo_surface_flush(cs(surface));
}

void platformSurfaceEndAccess(PlatformSurface* surface) {
  if (surface) cairo_surface_mark_dirty(cs(surface));
}

PlatformColor platformSurfaceGetPixel(PlatformSurface* surface, long x, long y) {
  if (!surface || x < 0 || y < 0 || x >= platformSurfaceWidth(surface) ||
      y >= platformSurfaceHeight(surface))
    return PlatformColor{0, 0, 0, 0};
  cairo_surface_flush(cs(surface));
  const unsigned char* row = platformSurfaceData(surface) + y * platformSurfaceStride(surface);
  uint32_t p;
  std::memcpy(&p, row + x * 4, 4);
  return unpremultiply(p);
}

PlatformSurface* platformSurfaceCopy(PlatformSurface* surface) {
  if (!surface) return nullptr;
  PlatformSurface* copy = platformSurfaceCreate(platformSurfaceWidth(surface), platformSurfaceHeight(surface));
  if (!copy) return nullptr;
  cairo_t* cr = cairo_create(cs(copy));
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, cs(surface), 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(cs(copy));
  return copy;
}

bool platformSurfaceWritePNG(PlatformSurface* surface, const char* path) {
  if (!surface || !path) return false;
  return cairo_surface_write_to_png(cs(surface), path) == CAIRO_STATUS_SUCCESS;
}

bool platformSurfaceEncodePNG(PlatformSurface* surface, std::vector<unsigned char>& out) {
  out.clear();
  if (!surface) return false;
  return cairo_surface_write_to_png_stream(cs(surface), appendToVector, &out) == CAIRO_STATUS_SUCCESS;
}

// ---- contexts ----

PlatformContext* platformContextCreate(PlatformSurface* target) {
  if (!target) return nullptr;
  cairo_t* cr = cairo_create(cs(target));
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    return nullptr;
  }
  auto* c = new PlatformContext;
  c->cr = cr;
  c->target = target;
  platformSurfaceRetain(target);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  // Square caps make a line cover both of its end pixels.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  return c;
}

void platformContextDestroy(PlatformContext* context) {
  if (!context) return;
  cairo_destroy(context->cr);
  platformSurfaceRelease(context->target);
  delete context;
}

PlatformSurface* platformContextTarget(PlatformContext* context) {
  return context ? context->target : nullptr;
}

void platformSave(PlatformContext* context) {
  if (usable(context)) cairo_save(context->cr);
}

void platformRestore(PlatformContext* context) {
  if (usable(context)) cairo_restore(context->cr);
}

void platformClipRect(PlatformContext* context, long x, long y, long width, long height) {
  if (!usable(context)) return;
  cairo_new_path(context->cr);
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  cairo_rectangle(context->cr, static_cast<double>(x), static_cast<double>(y),
                  static_cast<double>(width), static_cast<double>(height));
  cairo_clip(context->cr);
}

void platformSetStrokeColor(PlatformContext* context, PlatformColor color) {
  if (!context) return;
  context->stroke = color;
  ++context->stateChanges;
}

void platformSetFillColor(PlatformContext* context, PlatformColor color) {
  if (!context) return;
  context->fill = color;
  ++context->stateChanges;
}

void platformSetLineWidth(PlatformContext* context, double width) {
  if (!context) return;
  context->lineWidth = (isFinite(width) && width > 0.0) ? (width < 1e4 ? width : 1e4) : 0.0;
  ++context->stateChanges;
}

void platformSetLineStyle(PlatformContext* context, PlatformLineStyle style) {
  if (!context) return;
  context->lineStyle = style;
  ++context->stateChanges;
}

void platformSetAntialias(PlatformContext* context, bool on) {
  if (!context) return;
  context->antialias = on;
  ++context->stateChanges;
}

long platformStateChanges(const PlatformContext* context) {
  return context ? context->stateChanges : 0;
}

void platformNewPath(PlatformContext* context) {
  if (usable(context)) cairo_new_path(context->cr);
}

void platformMoveTo(PlatformContext* context, double x, double y) {
  if (usable(context) && isFinite(x) && isFinite(y)) cairo_move_to(context->cr, x, y);
}

void platformLineTo(PlatformContext* context, double x, double y) {
  if (usable(context) && isFinite(x) && isFinite(y)) cairo_line_to(context->cr, x, y);
}

void platformClosePath(PlatformContext* context) {
  if (usable(context)) cairo_close_path(context->cr);
}

void platformRectangle(PlatformContext* context, double x, double y, double width, double height) {
  if (usable(context) && isFinite(x) && isFinite(y) && isFinite(width) && isFinite(height))
    cairo_rectangle(context->cr, x, y, width, height);
}

void platformEllipseArc(PlatformContext* context, double x, double y, double width,
                        double height, double angle1, double angle2) {
  if (!usable(context)) return;
  // A flat ellipse would make the scaling below singular, which cairo never forgives.
  if (!(isFinite(x) && isFinite(y) && isFinite(width) && isFinite(height) && isFinite(angle1) &&
        isFinite(angle2)) ||
      width <= 0.0 || height <= 0.0)
    return;
  cairo_t* cr = context->cr;
  cairo_matrix_t saved;
  cairo_get_matrix(cr, &saved);
  cairo_translate(cr, x + width / 2.0, y + height / 2.0);
  cairo_scale(cr, width / 2.0, height / 2.0);
  cairo_arc(cr, 0.0, 0.0, 1.0, angle1, angle2);
  cairo_set_matrix(cr, &saved);
}

void platformStroke(PlatformContext* context) {
  if (!usable(context)) return;
  if (context->lineWidth <= 0.0) {
    cairo_new_path(context->cr);
    return;
  }
  applyStrokeState(context);
  cairo_stroke(context->cr);
}

void platformFill(PlatformContext* context) {
  if (!usable(context)) return;
  applyFillState(context);
  cairo_fill(context->cr);
}

void platformFillPreserve(PlatformContext* context) {
  if (!usable(context)) return;
  applyFillState(context);
  cairo_fill_preserve(context->cr);
}

void platformDrawText(PlatformContext* context, const char* utf8, double x, double y,
                      double size, bool bold, bool italic, PlatformColor color) {
  if (!usable(context) || !utf8 || !*utf8 || !goodFontSize(size) || !isFinite(x) || !isFinite(y))
    return;
  std::string text = toUtf8(utf8);
  cairo_t* cr = context->cr;
  selectFont(cr, size, bold, italic);
  setSource(cr, color);
  cairo_new_path(cr);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
  cairo_new_path(cr);
}

double platformTextWidth(PlatformContext* context, const char* utf8, double size, bool bold,
                         bool italic) {
  if (!usable(context) || !utf8 || !*utf8 || !goodFontSize(size)) return 0.0;
  std::string text = toUtf8(utf8);
  selectFont(context->cr, size, bold, italic);
  cairo_text_extents_t extents;
  cairo_text_extents(context->cr, text.c_str(), &extents);
  return extents.x_advance;
}

void platformFontExtents(PlatformContext* context, double size, bool bold, bool italic,
                         double& ascent, double& descent) {
  ascent = descent = 0.0;
  if (!usable(context) || !goodFontSize(size)) return;
  selectFont(context->cr, size, bold, italic);
  cairo_font_extents_t extents;
  cairo_font_extents(context->cr, &extents);
  ascent = extents.ascent;
  descent = extents.descent;
}

void platformDrawPicture(PlatformContext* context, PlatformSurface* picture, long srcX,
                         long srcY, long width, long height, long dstX, long dstY,
                         unsigned char alpha) {
  if (!usable(context) || !picture || width <= 0 || height <= 0 || alpha == 0) return;
  cairo_t* cr = context->cr;
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, static_cast<double>(dstX), static_cast<double>(dstY),
                  static_cast<double>(width), static_cast<double>(height));
  cairo_clip(cr);
  cairo_set_source_surface(cr, cs(picture), static_cast<double>(dstX - srcX),
                           static_cast<double>(dstY - srcY));
  if (alpha == 255)
    cairo_paint(cr);
  else
    cairo_paint_with_alpha(cr, alpha / 255.0);
  cairo_restore(cr);
}

PlatformColor platformGetPixel(PlatformContext* context, long x, long y) {
  if (!context) return PlatformColor{0, 0, 0, 0};
  return platformSurfaceGetPixel(context->target, x, y);
}

void platformSetPixel(PlatformContext* context, long x, long y, PlatformColor color) {
  if (!context || !context->target) return;
  PlatformSurface* s = context->target;
  if (x < 0 || y < 0 || x >= platformSurfaceWidth(s) || y >= platformSurfaceHeight(s)) return;
  cairo_surface_flush(cs(s));
  uint32_t p = premultiply(color);
  std::memcpy(platformSurfaceData(s) + y * platformSurfaceStride(s) + x * 4, &p, 4);
  cairo_surface_mark_dirty_rectangle(cs(s), static_cast<int>(x), static_cast<int>(y), 1, 1);
}

void platformFloodFill(PlatformContext* context, long x, long y, PlatformColor color, long clipX,
                       long clipY, long clipW, long clipH) {
  if (!context || !context->target) return;
  PlatformSurface* s = context->target;
  long left = clipX > 0 ? clipX : 0;
  long top = clipY > 0 ? clipY : 0;
  long right = clipX + clipW < platformSurfaceWidth(s) ? clipX + clipW : platformSurfaceWidth(s);
  long bottom = clipY + clipH < platformSurfaceHeight(s) ? clipY + clipH : platformSurfaceHeight(s);
  if (x < left || x >= right || y < top || y >= bottom) return;
  cairo_surface_flush(cs(s));
  unsigned char* data = platformSurfaceData(s);
  long stride = platformSurfaceStride(s);
  auto at = [&](long px, long py) { return reinterpret_cast<uint32_t*>(data + py * stride + px * 4); };
  uint32_t target = *at(x, y);
  uint32_t replacement = premultiply(color);
  if (target == replacement) return;
  // An explicit stack: the area may hold every pixel of the surface.
  std::vector<std::pair<long, long>> pending{{x, y}};
  while (!pending.empty()) {
    auto [px, py] = pending.back();
    pending.pop_back();
    if (px < left || px >= right || py < top || py >= bottom || *at(px, py) != target) continue;
    *at(px, py) = replacement;
    pending.push_back({px + 1, py});
    pending.push_back({px - 1, py});
    pending.push_back({px, py + 1});
    pending.push_back({px, py - 1});
  }
  cairo_surface_mark_dirty(cs(s));
}

void platformFlush(PlatformContext* context) {
  if (context && context->target) cairo_surface_flush(cs(context->target));
}
