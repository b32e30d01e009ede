// Layout of the gallery: a grid of wells, each with a caption naming the
// class shown in it.
#include "tools/gallery/gallery_panel.h"

#include <cmath>
#include <cstring>

#include "editor/family/cbuttonmatrix.h"
#include "editor/family/ccharacterdisplay.h"
#include "editor/family/cdecimaldigit.h"
#include "editor/family/cdrawbuffer.h"
#include "editor/family/cmoviecharacterdisplay.h"
#include "editor/family/cmoviemeter.h"
#include "editor/family/cmultibutton.h"
#include "editor/family/cradiobutton.h"
#include "editor/family/cselectorswitch.h"
#include "editor/family/cslidergroup.h"
#include "gui/cbitmap.h"
#include "gui/cframe.h"
#include "gui/controls/cautoanimation.h"
#include "gui/controls/ckickbutton.h"
#include "gui/controls/cmoviebitmap.h"
#include "gui/controls/conoffbutton.h"
#include "gui/controls/coptionmenu.h"
#include "gui/controls/cparamdisplay.h"
#include "gui/controls/crockerswitch.h"
#include "gui/controls/cslider.h"
#include "gui/controls/cdigitstrip.h"
#include "gui/controls/cstyles.h"
#include "gui/controls/cswitches.h"
#include "gui/controls/ctextedit.h"
#include "gui/controls/ctextlabel.h"
#include "gui/controls/cvumeter.h"
#include "tools/gallery/gallery_colours.h"

