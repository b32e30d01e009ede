// Picture strips drawn with the toolkit's own primitives into offscreen
// bitmaps. Frames of a strip are stacked top to bottom; each is drawn by one
// function of its frame index so the strips stay in step with the controls
// that pick frames out of them.
#include "tools/gallery/gallery_pictures.h"

#include <cmath>
#include <functional>

#include "gui/cbitmap.h"
#include "gui/cframe.h"
#include "gui/coffscreen_context.h"
#include "tools/gallery/gallery_colours.h"

namespace gallery {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A bitmap with a drawing context over it; finish() hands the bitmap over.
class Painter {
 public:
  Painter(CFrame& frame, long width, long height, CColor ground)
      : bitmap(new CBitmap(frame, width, height)),
        context(new COffscreenContext(nullptr, bitmap, false)) {
    fill(CRect(0, 0, width, height), ground);
  }
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;
  ~Painter() {
    if (context) context->forget();
  }

  CDrawContext& draw() { return *context; }

  void fill(const CRect& r, CColor colour) {
    context->setFillColor(colour);
    context->fillRect(r);
  }
  void frameRect(const CRect& r, CColor colour, long width = 1) {
    context->setFrameColor(colour);
    context->setLineWidth(width);
    context->drawRect(r, kDrawStroked);
    context->setLineWidth(1);
  }
  void disc(const CRect& r, CColor colour) {
    context->setFillColor(colour);
    context->drawEllipse(r, kDrawFilled);
  }
  void ring(const CRect& r, CColor colour, long width = 1) {
    context->setFrameColor(colour);
    context->setLineWidth(width);
    context->drawEllipse(r, kDrawStroked);
    context->setLineWidth(1);
  }
  void line(long x0, long y0, long x1, long y1, CColor colour, long width = 1) {
    context->setFrameColor(colour);
    context->setLineWidth(width);
    context->moveTo(CPoint(x0, y0));
    context->lineTo(CPoint(x1, y1));
    context->setLineWidth(1);
  }
  void text(const char* s, const CRect& r, CColor colour, long size, bool bold = true,
            CHoriTxtAlign align = kCenterText) {
    context->setFont(kNormalFont, size, bold ? kBoldFace : kNormalFace);
    context->setFontColor(colour);
    context->drawString(s, r, false, align);
  }

  // The bitmap with its one reference, for the caller to keep.
  CBitmap* finish() {
    context->forget();
    context = nullptr;
    return bitmap;
  }

