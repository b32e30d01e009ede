// Every strip control fed layouts no picture could have (frame counts and
// heights at the ends of long, offsets far outside the picture) and values
// that are not numbers: drawing, pressing and stepping must neither fail nor
// paint outside the control.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/controls/cautoanimation.h"
#include "gui/controls/ckickbutton.h"
#include "gui/controls/cmoviebitmap.h"
#include "gui/controls/conoffbutton.h"
#include "gui/controls/crockerswitch.h"
#include "gui/controls/cslider.h"
#include "gui/controls/cdigitstrip.h"
#include "gui/controls/cstyles.h"
#include "gui/controls/cswitches.h"
#include "gui/controls/cvumeter.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

const CRect kPlace(30, 30, 50, 50);

struct AbsurdLayouts : ControlFixture {
  CBitmap* strip = makeStrip(20, 20, 3);
  void TearDown() override {
    ControlFixture::TearDown();
    strip->forget();
  }
};

TEST_F(AbsurdLayouts, NothingFailsAndNothingIsPaintedOutsideTheControl) {
  const long big = LONG_MAX;
  const long small = LONG_MIN;
  CPoint far(big, big);
  CPoint farBack(small, small);
  CPoint zero;
  long xs[] = {big, small, 3};
  long ys[] = {small, big, 3};
  using Maker = std::function<CControl*()>;
  CBitmap* s = strip;
  const std::vector<std::pair<const char*, Maker>> makers = {
      {"movie, huge strip", [&] { return new CMovieBitmap(kPlace, &listener, 1, big, big, s, zero); }},
      {"movie, far offset", [&] { return new CMovieBitmap(kPlace, &listener, 1, 3, 20, s, far); }},
      {"movie, far back", [&] { return new CMovieBitmap(kPlace, &listener, 1, 3, 20, s, farBack); }},
      {"switch, huge strip",
       [&] { return new CVerticalSwitch(kPlace, &listener, 1, big, big, big, s, zero); }},
      {"switch, negative",
       [&] { return new CHorizontalSwitch(kPlace, &listener, 1, small, small, small, s, far); }},
      {"rocker, huge frames",
       [&] { return new CRockerSwitch(kPlace, &listener, 1, big, s, far, kVertical); }},
      {"kick, negative frames", [&] { return new CKickButton(kPlace, &listener, 1, small, s, farBack); }},
      {"animation, huge strip",
       [&] { return new CAutoAnimation(kPlace, &listener, 1, big, big, s, far); }},
      {"animation, negative",
       [&] { return new CAutoAnimation(kPlace, &listener, 1, small, small, s, zero); }},
      {"slider, huge track",
       [&] { return new CSlider(kPlace, &listener, 1, small, big, s, s, far, kVertical); }},
      {"slider, reversed track",
       [&] { return new CSlider(kPlace, &listener, 1, big, small, s, s, zero, kLeft); }},
      {"slider, far handle",
       [&] { return new CSlider(kPlace, &listener, 1, far, big, s, s, farBack, kRight); }},
      {"digits, far places",
       [&] { return new CSpecialDigit(kPlace, &listener, 1, 5, 3, xs, ys, big, big, s); }},
      {"digits, negative size",
       [&] { return new CSpecialDigit(kPlace, &listener, 1, 5, 3, xs, ys, small, small, s); }},
      {"meter, huge segments", [&] { return new CVuMeter(kPlace, s, s, big, kHorizontal); }},
      {"meter, negative segments", [&] { return new CVuMeter(kPlace, s, s, small, kVertical); }},
      {"on/off, any style", [&] { return new COnOffButton(kPlace, &listener, 1, s, big); }},
  };
  const float values[] = {0.0f, 0.5f, 1.0f, std::nanf(""), std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(), 3e38f, -3e38f};
  for (const auto& [name, make] : makers) {
    SCOPED_TRACE(name);
    CControl* control = add(make());
    for (float v : values) {
      control->setValue(v);
      Surface surface(80, 80, kGround);
      {
        Context context(surface);
        control->draw(context);
      }
      for (CPoint p : {CPoint(kPlace.left - 1, kPlace.top), CPoint(kPlace.right, kPlace.top),
                       CPoint(kPlace.left, kPlace.top - 1), CPoint(kPlace.left, kPlace.bottom),
                       CPoint(0, 0), CPoint(79, 79)})
        EXPECT_EQ(surface.pixel(p.x, p.y), kGround) << "value " << v << " at " << p.x << ", " << p.y;
      const CPoint inside(kPlace.left + 3, kPlace.top + 17);
      press(inside, kMouseLeft, dragScript(inside, {CPoint(kPlace.right - 1, kPlace.top)}, kMouseLeft));
      control->onWheel(nullptr, inside, kMouseWheelAxisY, 1.0f);
      if (auto* animation = dynamic_cast<CAutoAnimation*>(control)) {
        animation->nextPixmap();
        animation->previousPixmap();
        animation->previousPixmap();
      }
    }
    frame->removeView(control);
  }
}

}  // namespace
