// The slider: where the handle is drawn for each value in every orientation
// and direction and both constructor forms, dragging (grabbed handle, jump
// elsewhere, fine drag with shift), reset, wheel and keys, and geometry that
// leaves the handle nowhere to go.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/controls/cslider.h"
#include "gui/controls/cstyles.h"
#include "gui/vstkeys.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

constexpr long kTag = 4;
const CColor kTrack = stripColor(1);
const CColor kHandle = stripColor(5);
// A horizontal slider 100 × 10 and a vertical one 10 × 100; handles of
// 10 × 10 on a track of 100 pixels travel 90.
const CRect kWide(10, 20, 110, 30);
const CRect kTall(120, 20, 130, 120);

struct Slider : ControlFixture {
  CBitmap* handle = makePicture(10, 10, kHandle);
  CBitmap* track = makePicture(100, 100, kTrack);
  CPoint origin;

  void TearDown() override {
    ControlFixture::TearDown();
    handle->forget();
    track->forget();
  }
  CSlider* make(long style, long minPos = 0, long maxPos = 100) {
    const CRect place = style & kVertical ? kTall : kWide;
    return add(new CSlider(place, &listener, kTag, minPos, maxPos, handle, track, origin, style));
  }
  // Leading edge and length of the handle as drawn along the slider's axis
  // (pixels from the control's corner); -1 when no handle pixel was drawn.
  static std::pair<long, long> drawnHandle(CSlider* slider) {
    Surface surface(140, 130, kGround);
    Context context(surface);
    slider->draw(context);
    CRect place;
    slider->getViewSize(place);
    const bool vertical = slider->isVertical();
    const long length = vertical ? place.height() : place.width();
    long first = -1, count = 0;
    for (long i = 0; i < length; ++i) {
      const CColor c = vertical ? surface.pixel(place.left + 5, place.top + i)
                                : surface.pixel(place.left + i, place.top + 5);
      if (c == kHandle) {
        if (first < 0) first = i;
        ++count;
      } else {
        EXPECT_EQ(c, kTrack) << "at " << i;
      }
    }
    // nothing beyond the control
    EXPECT_EQ(vertical ? surface.pixel(place.left + 5, place.bottom)
                       : surface.pixel(place.right, place.top + 5),
              kGround);
    return {first, count};
  }
  static CPoint along(CSlider* slider, long pixels) {
    CRect place;
    slider->getViewSize(place);
    return slider->isVertical() ? CPoint(place.left + 5, place.top + pixels)
                                : CPoint(place.left + pixels, place.top + 5);
  }
};

TEST_F(Slider, HandleSitsWhereTheValueSaysForEveryStyle) {
  struct Case {
    long style;
    float value;
    long edge;
  };
  const float nan = std::nanf("");
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {kLeft, 0.0f, 0},           {kLeft, 0.5f, 45},    {kLeft, 1.0f, 90},
      {kLeft, 0.25f, 23},  // 22.5 rounds up
      {kLeft, nan, 0},            {kLeft, 7.0f, 90},    {kLeft, -3.0f, 0},
      {kLeft, inf, 90},           {0, 0.5f, 45},  // horizontal, minimum left by default
      {kRight, 0.0f, 90},         {kRight, 1.0f, 0},    {kRight, 0.25f, 68},
      {kVertical, 0.0f, 90},  // minimum at the bottom by default
      {kVertical, 1.0f, 0},       {kVertical, 0.25f, 68}, {kVertical | kBottom, 0.25f, 68},
      {kVertical | kTop, 0.0f, 0}, {kVertical | kTop, 0.25f, 23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " value " << c.value);
    CSlider* slider = make(c.style);
    slider->setValue(c.value);
    EXPECT_EQ(drawnHandle(slider), std::make_pair(c.edge, 10L));
    if (!std::isnan(c.value)) {
      EXPECT_FALSE(slider->isDirty());
    }
    frame->removeView(slider);
  }
}

TEST_F(Slider, ShortFormStartsAtTheHandleOffsetAndCoversTheRange) {
  struct Case {
    long style;
    CPoint offsetHandle;
    long range;
    float value;
    long edge;
  };
  const Case cases[] = {
      {kLeft, {5, 0}, 60, 0.0f, 5},      {kLeft, {5, 0}, 60, 1.0f, 55},
      {kLeft, {5, 0}, 60, 0.5f, 30},     {kVertical, {0, 10}, 50, 0.0f, 50},
      {kVertical, {0, 10}, 50, 1.0f, 10}, {kVertical | kTop, {0, 10}, 50, 1.0f, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " value " << c.value);
    CPoint offsetHandle = c.offsetHandle;
    auto* slider = add(new CSlider(c.style & kVertical ? kTall : kWide, &listener, kTag,
                                   offsetHandle, c.range, handle, track, origin, c.style));
    slider->setValue(c.value);
    EXPECT_EQ(drawnHandle(slider), std::make_pair(c.edge, 10L));
    frame->removeView(slider);
  }
}

