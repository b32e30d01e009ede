// The round knob: where its handle sits for a value and back, the wheel and
// the arrow keys, the command-click default and the learn gesture, turning it
// with the mouse, and its drawn handle.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "control_test_support.h"
#include "editor/canimknob.h"
#include "editor/cknob.h"
#include "gui/aeffguieditor.h"
#include "gui/cbitmap.h"
#include "gui/vstkeys.h"

using namespace controltest;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

struct KnobRef {
  CKnob* knob;
  explicit KnobRef(CKnob* k) : knob(k) {}
  ~KnobRef() { knob->forget(); }
  CKnob* operator->() const { return knob; }
};

CKnob* roundKnob(long width) {
  return new CKnob(CRect(0, 0, width, width), nullptr, 0, nullptr, nullptr);
}

CPoint handleAt(CKnob* knob, float value) {
  knob->setValue(value);
  CPoint p;
  knob->valueToPoint(p);
  return p;
}

// ---- geometry ----

TEST(KnobGeometry, DefaultArcRunsClockwiseFrom225To315Degrees) {
  KnobRef knob(roundKnob(87));
  EXPECT_EQ(std::bit_cast<uint32_t>(knob->getStartAngle()), 0x407B53D1u);
  EXPECT_EQ(std::bit_cast<uint32_t>(knob->getRangeAngle()), 0xC096CBE4u);
  EXPECT_NEAR(knob->getGapHalfAngle(), kPi / 4, 1e-6f);
  EXPECT_EQ(knob->getRadius(), 43.5f);
  EXPECT_EQ(knob->getInsetValue(), 3);
  EXPECT_EQ(knob->getZoomFactor(), 1.5f);
  EXPECT_TRUE(knob->wantsFocus());
  EXPECT_EQ(knob->getColorHandle(), kWhiteCColor);
  EXPECT_EQ(knob->getColorShadowHandle(), kGreyCColor);
}