 private:
  CBitmap* bitmap;
  COffscreenContext* context;
};

// A strip of `frames` frames of width × height, frame k drawn by paint(p, k, top).
CBitmap* strip(CFrame& frame, long width, long height, long frames, CColor ground,
               const std::function<void(Painter&, long, long)>& paint) {
  Painter p(frame, width, height * frames, ground);
  for (long k = 0; k < frames; ++k) paint(p, k, k * height);
  return p.finish();
}

CRect box(long left, long top, long width, long height) {
  return CRect(left, top, left + width, top + height);
}

// A lamp button: metal bezel, dark well, amber lamp lit or not.
void lampButton(Painter& p, long top, long size, bool lit) {
  const long s = size;
  p.disc(box(1, top + 1, s - 2, s - 2), kMetal);
  p.ring(box(1, top + 1, s - 2, s - 2), kMetalLight);
  p.disc(box(s / 8, top + s / 8, s - s / 4, s - s / 4), kPanelDeep);
  const long lamp = s / 3;
  const long inset = (s - lamp) / 2;
  p.disc(box(inset, top + inset, lamp, lamp), lit ? kAmber : kAmberDark);
  if (lit) p.disc(box(inset + lamp / 4, top + inset + lamp / 5, lamp / 3, lamp / 4), kCream);
}

// A raised (or pressed) key with a word on it.
void keyCap(Painter& p, long top, long width, long height, const char* word, bool pressed) {
  const CRect body = box(1, top + 1, width - 2, height - 2);
  p.fill(body, pressed ? kAmber : kMetal);
  p.frameRect(body, kPanelDeep);
  const CColor lightEdge = pressed ? kAmberDark : kMetalLight;
  p.line(2, top + 2, width - 3, top + 2, lightEdge);
  p.line(2, top + 2, 2, top + height - 3, lightEdge);
  p.text(word, box(0, top + (pressed ? 1 : 0), width, height), kPanelDeep, 12);
}

void drawVerticalSwitch(Painter& p, long k, long top) {
  const long travelTop = 10, travelBottom = kVSwitchHeight - 10;
  p.fill(box(kVSwitchWidth / 2 - 3, top + 4, 6, kVSwitchHeight - 8), kPanelDeep);
  for (long i = 0; i < kSwitchPositions; ++i) {
    const long y = top + travelTop + i * (travelBottom - travelTop) / (kSwitchPositions - 1);
    p.line(0, y, 3, y, kCreamDim);
    p.line(kVSwitchWidth - 4, y, kVSwitchWidth - 1, y, kCreamDim);
  }
  const long y = top + travelTop + k * (travelBottom - travelTop) / (kSwitchPositions - 1);
  p.fill(box(4, y - 5, kVSwitchWidth - 8, 10), kMetalLight);
  p.frameRect(box(4, y - 5, kVSwitchWidth - 8, 10), kPanelDeep);
  p.line(6, y, kVSwitchWidth - 7, y, kAmber, 2);
}

void drawHorizontalSwitch(Painter& p, long k, long top) {
  // Lever cells match the switch's hit cells: width / positions each.
  const long cell = kHSwitchWidth / kSwitchPositions;
  p.fill(box(4, top + kHSwitchHeight / 2 - 3, kHSwitchWidth - 8, 6), kPanelDeep);
  for (long i = 0; i < kSwitchPositions; ++i) {
    const long x = i * cell + cell / 2;
    p.line(x, top, x, top + 3, kCreamDim);
    p.line(x, top + kHSwitchHeight - 4, x, top + kHSwitchHeight - 1, kCreamDim);
  }
  const long x = k * cell + cell / 2;
  p.fill(box(x - 5, top + 4, 10, kHSwitchHeight - 8), kMetalLight);
  p.frameRect(box(x - 5, top + 4, 10, kHSwitchHeight - 8), kPanelDeep);
  p.line(x, top + 6, x, top + kHSwitchHeight - 7, kAmber, 2);
}

void drawSelector(Painter& p, long k, long top) {
  const long cw = kSelectorWidth / kSelectorColumns, ch = kSelectorHeight / kSelectorRows;
  for (long r = 0; r < kSelectorRows; ++r)
    for (long c = 0; c < kSelectorColumns; ++c) {
      const long position = r * kSelectorColumns + c;
      const CRect cell = box(c * cw + 2, top + r * ch + 2, cw - 4, ch - 4);
      const bool chosen = position == k;
      p.fill(cell, chosen ? kAmber : kPanelDeep);
      p.frameRect(cell, chosen ? kCream : kCellEdge);
      char label[2] = {static_cast<char>('1' + position), 0};
      p.text(label, cell, chosen ? kPanelDeep : kCreamDim, 12);
    }
}

// A three-bladed fan turning by a twelfth of a third of a turn per frame, so
// the strip loops seamlessly.
void drawFan(Painter& p, long k, long top) {
  const long s = kAnimSize;
  p.disc(box(2, top + 2, s - 4, s - 4), kPanelDeep);
  p.ring(box(2, top + 2, s - 4, s - 4), kMetal, 2);
  const double cx = s / 2.0, cy = top + s / 2.0, r = s / 2.0 - 8;
  for (int blade = 0; blade < 3; ++blade) {
    const double a = (k * 120.0 / kAnimFrames + blade * 120.0) * kPi / 180.0;
    p.line(static_cast<long>(cx), static_cast<long>(cy), static_cast<long>(cx + r * std::cos(a)),
           static_cast<long>(cy - r * std::sin(a)), kAmber, 4);
  }
  p.disc(box(s / 2 - 5, top + s / 2 - 5, 10, 10), kMetalLight);
}

// A panel meter: scale from 225° to -45°, needle at frame k of the strip.
void drawDial(Painter& p, long k, long top) {
  const long s = kDialSize;
  p.disc(box(1, top + 1, s - 2, s - 2), kCream);
  p.ring(box(1, top + 1, s - 2, s - 2), kMetal, 2);
  const double cx = s / 2.0, cy = top + s / 2.0;
  for (long t = 0; t < kDialFrames; t += 3) {
    const double a = (225.0 - 270.0 * t / (kDialFrames - 1)) * kPi / 180.0;
    const double r0 = s / 2.0 - 9, r1 = s / 2.0 - 4;
    p.line(static_cast<long>(cx + r0 * std::cos(a)), static_cast<long>(cy - r0 * std::sin(a)),
           static_cast<long>(cx + r1 * std::cos(a)), static_cast<long>(cy - r1 * std::sin(a)),
           kPanelDeep, 2);
  }
  const double a = (225.0 - 270.0 * k / (kDialFrames - 1)) * kPi / 180.0;
  const double r = s / 2.0 - 7;
  p.line(static_cast<long>(cx), static_cast<long>(cy), static_cast<long>(cx + r * std::cos(a)),
         static_cast<long>(cy - r * std::sin(a)), kRedLamp, 2);
  p.disc(box(s / 2 - 4, top + s / 2 - 4, 8, 8), kPanelDeep);
}

// Segment colours from the bottom of the scale: green, then amber, then red.
CColor segmentColour(long i, long count, bool lit) {
  const CColor on = i >= count - 2 ? kRedLamp : i >= count - 4 ? kAmber : kGreenLamp;
  if (lit) return on;
  return MakeCColor(static_cast<unsigned char>(on.red / 4 + 14),
                    static_cast<unsigned char>(on.green / 4 + 18),
                    static_cast<unsigned char>(on.blue / 4 + 16));
}

CBitmap* vuPicture(CFrame& frame, bool lit) {
  Painter p(frame, kVuWidth, kVuHeight, kPanelDeep);
  for (long i = 0; i < kVuSegments; ++i) {
    // Segment i from the bottom, with a one-pixel gap above it.
    const long bottom = kVuHeight - i * kVuHeight / kVuSegments;
    const long top = kVuHeight - (i + 1) * kVuHeight / kVuSegments;
    p.fill(CRect(3, top + 1, kVuWidth - 3, bottom - 1), segmentColour(i, kVuSegments, lit));
  }
  return p.finish();
}

void drawMeter(Painter& p, long k, long top) {
  constexpr long segments = kMeterLevels - 1;
  const bool inactive = k == kMeterLevels;
  const bool overload = k == kMeterLevels + 1;
  for (long i = 0; i < segments; ++i) {
    const CRect seg(3 + i * (kMeterWidth - 6) / segments, top + 3,
                    3 + (i + 1) * (kMeterWidth - 6) / segments - 2, top + kMeterHeight - 3);
    CColor c = segmentColour(i, segments, overload || i < k);
    if (overload) c = kRedLamp;
    if (inactive) c = kCell;
    p.fill(seg, c);
  }
}

}  // namespace