namespace gallery {

namespace {

constexpr double kTwoPi = 6.28318530717958647692;

enum Tag : long {
  kTagOnOff = 1,
  kTagKick,
  kTagRocker,
  kTagMulti,
  kTagRadio1,
  kTagRadio2,
  kTagRadio3,
  kTagMatrix,
  kTagVerticalSwitch,
  kTagHorizontalSwitch,
  kTagSelector,
  kTagAnimation,
  kTagMovieBitmap,
  kTagSliderGroup,
  kTagSlider,
  kTagHorizontalSlider,
  kTagVerticalSlider,
  kTagVuMeter,
  kTagMovieMeter,
  kTagDrawBuffer,
  kTagSpecialDigit,
  kTagDecimalDigit,
  kTagParamDisplay,
  kTagTextLabel,
  kTagTextEdit,
  kTagOptionMenu,
  kTagCharacterDisplay,
  kTagMovieCharacterDisplay,
  kTagSchemeMenu,
  kTagEnd
};

constexpr const char* kClassNames[kTagEnd] = {
    nullptr,           "COnOffButton",      "CKickButton",       "CRockerSwitch",
    "CMultiButton",    "CRadioButton",      "CRadioButton",      "CRadioButton",
    "CButtonMatrix",   "CVerticalSwitch",   "CHorizontalSwitch", "CSelectorSwitch",
    "CAutoAnimation",  "CMovieBitmap",      "CSliderGroup",      "CSlider",
    "CHorizontalSlider", "CVerticalSlider", "CVuMeter",          "CMovieMeter",
    "CDrawBuffer",     "CSpecialDigit",     "CDecimalDigit",     "CParamDisplay",
    "CTextLabel",      "CTextEdit",         "COptionMenu",       "CCharacterDisplay",
    "CMovieCharacterDisplay", "COptionMenu"};

struct Well {
  const char* caption;
  long column, row, span;
  CFont font = kNormalFontSmall;  // smaller for captions naming two classes
};

// The wells in reading order; the index is used when placing.
enum WellIndex {
  kWellOnOff, kWellKick, kWellRocker, kWellMulti, kWellRadio, kWellMatrix,
  kWellVSwitch, kWellHSwitch, kWellSelector, kWellAnimation, kWellMovieBitmap, kWellSliderGroup,
  kWellSlider, kWellHSlider, kWellVSlider, kWellVu, kWellMeter, kWellDrawBuffer,
  kWellSpecialDigit, kWellDecimalDigit, kWellParamDisplay, kWellTextLabel, kWellTextEdit,
  kWellOptionMenu,
  kWellCharacterDisplay, kWellMovieCharacterDisplay, kWellScheme,
  kWellCount
};

constexpr Well kWells[kWellCount] = {
    {"COnOffButton", kOnOffColumn, kOnOffRow, 1},      {"CKickButton", 1, 0, 1},
    {"CRockerSwitch", 2, 0, 1},     {"CMultiButton", 3, 0, 1},
    {"CRadioButton, CRadioGroup", 4, 0, 1, kNormalFontVerySmall}, {"CButtonMatrix", 5, 0, 1},
    {"CVerticalSwitch", 0, 1, 1},   {"CHorizontalSwitch", 1, 1, 1},
    {"CSelectorSwitch", 2, 1, 1},   {"CAutoAnimation", 3, 1, 1},
    {"CMovieBitmap", 4, 1, 1},      {"CSliderGroup", 5, 1, 1},
    {"CSlider", 0, 2, 1},           {"CHorizontalSlider", 1, 2, 1},
    {"CVerticalSlider", 2, 2, 1},   {"CVuMeter", 3, 2, 1},
    {"CMovieMeter", 4, 2, 1},       {"CDrawBuffer", 5, 2, 1},
    {"CSpecialDigit", 0, 3, 1},     {"CDecimalDigit", 1, 3, 1},
    {"CParamDisplay", 2, 3, 1},     {"CTextLabel", 3, 3, 1},
    {"CTextEdit", 4, 3, 1},         {"COptionMenu", 5, 3, 1},
    {"CCharacterDisplay", 0, 4, 1}, {"CMovieCharacterDisplay", 1, 4, 4},
    {"COptionMenuScheme", 5, 4, 1}};

CRect wellRect(const Well& w) { return gallery::wellRect(w.column, w.row, w.span); }

CRect stage(WellIndex i) { return stageRect(kWells[i].column, kWells[i].row, kWells[i].span); }

void styleText(CParamDisplay* d, CColor back, CColor font, CFont fontId, bool framed) {
  d->setBackColor(back);
  d->setFontColor(font);
  d->setFrameColor(kMetal);
  d->setFont(fontId);
  if (!framed) d->setStyle(d->getStyle() | kNoFrame);
}

CTextLabel* caption(const Well& w) {
  CRect r = wellRect(w);
  r.inset(4, 0);
  r.top += 3;
  r.bottom = r.top + kCaptionHeight - 4;
  auto* label = new CTextLabel(r, w.caption);
  styleText(label, kCell, kCream, w.font, false);
  return label;
}

void levelText(float value, char* text) {
  std::snprintf(text, kParamDisplayTextSize, "Level %.2f", static_cast<double>(value));
}

// The plain character display keeps its text without drawing it; here it
// shows that text in the toolkit's font over its window picture, with the
// justification it holds.
class TextCharacterDisplay : public CCharacterDisplay {
 public:
  using CCharacterDisplay::CCharacterDisplay;
  void draw(CDrawContext* context) override {
    CCharacterDisplay::draw(context);
    context->setFont(kNormalFont, 16, kBoldFace);
    context->setFontColor(kCream);
    const CHoriTxtAlign align = getJustification() == kLeftJustified    ? kLeftText
                                : getJustification() == kRightJustified ? kRightText
                                                                        : kCenterText;
    CRect r = viewSize;
    r.inset(6, 0);
    context->drawString(getDisplayString().c_str(), r, false, align);
    setDirty(false);
  }
};

}  // namespace

const char* classNameOfTag(long tag) {
  return tag > 0 && tag < kTagEnd ? kClassNames[tag] : nullptr;
}

void ReportPrinter::valueChanged(CDrawContext*, CControl* control) {
  if (!control) return;
  const long tag = control->getTag();
  const char* name = classNameOfTag(tag);
  // The matrix keeps its cells apart from the control's value field.
  float value = control->getValue();
  if (tag == kTagMatrix) value = static_cast<CButtonMatrix*>(control)->getValue();
  std::fprintf(out, "%s tag %ld value %g\n", name ? name : "CControl", tag,
               static_cast<double>(value));
  std::fflush(out);
  if (tag == followedTag && follower) {
    follower->setValue(value);
    follower->setDirty(true);
  }
}

Panel::Panel(std::FILE* reports) : printer(reports) {}

Panel::~Panel() = default;

void Panel::populate(CFrame& frame) {
  CellBox cells[kWellCount];
  for (long i = 0; i < kWellCount; ++i) {
    const CRect r = wellRect(kWells[i]);
    cells[i] = {r.left, r.top, r.right, r.bottom};
  }
  drawPictures(frame, kPanelWidth, kPanelHeight, cells, kWellCount,
               "Junkyard Reverb \xE2\x80\x94 control gallery", pictures);
  frame.setBackground(pictures.backdrop);
  for (const Well& w : kWells) frame.addView(caption(w));

  CPoint origin(0, 0);
  CControlListener* l = &printer;
  const Pictures& p = pictures;

  // Buttons.
  frame.addView(new COnOffButton(centred(stage(kWellOnOff), kButtonSize, kButtonSize), l,
                                 kTagOnOff, p.onOff, kPreListenerUpdate));
  frame.addView(new CKickButton(centred(stage(kWellKick), kKickWidth, kKickHeight), l, kTagKick,
                                p.kick, origin));
  frame.addView(new CRockerSwitch(centred(stage(kWellRocker), kRockerWidth, kRockerHeight), l,
                                  kTagRocker, p.rocker, origin, kHorizontal));
  auto* multi = new CMultiButton(centred(stage(kWellMulti), kMultiWidth, kMultiHeight), l,
                                 kTagMulti, kMultiStates, p.multi, origin);
  multi->setValue(1.0f / kMultiStates);
  frame.addView(multi);

  radioGroup = std::make_unique<CRadioGroup>(l);
  const long radioTags[] = {kTagRadio1, kTagRadio2, kTagRadio3};
  for (long i = 0; i < 3; ++i) {
    CRect r = centred(stage(kWellRadio), kRadioSize, kRadioSize, (i - 1) * 40, -8);
    auto* button = new CRadioButton(r, radioGroup.get(), static_cast<int>(radioTags[i]), p.radio);
    if (i == 0) button->setValue(1.0f);
    frame.addView(button);
    static const char* const names[] = {"Hall", "Room", "Plate"};
    CRect under(r.left - 12, r.bottom + 2, r.right + 12, r.bottom + 18);
    auto* label = new CTextLabel(under, names[i]);
    styleText(label, kCell, kCreamDim, kNormalFontVerySmall, false);
    frame.addView(label);
  }

  auto* matrix = new CButtonMatrix(centred(stage(kWellMatrix), 8 * kCellWidth, 4 * kCellHeight),
                                   4, 8, l, kTagMatrix, p.matrixCell);
  unsigned char pattern[32] = {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                               0, 1, 0, 0, 0, 1, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1};
  matrix->setAllValues(pattern);
  frame.addView(matrix);

  // Switches and pictures that move.
  auto* vSwitch = new CVerticalSwitch(centred(stage(kWellVSwitch), kVSwitchWidth, kVSwitchHeight),
                                      l, kTagVerticalSwitch, kSwitchPositions, kVSwitchHeight,
                                      kSwitchPositions, p.verticalSwitch, origin);
  vSwitch->setValue(0.5f);
  frame.addView(vSwitch);
  auto* hSwitch = new CHorizontalSwitch(
      centred(stage(kWellHSwitch), kHSwitchWidth, kHSwitchHeight), l, kTagHorizontalSwitch,
      kSwitchPositions, kHSwitchHeight, kSwitchPositions, p.horizontalSwitch, origin);
  hSwitch->setValue(0.25f);
  frame.addView(hSwitch);
  auto* selector = new CSelectorSwitch(centred(stage(kWellSelector), kSelectorWidth,
                                               kSelectorHeight),
                                       l, kTagSelector, kSelectorRows, kSelectorColumns,
                                       p.selector, origin);
  selector->setValue(0.8f);  // position 4 of 0..5
  frame.addView(selector);
  fan = new CAutoAnimation(centred(stage(kWellAnimation), kAnimSize, kAnimSize), l, kTagAnimation,
                           kAnimFrames, kAnimSize, p.animation, origin);
  fan->openWindow();
  frame.addView(fan);
  dial = new CMovieBitmap(centred(stage(kWellMovieBitmap), kDialSize, kDialSize), l,
                          kTagMovieBitmap, p.dial, origin);
  frame.addView(dial);
  auto* group = new CSliderGroup(centred(stage(kWellSliderGroup), kGroupWidth, kGroupHeight), l,
                                 kTagSliderGroup, kGroupSliders, p.groupHandle,
                                 p.groupBackground);
  const float groupValues[kGroupSliders] = {0.8f, 0.35f, 0.6f, 0.15f};
  for (long i = 0; i < kGroupSliders; ++i) group->setValue(i, groupValues[i]);
  frame.addView(group);

  // Sliders and meters.
  auto* slider = new CSlider(centred(stage(kWellSlider), kSliderLength, kSliderThickness), l,
                             kTagSlider, 2, kSliderLength - 2, p.handleH, p.sliderTrackH, origin,
                             kHorizontal | kRight);
  slider->setValue(0.3f);
  frame.addView(slider);
  auto* hSlider = new CHorizontalSlider(
      centred(stage(kWellHSlider), kSliderLength, kSliderThickness), l, kTagHorizontalSlider, 2,
      kSliderLength - 2, p.handleH, p.sliderTrackH, origin, kLeft);
  hSlider->setValue(0.7f);
  frame.addView(hSlider);
  auto* vSlider = new CVerticalSlider(
      centred(stage(kWellVSlider), kSliderThickness, kSliderLength), l, kTagVerticalSlider, 2,
      kSliderLength - 2, p.handleV, p.sliderTrackV, origin, kBottom);
  vSlider->setValue(0.55f);
  frame.addView(vSlider);
  vu = new CVuMeter(centred(stage(kWellVu), kVuWidth, kVuHeight), p.vuOn, p.vuOff, kVuSegments,
                    kVertical);
  vu->setTag(kTagVuMeter);
  frame.addView(vu);
  const CRect meterArea = stage(kWellMeter);
  meter = new CMovieMeter(centred(meterArea, kMeterWidth, kMeterHeight, 0, -26), l,
                          kTagMovieMeter, p.meter, origin, true, true);
  frame.addView(meter);
  // The two reserved frames on show: an overloaded meter and a switched-off one.
  auto* overloaded = new CMovieMeter(centred(meterArea, kMeterWidth, kMeterHeight), l,
                                     kTagMovieMeter, p.meter, origin, true, true);
  overloaded->setValue(1.5f);
  frame.addView(overloaded);
  auto* inactive = new CMovieMeter(centred(meterArea, kMeterWidth, kMeterHeight, 0, 26), l,
                                   kTagMovieMeter, p.meter, origin, true, true);
  inactive->setValue(0.5f);
  inactive->setActive(false);
  frame.addView(inactive);
  scope = new CDrawBuffer(centred(stage(kWellDrawBuffer), kScopeWidth, kScopeHeight), l,
                          kTagDrawBuffer, p.scope);
  CColor wave = kAmber;
  scope->setWaveColor(wave);
  frame.addView(scope);
  animate(0);

  // Numbers and texts.
  frame.addView(new CSpecialDigit(centred(stage(kWellSpecialDigit), 4 * kDigitWidth, kDigitHeight),
                                  l, kTagSpecialDigit, 2026, 4, nullptr, nullptr, kDigitWidth,
                                  kDigitHeight, p.digits));
  constexpr int kDecimalSpacing = 1;
  auto* decimal = new CDecimalDigit(
      centred(stage(kWellDecimalDigit), 6 * (kDigitWidth + kDecimalSpacing), kDigitHeight), l,
      kTagDecimalDigit, -12, 3, kDecimalSpacing, kDigitWidth, kDigitHeight, p.digits);
  decimal->setFracDigits(1);
  decimal->setValue(-12.5f);
  frame.addView(decimal);

  auto* display = new CParamDisplay(centred(stage(kWellParamDisplay), 128, 26));
  styleText(display, kLcd, kAmber, kNormalFontSmall, true);
  display->setTag(kTagParamDisplay);
  display->setStringConvert(levelText);
  display->setValue(hSlider->getValue());
  printer.follow(kTagHorizontalSlider, display);
  frame.addView(display);
  auto* label = new CTextLabel(centred(stage(kWellTextLabel), 136, 26), "Junkyard Reverb");
  styleText(label, kCell, kAmber, kNormalFont, false);
  label->setTag(kTagTextLabel);
  frame.addView(label);
  auto* edit = new CTextEdit(centred(stage(kWellTextEdit), 128, 26), l, kTagTextEdit,
                             "Click to edit");
  styleText(edit, kPanelDeep, kCream, kNormalFontSmall, true);
  frame.addView(edit);

  auto* menu = new COptionMenu(centred(stage(kWellOptionMenu), 128, 26), l, kTagOptionMenu);
  for (const char* entry : {"Hall", "Room", "Plate", "-", "Spring"}) menu->addEntry(entry);
  menu->setCurrent(2);
  styleText(menu, kPanelDeep, kCream, kNormalFontSmall, true);
  frame.addView(menu);
  auto* schemed = new COptionMenu(centred(stage(kWellScheme), 128, 26), l, kTagSchemeMenu);
  for (const char* entry : {"Mic", "Line"}) schemed->addEntry(entry);
  schemed->setCurrent(1);
  styleText(schemed, kPanelDeep, kAmber, kNormalFontSmall, true);
  auto* scheme = new COptionMenuScheme;
  scheme->setColors(kPanelDeep, kAmber, kCream, kPanelDeep, kCreamDim);
  schemed->setScheme(scheme);
  scheme->forget();  // the menu keeps its own reference
  frame.addView(schemed);

  auto* plain = new TextCharacterDisplay(centred(stage(kWellCharacterDisplay), kLcdWidth,
                                                 kLcdHeight),
                                         kTagCharacterDisplay);
  plain->setBackground(p.lcd);
  plain->setDisplayString("JUNKYARD");
  frame.addView(plain);
  const CRect banner = stage(kWellMovieCharacterDisplay);
  const long characters = (banner.right - banner.left - 24) / kCharWidth;
  auto* movieText = new CMovieCharacterDisplay(
      centred(banner, characters * kCharWidth, kCharHeight), kTagMovieCharacterDisplay,
      p.characters);
  movieText->setDisplayString("JUNKYARD");
  frame.addView(movieText);
}

void Panel::animate(long ms) {
  const double t = static_cast<double>(ms) / 1000.0;
  if (vu) {
    vu->setValue(static_cast<float>(0.5 + 0.45 * std::sin(kTwoPi * t / 2.6)));
    vu->setDirty(true);
  }
  if (meter) {
    meter->setValue(static_cast<float>(0.5 + 0.5 * std::sin(kTwoPi * t / 3.1 + 1.0)));
    meter->setDirty(true);
  }
  if (dial) {
    dial->setValue(static_cast<float>(0.5 + 0.5 * std::sin(kTwoPi * t / 4.0)));
    dial->setDirty(true);
  }
  if (fan && fan->isWindowOpened() && ms - lastFanStep >= 80) {
    lastFanStep = ms;
    fan->nextPixmap();
    fan->setDirty(true);
  }
  if (scope) {
    // The wave scrolls one column per idle; the first call fills the screen.
    float samples[kScopeWidth];
    const long count = scopeSamples == 0 ? kScopeWidth : 1;
    for (long i = 0; i < count; ++i, ++scopeSamples)
      samples[i] = static_cast<float>(0.8 * std::sin(kTwoPi * static_cast<double>(scopeSamples) /
                                                     (kScopeWidth / 2.0)));
    scope->setData(samples, count);
    scope->setDirty(true);
  }
}

}  // namespace gallery
