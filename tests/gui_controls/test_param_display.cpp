// Parameter display and text label: the value's text, and what is drawn
// (back, frame, 3-D edges, shadow, alignment) checked on the pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "gui/controls/cparamdisplay.h"
#include "gui/controls/ctextlabel.h"
#include "text_menu_support.h"

using namespace textmenutest;

namespace {

void percent(float value, char* text) {
  std::snprintf(text, 256, "%d%%", static_cast<int>(value * 100.0f));
}

void withUnit(float value, char* text, void* unit) {
  std::snprintf(text, 256, "%.1f %s", static_cast<double>(value), static_cast<const char*>(unit));
}

// A converter that fills the whole buffer without terminating it.
void overlong(float, char* text) { std::memset(text, 'x', 256); }

constexpr CColor kBack = {20, 40, 60, 255};
constexpr CColor kFrame = {200, 10, 10, 255};
constexpr CColor kShadow = {10, 200, 10, 255};
constexpr CColor kInk = {250, 250, 250, 255};
constexpr CColor kUnder = {90, 0, 90, 255};

// A 120 × 24 display at (10, 10) of a 140 × 44 surface.
struct DisplayPixels : ::testing::Test {
  Surface surface{140, 44, kUnder};
  CParamDisplay* display = new CParamDisplay(CRect(10, 10, 130, 34));

  DisplayPixels() {
    display->setBackColor(kBack);
    display->setFrameColor(kFrame);
    display->setShadowColor(kShadow);
    display->setFontColor(kInk);
  }
  ~DisplayPixels() override { display->forget(); }

  void draw() {
    Context context(surface);
    display->draw(context);
  }
};

}  // namespace

TEST(ParamDisplayText, ConversionsShapeTheValueText) {
  char unit[] = "ms";
  struct Case {
    const char* name;
    float value;
    std::function<void(CParamDisplay&)> setUp;
    std::string expected;
  };
  const Case cases[] = {
      {"plain two decimals", 0.25f, [](CParamDisplay&) {}, "0.25"},
      {"plain NaN", std::numeric_limits<float>::quiet_NaN(), [](CParamDisplay&) {}, "nan"},
      {"function", 0.5f, [](CParamDisplay& d) { d.setStringConvert(percent); }, "50%"},
      {"function with data", 2.5f, [&](CParamDisplay& d) { d.setStringConvert(withUnit, unit); },
       "2.5 ms"},
      {"null goes back to plain", 0.5f,
       [](CParamDisplay& d) {
         d.setStringConvert(percent);
         d.setStringConvert(static_cast<CParamDisplay::StringConvert>(nullptr));
       },
       "0.50"},
      {"unterminated output is cut", 0.0f, [](CParamDisplay& d) { d.setStringConvert(overlong); },
       std::string(kParamDisplayTextSize - 1, 'x')},
  };
  for (const Case& c : cases) {
    CParamDisplay display(CRect(0, 0, 50, 20));
    c.setUp(display);
    display.setValue(c.value);
    EXPECT_EQ(display.valueText(), c.expected) << c.name;
  }
}

TEST(ParamDisplayText, ClassNamesAnswerUpTheChain) {
  CTextLabel label(CRect(0, 0, 10, 10), "x");
  EXPECT_TRUE(label.isTypeOf("CTextLabel"));
  EXPECT_TRUE(label.isTypeOf("CParamDisplay"));
  EXPECT_TRUE(label.isTypeOf("CControl"));
  CParamDisplay display(CRect(0, 0, 10, 10));
  EXPECT_FALSE(display.isTypeOf("CTextLabel"));
}

TEST_F(DisplayPixels, BackFrameAndTextAreDrawnAndTheDisplayIsClean) {
  display->setValue(0.5f);
  draw();
  EXPECT_FALSE(display->isDirty());
  // Border pixels: columns left and right - 1, rows top and bottom - 1.
  for (CPoint p : {CPoint(10, 20), CPoint(129, 20), CPoint(60, 10), CPoint(60, 33)})
    EXPECT_EQ(surface.pixel(p.x, p.y), kFrame) << p.x << "," << p.y;
  EXPECT_EQ(surface.pixel(12, 12), kBack);
  EXPECT_EQ(surface.pixel(9, 20), kUnder);  // nothing outside
  EXPECT_EQ(surface.pixel(130, 20), kUnder);
  long first, last;
  inkSpan(surface, CRect(11, 11, 129, 33), kBack, first, last);
  EXPECT_GT(first, 11);
  EXPECT_GE(last, first);
}

