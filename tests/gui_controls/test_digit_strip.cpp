// The digit display: which digit picture each place shows for a value, the
// places' positions (given and default), and numbers it cannot show.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gui/cbitmap.h"
#include "gui/controls/cdigitstrip.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

// Ten digit pictures of 6 × 8, digit d in stripColor(d).
constexpr long kDigitWidth = 6;
constexpr long kDigitHeight = 8;
const CRect kPlace(10, 10, 40, 30);

struct DigitStripDisplay : ControlFixture {
  CBitmap* digits = makeStrip(kDigitWidth, kDigitHeight, 10);
  void TearDown() override {
    ControlFixture::TearDown();
    digits->forget();
  }
  // The digits drawn at the given places (offsets from the control's
  // corner), '?' for a place not showing one digit throughout, '-' for
  // nothing drawn.
  static std::string shown(CSpecialDigit* display, const std::vector<CPoint>& places) {
    Surface surface(60, 50, kGround);
    Context context(surface);
    display->draw(context);
    std::string text;
    for (const CPoint& p : places) {
      const CColor first = surface.pixel(kPlace.left + p.x, kPlace.top + p.y);
      const CColor last = surface.pixel(kPlace.left + p.x + kDigitWidth - 1,
                                        kPlace.top + p.y + kDigitHeight - 1);
      if (first == kGround)
        text += '-';
      else if (first != last || stripFrameOf(first) < 0)
        text += '?';
      else
        text += static_cast<char>('0' + stripFrameOf(first));
    }
    return text;
  }
};

TEST_F(DigitStripDisplay, EachPlaceShowsItsDigitWithLeadingZeros) {
  long xs[] = {0, 7, 14};
  long ys[] = {0, 0, 2};
  auto* display = add(new CSpecialDigit(kPlace, nullptr, 0, 42, 3, xs, ys, kDigitWidth,
                                        kDigitHeight, digits));
  const std::vector<CPoint> places{{0, 0}, {7, 0}, {14, 2}};
  EXPECT_EQ(shown(display, places), "042");
  struct Case {
    float value;
    const char* digits;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {0.0f, "000"},   {7.0f, "007"},   {41.6f, "042"},  {41.4f, "041"}, {999.4f, "999"},
      {1000.0f, "999"}, {1e20f, "999"}, {inf, "999"},    {-5.0f, "000"}, {-inf, "000"},
      {std::nanf(""), "000"}, {508.0f, "508"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    display->setValue(c.value);
    EXPECT_EQ(shown(display, places), c.digits);
  }
}

TEST_F(DigitStripDisplay, WithoutPositionsThePlacesSitSideBySide) {
  auto* display = add(new CSpecialDigit(kPlace, nullptr, 0, 3719, 4, nullptr, nullptr,
                                        kDigitWidth, kDigitHeight, digits));
  EXPECT_EQ(shown(display, {{0, 0}, {6, 0}, {12, 0}, {18, 0}}), "3719");
}

TEST_F(DigitStripDisplay, PlacesAreClippedToTheControlAndCountsLimited) {
  // The second place hangs over the right edge, the third lies outside.
  long xs[] = {0, 27, 100};
  long ys[] = {0, 0, 0};
  auto* display = add(new CSpecialDigit(kPlace, nullptr, 0, 123, 3, xs, ys, kDigitWidth,
                                        kDigitHeight, digits));
  Surface surface(120, 50, kGround);
  {
    Context context(surface);
    display->draw(context);
  }
  EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.left + 27, kPlace.top)), 2);
  EXPECT_EQ(stripFrameOf(surface.pixel(kPlace.right - 1, kPlace.top)), 2);
  EXPECT_EQ(surface.pixel(kPlace.right, kPlace.top), kGround);
  EXPECT_EQ(surface.pixel(kPlace.left + 100, kPlace.top), kGround);

  struct Case {
    long numbers;
    long expected;
  };
  for (const Case& c : {Case{0, 0}, Case{-4, 0}, Case{25, CSpecialDigit::kMaxDigits}}) {
    SCOPED_TRACE(testing::Message() << c.numbers << " places");
    auto* odd = add(new CSpecialDigit(kPlace, nullptr, 0, 5, c.numbers, nullptr, nullptr,
                                      kDigitWidth, kDigitHeight, digits));
    EXPECT_EQ(odd->getNumbers(), c.expected);
    Surface s(60, 50, kGround);
    Context context(s);
    odd->draw(context);
    EXPECT_EQ(s.pixel(kPlace.left, kPlace.top), c.expected ? stripColor(0) : kGround);
    frame->removeView(odd);
  }
}

TEST_F(DigitStripDisplay, IgnoresTheMouse) {
  auto* display = add(new CSpecialDigit(kPlace, &listener, 3, 12, 2, nullptr, nullptr,
                                        kDigitWidth, kDigitHeight, digits));
  press(CPoint(kPlace.left + 1, kPlace.top + 1), kMouseLeft);
  EXPECT_EQ(display->getValue(), 12.0f);
  EXPECT_TRUE(events().empty());
  EXPECT_TRUE(display->isTypeOf("CSpecialDigit"));
  EXPECT_TRUE(display->isTypeOf("CControl"));
}

}  // namespace
