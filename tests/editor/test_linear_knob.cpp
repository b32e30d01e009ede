// The linear knob: a relative straight-line drag (200 pixels for the whole
// range, 300 with shift), rate changes mid-drag without a jump, ends that
// hold until the pointer comes back, and the modified clicks.
#include <gtest/gtest.h>

#include "control_test_support.h"
#include "editor/clinearknob.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr long L = kMouseLeft;
constexpr long S = kMouseLeft | kModShift;
constexpr long kTag = 3;
const CRect kPlace(20, 20, 107, 130);
const CPoint kPress(60, 80);

struct LinearKnobInFrame : EditorFixture {
  CLinearKnob* knob = nullptr;
  CLinearKnob* makeKnob(int dragVertical) {
    CPoint offset;
    return add(new CLinearKnob(kPlace, &listener, kTag, 36, 110, dragVertical, nullptr, offset));
  }
  void SetUp() override {
    EditorFixture::SetUp();
    knob = makeKnob(1);
  }
  // Shown at `value`, the window drawn, so that idle passes redraw what a
  // drag changes.
  void start(float value) {
    knob->setValue(value);
    drawAll();
    events().clear();
  }
  // The values reported after the first: taking the focus at the start of
  // a drag marks the knob for drawing, which reports the value it starts at.
  std::vector<float> movedTo() {
    std::vector<float> reported = eventLog().reportedValues();
    if (!reported.empty()) reported.erase(reported.begin());
    return reported;
  }
  // Press at kPress and visit `path` with `buttons`, then release there. The
  // loop acts on a position one pass after reading it, so each is held for
  // two steps.
  void drag(long buttons, std::vector<std::pair<CPoint, long>> path) {
    std::vector<ScriptedPointer::Step> script{{kPress, buttons}};
    for (const auto& [where, held] : path) {
      script.push_back({where, held});
      script.push_back({where, held});
    }
    script.push_back({script.back().where, 0});
    press(kPress, buttons, script);
  }
  CPoint up(long pixels) const { return CPoint(kPress.x, kPress.y - pixels); }
};

TEST_F(LinearKnobInFrame, TravelFromThePressPointMovesTheValue) {
  struct Case {
    const char* name;
    int vertical;
    float start;
    long buttons;
    CPoint to;
    float expected;
  };
  const Case cases[] = {
      {"100 up", 1, 0.25f, L, CPoint(60, -20), 0.75f},
      {"200 up covers the range", 1, 0.0f, L, CPoint(60, -120), 1.0f},
      {"100 down", 1, 0.75f, L, CPoint(60, 180), 0.25f},
      {"300 up with shift covers the range", 1, 0.0f, S, CPoint(60, -220), 1.0f},
      {"150 up with shift is half", 1, 0.0f, S, CPoint(60, -70), 0.5f},
      {"vertical ignores sideways travel", 1, 0.5f, L, CPoint(160, 80), 0.5f},
      {"vertical: up and sideways", 1, 0.5f, L, CPoint(-40, 40), 0.7f},
      {"horizontal: right increases", 0, 0.25f, L, CPoint(160, 80), 0.75f},
      {"horizontal: left decreases", 0, 0.5f, L, CPoint(20, 80), 0.3f},
      {"horizontal ignores vertical travel", 0, 0.5f, L, CPoint(60, -20), 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.vertical != knob->getDragVertical()) {
      frame->removeView(knob, true);
      knob = makeKnob(c.vertical);
    }
    start(c.start);
    drag(c.buttons, {{c.to, c.buttons}});
    EXPECT_NEAR(knob->getValue(), c.expected, 1e-5f);
    // One edit gesture around the drag (a shift press is offered to the
    // listener first).
    ASSERT_FALSE(events().empty());
    const size_t first = (c.buttons & kModShift) ? 1 : 0;
    if (first) {
      EXPECT_EQ(events().front(), modifierClick(kTag, c.buttons));
    }
    ASSERT_GT(events().size(), first);
    EXPECT_EQ(events()[first], begin(kTag));
    EXPECT_EQ(events().back(), end(kTag));
  }
}

