// The multi-position switches: the cell under the pointer picks the
// position while dragging, the frame shown for each value, the short form's
// layout, degenerate strips, and the reset and modifier paths.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "gui/cbitmap.h"
#include "gui/controls/cswitches.h"
#include "std_control_support.h"

using namespace stdtest;

namespace {

constexpr long kTag = 2;
// 4 positions in frames 10 high: vertical cells of 2.5 pixels.
const CRect kVerticalPlace(20, 30, 32, 40);
// 24 wide, over a picture 12 wide: horizontal cells of 3 pixels.
const CRect kHorizontalPlace(40, 30, 64, 40);

struct Switches : ControlFixture {
  CBitmap* strip = makeStrip(12, 10, 4);
  CPoint origin;
  void TearDown() override {
    ControlFixture::TearDown();
    strip->forget();
  }
  // Presses at `first`, then moves through `moves` with the button held and
  // lets go at the last one.
  void drag(CPoint first, std::vector<CPoint> moves) {
    press(first, kMouseLeft, dragScript(first, moves, kMouseLeft));
  }
  // The strip frame drawn at the control's corner (-2: nothing).
  static long drawnFrame(CControl* control, const CRect& place) {
    Surface surface(80, 60, kGround);
    Context context(surface);
    control->draw(context);
    const CColor c = surface.pixel(place.left, place.top);
    return c == kGround ? -2 : stripFrameOf(c);
  }
};

TEST_F(Switches, DraggingPicksTheCellUnderThePointer) {
  struct Case {
    bool vertical;
    CPoint first;  // offsets from the control's corner
    std::vector<CPoint> moves;
    std::vector<float> reported;
  };
  const float third = 1.0f / 3.0f;
  const Case cases[] = {
      // y 2 → cell 0 (no change), 5 → 2, 6 → 2, 9 → 3, far below → 3, above → 0
      {true, {3, 2}, {{3, 5}, {3, 6}, {3, 9}, {3, 40}, {3, -10}}, {2 * third, 1.0f, 0.0f}},
      // y 3 → cell 1 at once
      {true, {3, 3}, {}, {third}},
      // cells of picture width / positions: x 13 of a 24 wide control is past the
      // fourth 3-pixel cell, so the last position
      {false, {2, 1}, {{3, 1}, {6, 1}, {13, 1}, {-5, 1}}, {third, 2 * third, 1.0f, 0.0f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vertical ? "vertical" : "horizontal");
    const CRect place = c.vertical ? kVerticalPlace : kHorizontalPlace;
    CSwitchBase* control =
        c.vertical ? static_cast<CSwitchBase*>(
                         new CVerticalSwitch(place, &listener, kTag, 4, 10, 4, strip, origin))
                   : new CHorizontalSwitch(place, &listener, kTag, 4, 10, 4, strip, origin);
    add(control);
    settle();
    std::vector<CPoint> moves;
    for (CPoint m : c.moves) moves.push_back(m.offset(place.left, place.top));
    drag(CPoint(c.first).offset(place.left, place.top), moves);
    EXPECT_EQ(reportedValues(), c.reported);
    ASSERT_GE(events().size(), 2u);
    EXPECT_EQ(events().front(), begin(kTag));
    EXPECT_EQ(events().back(), end(kTag));
    frame->removeView(control);
  }
}

TEST_F(Switches, HoldingInOneCellReportsOnce) {
  // With the real pacing the control is redrawn only now and then while the
  // button is held, so it stays dirty from one pass to the next.
  editor->realPacing = true;
  CVerticalSwitch* control = new CVerticalSwitch(kVerticalPlace, &listener, kTag, 4, 10, 4, strip, origin);
  add(control);
  settle();
  // The press lands in cell 1 (drawn by the first pass), then the pointer
  // moves into cell 2 and stays there for several passes.
  const CPoint inCell1(kVerticalPlace.left + 3, kVerticalPlace.top + 3);
  const CPoint inCell2(kVerticalPlace.left + 3, kVerticalPlace.top + 5);
  std::vector<CPoint> moves(6, inCell2);
  moves[3].offset(0, 1);
  drag(inCell1, moves);
  EXPECT_EQ(reportedValues(), (std::vector<float>{1.0f / 3.0f, 2.0f / 3.0f}));
  frame->removeView(control);
}

TEST_F(Switches, ValueChoosesTheFrame) {
  auto* control = add(new CVerticalSwitch(kVerticalPlace, nullptr, 0, 4, 10, 4, strip, origin));
  struct Case {
    float value;
    long frame;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {{0.0f, 0},  {0.3f, 1},  {0.5f, 2},           {0.83f, 2},
                        {0.84f, 3}, {1.0f, 3},  {2.0f, 3},           {-1.0f, 0},
                        {inf, 3},   {-inf, 0},  {std::nanf(""), 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    control->setValue(c.value);
    EXPECT_EQ(drawnFrame(control, kVerticalPlace), c.frame);
  }
}

TEST_F(Switches, ShortFormHasOnePositionPerWholeFrame) {
  // 4 frames of the control's height and 3 rows of a fifth one.
  CBitmap* cut = makePattern(12, 43, [](long x, long y) { return stripColor(y / 10); });
  for (bool vertical : {true, false}) {
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    const CRect place = vertical ? kVerticalPlace : kHorizontalPlace;
    CSwitchBase* control = vertical
                               ? static_cast<CSwitchBase*>(
                                     new CVerticalSwitch(place, &listener, kTag, cut, origin))
                               : new CHorizontalSwitch(place, &listener, kTag, cut, origin);
    add(control);
    EXPECT_EQ(control->getFrameCount(), 4);
    EXPECT_EQ(control->getPositions(), 4);
    EXPECT_EQ(control->getFrameHeight(), 10);
    control->setValue(1.0f);
    EXPECT_EQ(drawnFrame(control, place), 3);
    frame->removeView(control);
  }
  cut->forget();
}

TEST_F(Switches, NonsenseLayoutsStayInsideThePicture) {
  struct Case {
    long frameCount;
    long frameHeight;
    long positions;
    long frameAtOne;  // drawn for value 1 (-2: nothing)
    float dragged;    // value after a press at the bottom right
  };
  const Case cases[] = {
      {4, 10, 1, 0, 0.0f},   // one position: nowhere to go
      {4, 10, 0, 0, 0.0f},   // no positions
      {4, 10, -2, 0, 0.0f},  // negative positions
      {2, 10, 4, 1, 1.0f},   // fewer frames than positions: the last frame
      {0, 10, 4, -2, 1.0f},  // no frames
      {4, 0, 4, -2, 0.0f},   // frames without height: cells without height
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.frameCount << " frames of " << c.frameHeight << ", "
                                    << c.positions << " positions");
    auto* control = add(new CVerticalSwitch(kVerticalPlace, &listener, kTag, c.frameCount,
                                            c.frameHeight, c.positions, strip, origin));
    control->setValue(1.0f);
    EXPECT_EQ(drawnFrame(control, kVerticalPlace), c.frameAtOne);
    control->setValue(0.5f);
    press(CPoint(kVerticalPlace.right - 1, kVerticalPlace.bottom - 1), kMouseLeft);
    EXPECT_EQ(control->getValue(), c.dragged);
    frame->removeView(control);
  }
}

TEST_F(Switches, CtrlClickResetsAndModifiersGoToTheListenerFirst) {
  auto* control = add(new CVerticalSwitch(kVerticalPlace, &listener, kTag, 4, 10, 4, strip, origin));
  control->setDefaultValue(1.0f / 3.0f);
  control->setValue(1.0f);
  settle();
  const CPoint at(kVerticalPlace.left + 1, kVerticalPlace.top + 1);
  press(at, kMouseLeft | kModCommand);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, kMouseLeft | kModCommand), begin(kTag),
                                          changed(kTag, 1.0f / 3.0f), end(kTag)}));
  events().clear();
  listener.modifierAnswer = 1;
  press(at, kMouseLeft | kModShift);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, kMouseLeft | kModShift)}));
  EXPECT_EQ(control->getValue(), 1.0f / 3.0f);
}

TEST_F(Switches, AnswerToTheirOwnNamesAndTheirBases) {
  auto* vertical = add(new CVerticalSwitch(kVerticalPlace, nullptr, 0, strip, origin));
  auto* horizontal = add(new CHorizontalSwitch(kHorizontalPlace, nullptr, 0, strip, origin));
  EXPECT_TRUE(vertical->isTypeOf("CVerticalSwitch"));
  EXPECT_FALSE(vertical->isTypeOf("CHorizontalSwitch"));
  EXPECT_TRUE(horizontal->isTypeOf("CHorizontalSwitch"));
  EXPECT_FALSE(horizontal->isTypeOf("CVerticalSwitch"));
  for (CControl* c : {static_cast<CControl*>(vertical), static_cast<CControl*>(horizontal)})
    EXPECT_TRUE(c->isTypeOf("CControl"));
}

}  // namespace