TEST(KnobGeometry, HandlePointsForTheStatedAngles) {
  CPoint offset;
  struct Case {
    const char* name;
    long width;
    bool animated;  // an animated knob has no inset
    float value;
    CPoint expected;
  };
  const Case cases[] = {
      // 225°, radius 43.5, reach 40.5: 43.5 ∓ 28.64 + 0.5, truncated.
      {"minimum", 87, false, 0.0f, CPoint(15, 72)},
      // -45°
      {"maximum", 87, false, 1.0f, CPoint(72, 72)},
      {"minimum, even width", 80, false, 0.0f, CPoint(14, 66)},
      {"maximum, even width", 80, false, 1.0f, CPoint(66, 66)},
      // Halfway is straight up, a sixth of the way straight left.
      {"middle: 90°", 80, false, 0.5f, CPoint(40, 3)},
      {"a sixth: 180°", 80, false, 1.0f / 6.0f, CPoint(3, 40)},
      {"five sixths: 0°", 80, false, 5.0f / 6.0f, CPoint(77, 40)},
      // Reach 40 without inset: 40 ∓ 28.28 + 0.5.
      {"animated minimum", 80, true, 0.0f, CPoint(12, 68)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CKnob* knob = c.animated ? new CAnimKnob(CRect(0, 0, c.width, c.width), nullptr, 0, 2, c.width,
                                             nullptr, offset)
                             : roundKnob(c.width);
    EXPECT_EQ(handleAt(knob, c.value), c.expected);
    knob->forget();
  }
}

TEST(KnobGeometry, ValueFromPointUndoesValueToPoint) {
  KnobRef knob(roundKnob(801));
  for (float v : {0.0f, 0.1f, 0.25f, 0.5f, 0.75f, 0.9f, 1.0f}) {
    CPoint p = handleAt(knob.knob, v);
    knob->setValue(-7.0f);
    EXPECT_NEAR(knob->valueFromPoint(p), v, 0.002f)
        << "value " << v << " at " << p.x << ", " << p.y;
  }
}

TEST(KnobGeometry, DirectionsGiveValuesAndTheGapGivesTheNearerEnd) {
  KnobRef knob(roundKnob(80));
  knob->setValue(0.42f);
  struct Case {
    const char* name;
    CPoint point;
    float value;
  };
  const Case cases[] = {
      {"up", CPoint(40, 0), 0.5f},
      {"left", CPoint(0, 40), 1.0f / 6.0f},
      {"right", CPoint(80, 40), 5.0f / 6.0f},
      {"lower left, on the arc's start", CPoint(0, 80), 0.0f},
      {"just left of the bottom", CPoint(39, 80), 0.0f},
      {"just right of the bottom", CPoint(41, 80), 1.0f},
      {"far outside the view, upward", CPoint(40, -500), 0.5f},
      // The centre has no direction: the value stays.
      {"centre", CPoint(40, 40), 0.42f},
  };
  for (const Case& c : cases) {
    CPoint p = c.point;
    EXPECT_NEAR(knob->valueFromPoint(p), c.value, 1e-5f) << c.name;
  }
}

TEST(KnobGeometry, AnglesRecomputeTheMappingButBoundsDoNot) {
  KnobRef knob(roundKnob(80));
  knob->draw(nullptr);
  knob->setMax(2.0f);
  // The mapping still reaches its end at 1.
  EXPECT_EQ(handleAt(knob.knob, 1.0f), CPoint(66, 66));
  knob->draw(nullptr);
  knob->setRangeAngle(knob->getRangeAngle());
  EXPECT_TRUE(knob->isDirty());
  // Now 1 is halfway to the new maximum: straight up.
  EXPECT_EQ(handleAt(knob.knob, 1.0f), CPoint(40, 3));
  // A half turn over the top, from the left to the right.
  knob->setMax(1.0f);
  knob->setStartAngle(kPi);
  knob->setRangeAngle(-kPi);
  EXPECT_NEAR(knob->getGapHalfAngle(), kPi / 2, 1e-6f);
  EXPECT_EQ(handleAt(knob.knob, 0.0f), CPoint(3, 40));
  EXPECT_EQ(handleAt(knob.knob, 1.0f), CPoint(77, 40));
}

TEST(KnobGeometry, NonsenseValuesAndArcsGiveSomePointWithoutFault) {
  KnobRef knob(roundKnob(80));
  CPoint p;
  for (float v : {std::nanf(""), 1e30f, -1e30f, INFINITY}) {
    knob->setValue(v);
    knob->valueToPoint(p);
  }
  knob->setRangeAngle(0.0f);
  knob->setValue(0.5f);
  knob->valueToPoint(p);
  CPoint somewhere(10, 10);
  EXPECT_EQ(knob->valueFromPoint(somewhere), 0.0f);
}

// ---- wheel and keys ----

struct KnobInFrame : EditorFixture {
  CKnob* knob = nullptr;
  void SetUp() override {
    EditorFixture::SetUp();
    knob = add(new CKnob(CRect(10, 10, 90, 90), &listener, 2, nullptr, nullptr));
    drawAll();
  }
  void TearDown() override {
    // The knob mode belongs to the whole process: leave the default behind.
    editor->setKnobMode(kCircularMode);
    EditorFixture::TearDown();
  }
  // Sets the value as if it had been drawn, so only real changes report.
  void start(float value) {
    knob->setValue(value);
    knob->draw(nullptr);
    events().clear();
  }
};

TEST_F(KnobInFrame, WheelStepsByTheIncrementAndReportsInsideAnEdit) {
  struct Case {
    const char* name;
    float start;
    float distance;
    long buttons;  // held while the wheel turns
    float increment;
    float expected;
  };
  const Case cases[] = {
      {"one up", 0.5f, 1.0f, 0, 0.1f, 0.6f},
      {"one up with shift", 0.5f, 1.0f, kModShift, 0.1f, 0.51f},
      {"one down", 0.5f, -1.0f, 0, 0.1f, 0.4f},
      {"two and a half down", 0.5f, -2.5f, 0, 0.1f, 0.25f},
      {"larger increment", 0.5f, 1.0f, 0, 0.25f, 0.75f},
      {"past the maximum", 0.95f, 1.0f, 0, 0.1f, 1.0f},
      {"below the minimum", 0.05f, -1.0f, kModCommand, 0.1f, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    knob->setWheelInc(c.increment);
    start(c.start);
    pointer.script({{CPoint(50, 50), c.buttons}});
    EXPECT_TRUE(frame->onWheel(nullptr, CPoint(50, 50), c.distance));
    EXPECT_FLOAT_EQ(knob->getValue(), c.expected);
    EXPECT_EQ(events(), (std::vector<Event>{begin(2), changed(2, c.expected), end(2)}));
  }
}

TEST_F(KnobInFrame, WheelAtTheEndIsConsumedWithoutReport) {
  for (float distance : {1.0f, 3.0f}) {
    start(1.0f);
    EXPECT_TRUE(frame->onWheel(nullptr, CPoint(50, 50), distance));
    EXPECT_EQ(knob->getValue(), 1.0f);
  }
  start(0.0f);
  EXPECT_TRUE(knob->onWheel(nullptr, CPoint(50, 50), -1.0f));
  EXPECT_EQ(knob->getValue(), 0.0f);
  EXPECT_TRUE(events().empty());
}

TEST_F(KnobInFrame, WheelIsRefusedWhenTheMouseIsDisabledOrElsewhere) {
  start(0.5f);
  EXPECT_FALSE(frame->onWheel(nullptr, CPoint(150, 120), 1.0f));
  knob->setMouseEnabled(false);
  EXPECT_FALSE(knob->onWheel(nullptr, CPoint(50, 50), 1.0f));
  EXPECT_EQ(knob->getValue(), 0.5f);
  EXPECT_TRUE(events().empty());
}

VstKeyCode key(unsigned char virt, unsigned char modifier = 0) {
  VstKeyCode k{};
  k.virt = virt;
  k.modifier = modifier;
  return k;
}

TEST_F(KnobInFrame, ArrowKeysStepTheFocusedKnob) {
  struct Case {
    const char* name;
    unsigned char virt;
    unsigned char modifier;
    float start;
    long result;
    float expected;
  };
  const Case cases[] = {
      {"up", VKEY_UP, 0, 0.5f, 1, 0.6f},
      {"right acts like up", VKEY_RIGHT, 0, 0.5f, 1, 0.6f},
      {"down", VKEY_DOWN, 0, 0.5f, 1, 0.4f},
      {"left acts like down", VKEY_LEFT, 0, 0.5f, 1, 0.4f},
      {"up with shift", VKEY_UP, MODIFIER_SHIFT, 0.5f, 1, 0.51f},
      {"down with shift", VKEY_DOWN, MODIFIER_SHIFT, 0.5f, 1, 0.49f},
      {"up with ctrl is a plain step", VKEY_UP, MODIFIER_CONTROL, 0.5f, 1, 0.6f},
      {"other keys are not ours", VKEY_RETURN, 0, 0.5f, -1, 0.5f},
      {"page up is not ours", VKEY_PAGEUP, 0, 0.5f, -1, 0.5f},
  };
  frame->setFocusView(knob);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    start(c.start);
    listener.contexts.clear();
    VstKeyCode k = key(c.virt, c.modifier);
    EXPECT_EQ(frame->onKeyDown(k), c.result);
    EXPECT_FLOAT_EQ(knob->getValue(), c.expected);
    if (c.result == 1) {
      EXPECT_EQ(events(), (std::vector<Event>{begin(2), changed(2, c.expected), end(2)}));
      ASSERT_EQ(listener.contexts.size(), 1u);
      EXPECT_EQ(listener.contexts[0], nullptr);  // keys report without a context
    } else {
      EXPECT_TRUE(events().empty());
    }
  }
}

TEST_F(KnobInFrame, ArrowKeyAtTheEndIsHandledWithoutReport) {
  start(1.0f);
  VstKeyCode up = key(VKEY_UP);
  EXPECT_EQ(knob->onKeyDown(up), 1);
  EXPECT_EQ(knob->getValue(), 1.0f);
  EXPECT_TRUE(events().empty());
}

TEST_F(KnobInFrame, KeysGoToTheKnobThatLastTookTheFocus) {
  auto* other = add(new CKnob(CRect(100, 10, 180, 90), &listener, 3, nullptr, nullptr));
  start(0.5f);
  other->setValue(0.5f);
  // A click turns a knob and takes the focus with its edit gesture.
  press(CPoint(50, 12), kMouseLeft);
  EXPECT_EQ(frame->getFocusView(), knob);
  const float knobAfterClick = knob->getValue();
  VstKeyCode up = key(VKEY_UP);
  frame->onKeyDown(up);
  EXPECT_FLOAT_EQ(knob->getValue(), knobAfterClick + 0.1f);
  press(CPoint(140, 12), kMouseLeft);
  EXPECT_EQ(frame->getFocusView(), other);
  const float otherAfterClick = other->getValue();
  frame->onKeyDown(up);
  EXPECT_FLOAT_EQ(other->getValue(), otherAfterClick + 0.1f);
  EXPECT_FLOAT_EQ(knob->getValue(), knobAfterClick + 0.1f);
}

// ---- mouse ----

TEST_F(KnobInFrame, CommandClickResetsToTheDefaultWithoutTurning) {
  CPoint offset;
  auto* anim = add(new CAnimKnob(CRect(100, 10, 180, 90), &listener, 4, 36, 80, nullptr, offset));
  struct Case {
    CKnob* knob;
    long tag;
  };
  for (const Case& c : {Case{knob, 2}, Case{anim, 4}}) {
    SCOPED_TRACE(c.tag);
    c.knob->setValue(0.9f);
    c.knob->draw(nullptr);
    events().clear();
    CRect r;
    c.knob->getViewSize(r);
    // Pressed at the top, which would turn it to 0.5 anyway: press at the
    // lower right instead, where turning would give the maximum.
    press(CPoint(r.right - 2, r.bottom - 2), kMouseLeft | kModCommand);
    EXPECT_EQ(c.knob->getValue(), 0.5f);
    EXPECT_EQ(events(), (std::vector<Event>{modifierClick(c.tag, kMouseLeft | kModCommand),
                                            begin(c.tag), changed(c.tag, 0.5f), end(c.tag)}));
  }
  EXPECT_EQ(editor->idleStuffCalls, 0);  // no drag loop ran
}

TEST_F(KnobInFrame, LearnGestureTakenByTheListenerLeavesTheKnobAlone) {
  start(0.9f);
  listener.modifierAnswer = 1;
  press(CPoint(50, 12), kMouseLeft | kModCommand | kModShift);
  EXPECT_EQ(knob->getValue(), 0.9f);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(2, kMouseLeft | kModCommand | kModShift)}));
  EXPECT_EQ(editor->idleStuffCalls, 0);
}