TEST_F(Slider, LongFormCentresTheHandleAcrossTheTrack) {
  CBitmap* thin = makePicture(4, 6, kHandle);
  auto* slider = add(new CSlider(kTall, &listener, kTag, 0, 100, thin, track, origin, kVertical));
  thin->forget();
  slider->setValue(1.0f);
  Surface surface(140, 130, kGround);
  Context context(surface);
  slider->draw(context);
  // x 3..6 of a 10 wide track, rows 0..5
  EXPECT_EQ(surface.pixel(kTall.left + 2, kTall.top + 2), kTrack);
  EXPECT_EQ(surface.pixel(kTall.left + 3, kTall.top + 2), kHandle);
  EXPECT_EQ(surface.pixel(kTall.left + 6, kTall.top + 5), kHandle);
  EXPECT_EQ(surface.pixel(kTall.left + 7, kTall.top + 2), kTrack);
  EXPECT_EQ(surface.pixel(kTall.left + 3, kTall.top + 6), kTrack);
}

TEST_F(Slider, HandleNeverDrawsOutsideTheControl) {
  // A track running 20 pixels past the control's end.
  CSlider* slider = make(kLeft, 0, 120);
  slider->setValue(1.0f);
  EXPECT_EQ(drawnHandle(slider), std::make_pair(-1L, 0L));
  slider->setValue(0.9f);  // edge 99: one column left inside
  EXPECT_EQ(drawnHandle(slider), std::make_pair(99L, 1L));
}

TEST_F(Slider, DraggingMovesTheHandle) {
  struct Case {
    const char* name;
    long style;
    float before;
    long pressAt;
    std::vector<long> moves;
    std::vector<float> reported;
  };
  const Case cases[] = {
      // grabbed 3 pixels into the handle at 45: the grab point follows the pointer
      {"grab", kLeft, 0.5f, 48, {57}, {0.6f}},
      // elsewhere: the handle's centre jumps under the pointer (edge 75)
      {"jump", kLeft, 0.5f, 80, {}, {75.0f / 90.0f}},
      {"jump reversed", kRight, 0.5f, 80, {}, {15.0f / 90.0f}},
      {"jump vertical", kVertical, 0.5f, 20, {}, {75.0f / 90.0f}},
      {"past the ends", kLeft, 0.5f, 80, {500, -300}, {75.0f / 90.0f, 1.0f, 0.0f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSlider* slider = make(c.style);
    slider->setValue(c.before);
    settle();
    std::vector<CPoint> moves;
    for (long m : c.moves) moves.push_back(along(slider, m));
    const CPoint first = along(slider, c.pressAt);
    press(first, kMouseLeft, dragScript(first, moves, kMouseLeft));
    const std::vector<float> reported = reportedValues();
    ASSERT_EQ(reported.size(), c.reported.size());
    for (size_t i = 0; i < reported.size(); ++i) EXPECT_NEAR(reported[i], c.reported[i], 1e-6f);
    EXPECT_EQ(events().front(), begin(kTag));
    EXPECT_EQ(events().back(), end(kTag));
    frame->removeView(slider);
  }
}

TEST_F(Slider, ShiftDragsFinelyWithoutJumping) {
  CSlider* slider = make(kLeft);
  slider->setValue(0.5f);
  settle();
  const long fine = kMouseLeft | kModShift;
  // shift-press far from the handle, 20 pixels with shift, then shift let go
  // and 9 more pixels at the full rate
  press(along(slider, 80), fine,
        {{along(slider, 80), fine},
         {along(slider, 100), fine},
         {along(slider, 100), kMouseLeft},
         {along(slider, 109), kMouseLeft},
         {along(slider, 109), kMouseLeft},
         {along(slider, 109), 0}});
  const std::vector<float> reported = reportedValues();
  ASSERT_EQ(reported.size(), 2u);
  EXPECT_NEAR(reported[0], 0.5f + 20.0f / 90.0f / 10.0f, 1e-6f);
  EXPECT_NEAR(reported[1], 0.5f + 20.0f / 90.0f / 10.0f + 9.0f / 90.0f, 1e-6f);
  EXPECT_EQ(events().front(), modifierClick(kTag, fine));
}

TEST_F(Slider, CtrlClickResetsAndModifiersGoToTheListenerFirst) {
  CSlider* slider = make(kLeft);
  slider->setValue(1.0f);
  slider->setDefaultValue(0.25f);
  settle();
  press(along(slider, 10), kMouseLeft | kModCommand);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, kMouseLeft | kModCommand), begin(kTag),
                                          changed(kTag, 0.25f), end(kTag)}));
  events().clear();
  listener.modifierAnswer = 1;
  press(along(slider, 80), kMouseLeft | kModOption);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, kMouseLeft | kModOption)}));
  EXPECT_EQ(slider->getValue(), 0.25f);
}