TEST_F(LinearKnobInFrame, ModifierChangeMidDragKeepsTheValueAndChangesTheRate) {
  struct Case {
    const char* name;
    long first;
    long then;
    float atSwitch;
    float expected;
  };
  const Case cases[] = {
      // 40 pixels at 1/200, then 60 more at 1/300 (two thirds of the rate).
      {"shift pressed", L, S, 0.25f + 40.0f / 200.0f, 0.25f + 40.0f / 200.0f + 60.0f / 300.0f},
      {"shift let go", S, L, 0.25f + 40.0f / 300.0f, 0.25f + 40.0f / 300.0f + 60.0f / 200.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    start(0.25f);
    // The loop acts on each position with the buttons of the step after it:
    // the new buttons arrive with the move to 40 pixels.
    press(kPress, c.first,
          {{kPress, c.first},
           {up(40), c.first},
           {up(40), c.then},
           {up(100), c.then},
           {up(100), c.then},
           {up(100), 0}});
    const std::vector<float> reported = movedTo();
    ASSERT_EQ(reported.size(), 2u) << testing::PrintToString(events());
    EXPECT_NEAR(reported[0], c.atSwitch, 1e-5f);
    EXPECT_NEAR(reported[1], c.expected, 1e-5f);
  }
}

TEST_F(LinearKnobInFrame, EndHoldsUntilThePointerComesBack) {
  start(0.5f);
  // 250 up: held at 1 from 100 on; 150 back down (100 up) is where the end
  // was reached, so still 1; 10 further down leaves the end.
  drag(L, {{up(250), L}, {up(100), L}, {up(90), L}});
  const std::vector<float> reported = movedTo();
  ASSERT_EQ(reported.size(), 2u);
  EXPECT_EQ(reported[0], 1.0f);
  EXPECT_NEAR(reported[1], 0.95f, 1e-5f);
}

TEST_F(LinearKnobInFrame, RangeOfZeroDoesNotMove) {
  knob->setMin(0.5f);
  knob->setMax(0.5f);
  start(0.5f);
  drag(L, {{up(100), L}});
  EXPECT_EQ(knob->getValue(), 0.5f);
  EXPECT_TRUE(movedTo().empty()) << testing::PrintToString(events());
}

TEST_F(LinearKnobInFrame, ModifiedClicks) {
  struct Case {
    const char* name;
    long buttons;
    long listenerAnswer;
    std::vector<Event> expected;
    float value;
  };
  const long C = kMouseLeft | kModCommand, CS = C | kModShift;
  const Case cases[] = {
      {"command click resets", C, 0,
       {modifierClick(kTag, C), begin(kTag), changed(kTag, 0.5f), end(kTag)}, 0.5f},
      {"learn gesture taken by the listener", CS, 1, {modifierClick(kTag, CS)}, 0.9f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    start(0.9f);
    listener.modifierAnswer = c.listenerAnswer;
    editor->idleStuffCalls = 0;
    drag(c.buttons, {{up(100), c.buttons}});
    EXPECT_EQ(events(), c.expected);
    EXPECT_EQ(knob->getValue(), c.value);
    EXPECT_EQ(editor->idleStuffCalls, 0);  // no drag started
  }
}

TEST_F(LinearKnobInFrame, OnlyAnEnabledKnobUnderTheLeftButtonDrags) {
  start(0.25f);
  drag(kMouseRight, {{up(100), kMouseRight}});
  knob->setMouseEnabled(false);
  drag(L, {{up(100), L}});
  EXPECT_EQ(knob->getValue(), 0.25f);
  EXPECT_TRUE(events().empty());
}

TEST_F(LinearKnobInFrame, ButtonsNotGivenAreReadFromThePointer) {
  start(0.25f);
  pointer.script({{kPress, L}, {kPress, L}, {up(100), L}, {up(100), L}, {up(100), 0}});
  CPoint where = kPress;
  knob->mouse(nullptr, where, -1);
  EXPECT_NEAR(knob->getValue(), 0.75f, 1e-5f);
}

TEST_F(LinearKnobInFrame, DrawsTheStripFrameOfItsValueAsAStripKnob) {
  CBitmap* strip = makeStrip(87, 110, 36);
  knob->setBackground(strip);
  strip->forget();
  start(0.5f);
  drag(L, {{up(40), L}});  // 0.7: frame 24
  EXPECT_EQ(framePixel(kPlace.left + 5, kPlace.top + 5), stripColor(24));
}

}  // namespace