TEST_F(KnobInFrame, CommandClickWithoutListenerStillResets) {
  knob->setListener(nullptr);
  start(0.9f);
  press(CPoint(50, 12), kMouseLeft | kModCommand);
  EXPECT_EQ(knob->getValue(), 0.5f);
  EXPECT_EQ(events(), (std::vector<Event>{begin(2), end(2)}));
}

TEST_F(KnobInFrame, DragTurnsTheKnobTowardThePointer) {
  start(0.0f);
  // The knob's centre is (50, 50): up, left, right, then release. The loop
  // acts on a position one pass after reading it, so each is held twice.
  press(CPoint(50, 12), kMouseLeft,
        {{CPoint(50, 12), kMouseLeft},
         {CPoint(12, 50), kMouseLeft},
         {CPoint(12, 50), kMouseLeft},
         {CPoint(88, 50), kMouseLeft},
         {CPoint(88, 50), kMouseLeft},
         {CPoint(88, 50), 0}});
  const std::vector<float> reported = eventLog().reportedValues();
  ASSERT_EQ(reported.size(), 3u);
  EXPECT_NEAR(reported[0], 0.5f, 1e-5f);
  EXPECT_NEAR(reported[1], 1.0f / 6.0f, 1e-5f);
  EXPECT_NEAR(reported[2], 5.0f / 6.0f, 1e-5f);
  EXPECT_EQ(events().front(), begin(2));
  EXPECT_EQ(events().back(), end(2));
  EXPECT_GT(editor->idleStuffCalls, 0);
}