Pictures::~Pictures() {
  CBitmap* all[] = {onOff,        radio,        kick,    rocker,      multi,      verticalSwitch,
                    horizontalSwitch, selector, animation, dial,      sliderTrackH, sliderTrackV,
                    handleH,      handleV,      digits,  characters,  vuOn,       vuOff,
                    meter,        matrixCell,   scope,   groupHandle, groupBackground, lcd,
                    backdrop};
  for (CBitmap* b : all)
    if (b) b->forget();
}

void drawPictures(CFrame& frame, long panelWidth, long panelHeight, const CellBox* cells,
                  long cellCount, const char* title, Pictures& out) {
  out.onOff = strip(frame, kButtonSize, kButtonSize, 2, kCell,
                    [](Painter& p, long k, long top) { lampButton(p, top, kButtonSize, k == 1); });
  out.radio = strip(frame, kRadioSize, kRadioSize, 2, kCell,
                    [](Painter& p, long k, long top) { lampButton(p, top, kRadioSize, k == 1); });
  out.kick = strip(frame, kKickWidth, kKickHeight, 2, kCell, [](Painter& p, long k, long top) {
    keyCap(p, top, kKickWidth, kKickHeight, "KICK", k == 1);
  });
  out.rocker = strip(frame, kRockerWidth, kRockerHeight, 3, kCell, [](Painter& p, long k, long top) {
    const long half = kRockerWidth / 2;
    p.fill(box(1, top + 1, kRockerWidth - 2, kRockerHeight - 2), kPanelDeep);
    p.fill(box(3, top + 3, half - 4, kRockerHeight - 6), k == 0 ? kAmber : kMetal);
    p.fill(box(half + 1, top + 3, half - 4, kRockerHeight - 6), k == 2 ? kAmber : kMetal);
    p.text("-", box(3, top, half - 4, kRockerHeight), kPanelDeep, 16);
    p.text("+", box(half + 1, top, half - 4, kRockerHeight), kPanelDeep, 16);
  });
  out.multi = strip(frame, kMultiWidth, kMultiHeight, kMultiStates, kCell,
                    [](Painter& p, long k, long top) {
                      static const char* const names[kMultiStates] = {"SINE", "TRI", "SAW", "SQR"};
                      const CRect body = box(1, top + 1, kMultiWidth - 2, kMultiHeight - 2);
                      p.fill(body, kLcd);
                      p.frameRect(body, kMetal);
                      p.text(names[k], box(0, top, kMultiWidth, kMultiHeight - 5), kAmber, 12);
                      for (long i = 0; i < kMultiStates; ++i)
                        p.fill(box(kMultiWidth / 2 - 13 + i * 7, top + kMultiHeight - 7, 5, 3),
                               i == k ? kAmber : kAmberDark);
                    });
  out.verticalSwitch =
      strip(frame, kVSwitchWidth, kVSwitchHeight, kSwitchPositions, kCell, drawVerticalSwitch);
  out.horizontalSwitch =
      strip(frame, kHSwitchWidth, kHSwitchHeight, kSwitchPositions, kCell, drawHorizontalSwitch);
  out.selector = strip(frame, kSelectorWidth, kSelectorHeight, kSelectorRows * kSelectorColumns,
                       kCell, drawSelector);
  out.animation = strip(frame, kAnimSize, kAnimSize, kAnimFrames, kCell, drawFan);
  out.dial = strip(frame, kDialSize, kDialSize, kDialFrames, kCell, drawDial);

  {
    Painter h(frame, kSliderLength, kSliderThickness, kCell);
    h.fill(box(4, kSliderThickness / 2 - 2, kSliderLength - 8, 4), kPanelDeep);
    for (long x = 8; x <= kSliderLength - 8; x += (kSliderLength - 16) / 8)
      h.line(x, 1, x, 4, kCreamDim);
    out.sliderTrackH = h.finish();
    Painter v(frame, kSliderThickness, kSliderLength, kCell);
    v.fill(box(kSliderThickness / 2 - 2, 4, 4, kSliderLength - 8), kPanelDeep);
    for (long y = 8; y <= kSliderLength - 8; y += (kSliderLength - 16) / 8)
      v.line(1, y, 4, y, kCreamDim);
    out.sliderTrackV = v.finish();
  }
  {
    Painter h(frame, kHandleLength, kSliderThickness, kMetalLight);
    h.frameRect(box(0, 0, kHandleLength, kSliderThickness), kPanelDeep);
    h.line(kHandleLength / 2, 3, kHandleLength / 2, kSliderThickness - 4, kAmber, 2);
    out.handleH = h.finish();
    Painter v(frame, kSliderThickness, kHandleLength, kMetalLight);
    v.frameRect(box(0, 0, kSliderThickness, kHandleLength), kPanelDeep);
    v.line(3, kHandleLength / 2, kSliderThickness - 4, kHandleLength / 2, kAmber, 2);
    out.handleV = v.finish();
  }

  out.digits = strip(frame, kDigitWidth, kDigitHeight, kDigitFrames, kLcd,
                     [](Painter& p, long k, long top) {
                       static const char* const glyphs[kDigitFrames] = {
                           "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "-", "+", "."};
                       p.text(glyphs[k], box(0, top, kDigitWidth, kDigitHeight), kAmber, 19);
                     });
  out.characters = strip(frame, kCharWidth, kCharHeight, kCharFrames, kLcd,
                         [](Painter& p, long k, long top) {
                           const char glyph[2] = {static_cast<char>(32 + k), 0};
                           p.text(glyph, box(0, top, kCharWidth, kCharHeight), kCream, 15);
                         });
  out.vuOn = vuPicture(frame, true);
  out.vuOff = vuPicture(frame, false);
  out.meter = strip(frame, kMeterWidth, kMeterHeight, kMeterLevels + 2, kPanelDeep, drawMeter);
  out.matrixCell = strip(frame, kCellWidth, kCellHeight, 2, kPanelDeep,
                         [](Painter& p, long k, long top) {
                           p.fill(box(2, top + 2, kCellWidth - 4, kCellHeight - 4),
                                  k == 1 ? kAmber : kAmberDark);
                         });
  {
    Painter s(frame, kScopeWidth, kScopeHeight, kLcd);
    for (long x = 0; x < kScopeWidth; x += kScopeWidth / 6) s.line(x, 0, x, kScopeHeight, kCell);
    for (long y = 0; y < kScopeHeight; y += kScopeHeight / 4) s.line(0, y, kScopeWidth, y, kCell);
    s.line(0, kScopeHeight / 2, kScopeWidth, kScopeHeight / 2, kCellEdge);
    s.frameRect(box(0, 0, kScopeWidth, kScopeHeight), kMetal);
    out.scope = s.finish();
  }
  {
    Painter h(frame, kGroupHandleWidth, kGroupHandleHeight, kMetalLight);
    h.frameRect(box(0, 0, kGroupHandleWidth, kGroupHandleHeight), kPanelDeep);
    h.line(3, kGroupHandleHeight / 2, kGroupHandleWidth - 4, kGroupHandleHeight / 2, kAmber, 2);
    out.groupHandle = h.finish();
    Painter b(frame, kGroupWidth, kGroupHeight, kCell);
    for (long k = 0; k < kGroupSliders; ++k) {
      const long centre = k * kGroupWidth / kGroupSliders + kGroupWidth / kGroupSliders / 2;
      b.fill(CRect(centre - 2, 3, centre + 2, kGroupHeight - 3), kPanelDeep);
    }
    out.groupBackground = b.finish();
  }
  {
    Painter l(frame, kLcdWidth, kLcdHeight, kLcd);
    l.frameRect(box(0, 0, kLcdWidth, kLcdHeight), kMetal);
    out.lcd = l.finish();
  }
  {
    Painter b(frame, panelWidth, panelHeight, kPanel);
    b.fill(CRect(0, 0, panelWidth, 40), kPanelDeep);
    b.line(0, 40, panelWidth, 40, kAmber, 2);
    b.text(title, CRect(16, 0, panelWidth - 16, 40), kCream, 18, true, kLeftText);
    for (long i = 0; i < cellCount; ++i) {
      const CRect r(cells[i].left, cells[i].top, cells[i].right, cells[i].bottom);
      b.fill(r, kCell);
      b.frameRect(r, kCellEdge);
    }
    out.backdrop = b.finish();
  }
}

}  // namespace gallery