TEST_F(Slider, WheelAndArrowKeysStepByTheWheelIncrement) {
  CSlider* slider = make(kLeft);
  struct Case {
    const char* name;
    bool wheel;
    float distance;  // wheel distance, or the arrow's virtual key
    bool shift;
    float after;  // from 0.5
    bool reported;
  };
  const Case cases[] = {
      {"wheel up", true, 1.0f, false, 0.6f, true},
      {"wheel down twice", true, -2.0f, false, 0.3f, true},
      {"wheel with shift", true, 1.0f, true, 0.51f, true},
      {"wheel far", true, 100.0f, false, 1.0f, true},
      {"wheel NaN", true, std::nanf(""), false, 0.5f, false},
      {"wheel infinite", true, std::numeric_limits<float>::infinity(), false, 0.5f, false},
      {"up", false, VKEY_UP, false, 0.6f, true},
      {"right", false, VKEY_RIGHT, false, 0.6f, true},
      {"down", false, VKEY_DOWN, false, 0.4f, true},
      {"left", false, VKEY_LEFT, false, 0.4f, true},
      {"up with shift", false, VKEY_UP, true, 0.51f, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    slider->setValue(0.5f);
    settle();
    if (c.wheel) {
      pointer.script({{along(slider, 5), c.shift ? kModShift : 0}});
      EXPECT_TRUE(slider->onWheel(nullptr, along(slider, 5), c.distance));
    } else {
      VstKeyCode key{0, static_cast<unsigned char>(c.distance),
                     static_cast<unsigned char>(c.shift ? MODIFIER_SHIFT : 0)};
      EXPECT_EQ(slider->onKeyDown(key), 1);
    }
    EXPECT_NEAR(slider->getValue(), c.after, 1e-6f);
    EXPECT_EQ(reportedValues().size(), c.reported ? 1u : 0u);
  }
  VstKeyCode home{0, VKEY_HOME, 0};
  EXPECT_EQ(slider->onKeyDown(home), -1);
  EXPECT_TRUE(slider->wantsFocus());
}

TEST_F(Slider, GeometryWithoutTravelNeverMakesANumberUp) {
  struct Case {
    const char* name;
    long maxPos;
    float vmin;
    float vmax;
    bool withHandle;
    float after;  // from 0.3, after a press at 50
  };
  const Case cases[] = {
      {"handle fills the track", 10, 0.0f, 1.0f, true, 0.3f},
      {"track shorter than the handle", 4, 0.0f, 1.0f, true, 0.3f},
      {"no range of values", 100, 0.3f, 0.3f, true, 0.3f},
      {"no handle picture", 100, 0.0f, 1.0f, false, 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* slider = add(new CSlider(kWide, &listener, kTag, 0, c.maxPos,
                                   c.withHandle ? handle : nullptr, track, origin, kLeft));
    slider->setMin(c.vmin);
    slider->setMax(c.vmax);
    slider->setValue(0.3f);
    press(along(slider, 50), kMouseLeft, dragScript(along(slider, 50), {along(slider, 70)}, kMouseLeft));
    EXPECT_FALSE(std::isnan(slider->getValue()));
    if (c.withHandle) {
      EXPECT_EQ(slider->getValue(), c.after);
    }
    Surface surface(140, 130, kGround);
    Context context(surface);
    slider->draw(context);
    frame->removeView(slider);
  }
}

TEST_F(Slider, FixedOrientationsIgnoreTheOtherOrientationBit) {
  auto* horizontal = add(new CHorizontalSlider(kWide, &listener, kTag, 0, 100, handle, track,
                                               origin, kVertical));
  auto* vertical = add(new CVerticalSlider(kTall, &listener, kTag, 0, 100, handle, track, origin));
  EXPECT_FALSE(horizontal->isVertical());
  EXPECT_TRUE(vertical->isVertical());
  vertical->setValue(0.0f);
  EXPECT_EQ(drawnHandle(vertical), std::make_pair(90L, 10L));  // minimum at the bottom
  EXPECT_TRUE(horizontal->isTypeOf("CHorizontalSlider"));
  EXPECT_TRUE(horizontal->isTypeOf("CSlider"));
  EXPECT_FALSE(horizontal->isTypeOf("CVerticalSlider"));
  EXPECT_TRUE(vertical->isTypeOf("CVerticalSlider"));
  EXPECT_TRUE(vertical->isTypeOf("CControl"));
}

}  // namespace