TEST_F(KnobInFrame, ShiftDragTurnsFinelyFromWhereTheKnobIs) {
  start(0.5f);
  // From straight up (0.5) to straight right (5/6): a third of the range,
  // of which shift passes on 1 / 1.5.
  press(CPoint(50, 12), kMouseLeft | kModShift,
        {{CPoint(50, 12), kMouseLeft | kModShift},
         {CPoint(88, 50), kMouseLeft | kModShift},
         {CPoint(88, 50), kMouseLeft | kModShift},
         {CPoint(88, 50), 0}});
  EXPECT_NEAR(knob->getValue(), 0.5f + (1.0f / 3.0f) / 1.5f, 1e-5f);
}

TEST_F(KnobInFrame, HostsKnobModeChoosesHowADragTurnsIt) {
  const long L = kMouseLeft, S = kMouseLeft | kModShift;
  struct Case {
    const char* name;
    long mode;
    long buttons;
    CPoint press;
    CPoint to;
    float expected;
  };
  const Case cases[] = {
      // 200 pixels of travel, right or up, cover the range.
      {"linear, up", kLinearMode, L, CPoint(50, 50), CPoint(50, 0), 0.5f},
      {"linear, right and up", kLinearMode, L, CPoint(50, 50), CPoint(70, 20), 0.5f},
      {"linear, down", kLinearMode, L, CPoint(50, 50), CPoint(50, 90), 0.05f},
      {"linear, fine", kLinearMode, S, CPoint(50, 50), CPoint(50, 0), 0.25f + 50.0f / 300.0f},
      // No jump to the pointer: from up (0.5) to right (5/6) adds a third.
      {"relative circular", kRelativCircularMode, L, CPoint(50, 12), CPoint(88, 50),
       0.25f + 1.0f / 3.0f},
      {"circular", kCircularMode, L, CPoint(50, 12), CPoint(88, 50), 5.0f / 6.0f},
      // Through the gap at the bottom, from its left edge to its right edge.
      {"relative circular, through the gap", kRelativCircularMode, L, CPoint(49, 88),
       CPoint(51, 88), 0.25f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    editor->setKnobMode(static_cast<VstInt32>(c.mode));
    start(0.25f);
    press(c.press, c.buttons,
          {{c.press, c.buttons}, {c.to, c.buttons}, {c.to, c.buttons}, {c.to, 0}});
    EXPECT_NEAR(knob->getValue(), c.expected, 1e-5f);
  }
}

TEST_F(KnobInFrame, LinearDragKeepsTheValueWhereShiftChangesTheRate) {
  editor->setKnobMode(kLinearMode);
  start(0.25f);
  const long L = kMouseLeft, S = kMouseLeft | kModShift;
  // 40 pixels up at 1/200, then shift for 30 more at 1/300.
  press(CPoint(50, 80), L,
        {{CPoint(50, 80), L},
         {CPoint(50, 40), L},
         {CPoint(50, 40), L},
         {CPoint(50, 40), S},
         {CPoint(50, 10), S},
         {CPoint(50, 10), S},
         {CPoint(50, 10), 0}});
  EXPECT_NEAR(knob->getValue(), 0.25f + 40.0f / 200.0f + 30.0f / 300.0f, 1e-5f);
}

TEST_F(KnobInFrame, OnlyTheLeftButtonTurnsIt) {
  start(0.0f);
  press(CPoint(50, 12), kMouseRight);
  knob->setMouseEnabled(false);
  press(CPoint(50, 12), kMouseLeft);
  EXPECT_EQ(knob->getValue(), 0.0f);
  EXPECT_TRUE(events().empty());
}

// ---- drawing ----

TEST(KnobDrawing, HandleIsALineFromTheCentreTowardTheValue) {
  constexpr CColor kGround = {60, 60, 60, 255};
  struct Case {
    const char* name;
    float value;
    CPoint onHandle[2];  // either of two pixels of the one-pixel line
    CPoint off;
  };
  const Case cases[] = {
      {"left", 1.0f / 6.0f, {CPoint(20, 39), CPoint(20, 40)}, CPoint(60, 40)},
      {"up", 0.5f, {CPoint(39, 20), CPoint(40, 20)}, CPoint(40, 60)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Surface surface(80, 80, kGround);
    Context context(surface);
    KnobRef knob(roundKnob(80));
    knob->setColorHandle(kRedCColor);
    knob->setColorShadowHandle(kBlueCColor);
    knob->setValue(c.value);
    knob->draw(context);
    EXPECT_FALSE(knob->isDirty());
    EXPECT_TRUE(surface.pixel(c.onHandle[0].x, c.onHandle[0].y) == kRedCColor ||
                surface.pixel(c.onHandle[1].x, c.onHandle[1].y) == kRedCColor);
    EXPECT_EQ(surface.pixel(c.off.x, c.off.y), kGround);
    // The pen is given back as it was.
    EXPECT_EQ(context.get()->frameColor, kWhiteCColor);
    EXPECT_EQ(context.get()->lineWidth, 1);
  }
}

TEST(KnobDrawing, HandlePictureSetsTheInsetAndIsHeld) {
  CBitmap* handle = makePicture(10, 6, kRedCColor);
  CBitmap* other = makePicture(4, 4, kGreenCColor);
  {
    KnobRef knob(new CKnob(CRect(0, 0, 80, 80), nullptr, 0, nullptr, handle));
    EXPECT_EQ(knob->getInsetValue(), 7);  // 10 / 2 + 2.5, truncated
    EXPECT_EQ(handle->getNbReference(), 2);
    Surface surface(80, 80, kBlackCColor);
    Context context(surface);
    knob->setValue(0.5f);
    knob->draw(context);
    // Up, 7 pixels in from the rim: the picture is centred on (40, 7).
    EXPECT_EQ(surface.pixel(40, 7), kRedCColor);
    EXPECT_EQ(surface.pixel(40, 40), kBlackCColor);
    knob->setHandleBitmap(other);
    EXPECT_EQ(knob->getInsetValue(), 4);
    EXPECT_EQ(handle->getNbReference(), 1);
    EXPECT_EQ(other->getNbReference(), 2);
  }
  EXPECT_EQ(other->getNbReference(), 1);
  handle->forget();
  other->forget();
}

}  // namespace