TEST_F(DisplayPixels, StyleBitsChangeWhatIsDrawn) {
  struct Case {
    const char* name;
    long style;
    bool textTransparent;
    CPoint where;
    CColor expected;
  };
  const Case cases[] = {
      {"no frame: border is back", kNoFrame, false, CPoint(10, 20), kBack},
      {"3D in: top edge shaded", k3DIn, false, CPoint(60, 10), kShadow},
      {"3D in: left edge shaded", k3DIn, false, CPoint(10, 20), kShadow},
      {"3D in: bottom edge lit", k3DIn, false, CPoint(60, 33), kFrame},
      {"3D in: right edge lit", k3DIn, false, CPoint(129, 20), kFrame},
      {"3D out: top edge lit", k3DOut, false, CPoint(60, 10), kFrame},
      {"3D out: bottom edge shaded", k3DOut, false, CPoint(60, 33), kShadow},
      {"no draw: nothing at all", kNoDrawStyle, false, CPoint(10, 20), kUnder},
      {"no draw: inside untouched", kNoDrawStyle, false, CPoint(12, 12), kUnder},
      {"transparent text: back not filled", 0, true, CPoint(12, 12), kUnder},
      {"transparent text: frame still drawn", 0, true, CPoint(10, 20), kFrame},
  };
  for (const Case& c : cases) {
    Surface fresh(140, 44, kUnder);
    display->setStyle(c.style);
    display->setTextTransparency(c.textTransparent);
    {
      Context context(fresh);
      display->draw(context);
    }
    EXPECT_EQ(fresh.pixel(c.where.x, c.where.y), c.expected) << c.name;
    EXPECT_FALSE(display->isDirty()) << c.name;
  }
}

TEST_F(DisplayPixels, NoTextStyleLeavesOnlyTheBack) {
  display->setStyle(kNoTextStyle);
  draw();
  long first, last;
  inkSpan(surface, CRect(11, 11, 129, 33), kBack, first, last);
  EXPECT_EQ(first, -1);
}

TEST_F(DisplayPixels, ShadowTextAddsTheShadowColour) {
  // Text is anti-aliased: shadow pixels are greenish rather than exactly kShadow.
  auto countShadow = [this] {
    long n = 0;
    for (long x = 11; x < 129; ++x)
      for (long y = 11; y < 33; ++y)
        if (const CColor c = surface.pixel(x, y); c.green > 100 && c.red < 100 && c.blue < 100) ++n;
    return n;
  };
  display->setValue(0.88f);
  draw();
  EXPECT_EQ(countShadow(), 0);
  display->setStyle(kShadowText);
  draw();
  EXPECT_GT(countShadow(), 0);
}

TEST_F(DisplayPixels, AlignmentPlacesTheText) {
  display->setStyle(kNoFrame);
  display->setValue(0.5f);
  struct Case {
    CHoriTxtAlign align;
    long minFirst, maxFirst, minLast, maxLast;
  };
  // The text "0.50" is far narrower than the 120-pixel display.
  const Case cases[] = {
      {kLeftText, 10, 16, 10, 60},
      {kCenterText, 40, 70, 60, 100},
      {kRightText, 70, 129, 120, 129},
  };
  for (const Case& c : cases) {
    display->setHoriAlign(c.align);
    draw();
    long first, last;
    inkSpan(surface, CRect(10, 10, 130, 34), kBack, first, last);
    EXPECT_GE(first, c.minFirst) << c.align;
    EXPECT_LE(first, c.maxFirst) << c.align;
    EXPECT_GE(last, c.minLast) << c.align;
    EXPECT_LE(last, c.maxLast) << c.align;
  }
  // Centred text sits in the middle, to within a pixel or two.
  display->setHoriAlign(kCenterText);
  draw();
  long first, last;
  inkSpan(surface, CRect(10, 10, 130, 34), kBack, first, last);
  EXPECT_NEAR((first + last) / 2.0, 70.0, 2.5);
}

TEST(TextLabel, ShowsItsTextNotTheValue) {
  Surface surface(100, 20, kUnder);
  CTextLabel* label = new CTextLabel(CRect(0, 0, 100, 20), "Hall", nullptr, kNoFrame);
  label->setBackColor(kBack);
  label->setStringConvert(overlong);  // never used: a label shows its text
  EXPECT_STREQ(label->getText(), "Hall");
  {
    Context context(surface);
    label->draw(context);
  }
  long first, last;
  inkSpan(surface, CRect(0, 0, 100, 20), kBack, first, last);
  EXPECT_GT(last - first, 10);
  EXPECT_LT(last - first, 60);  // "Hall", not 255 x's

  label->setText(nullptr);
  EXPECT_STREQ(label->getText(), "");
  EXPECT_TRUE(label->isDirty());
  Surface empty(100, 20, kUnder);
  {
    Context context(empty);
    label->draw(context);
  }
  inkSpan(empty, CRect(0, 0, 100, 20), kBack, first, last);
  EXPECT_EQ(first, -1);
  label->forget();
}

TEST(TextLabel, DrawsThroughANullContextWithoutHarm) {
  CTextLabel label(CRect(0, 0, 10, 10), nullptr);
  label.draw(nullptr);
  EXPECT_FALSE(label.isDirty());
}
