// The selector switch and the multi-state button: which position or state
// a press chooses, what they report, and which strip frame they draw.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/family/cmultibutton.h"
#include "editor/family/cselectorswitch.h"
#include "family_test_support.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr long L = kMouseLeft;
constexpr CColor kGround = {60, 60, 60, 255};

// Two rows of three: 10 × 10 cells in frames of 30 × 20.
constexpr long kSelectorTag = 3;
const CRect kSelectorPlace(20, 30, 50, 50);

struct SelectorInFrame : EditorFixture {
  CBitmap* strip = nullptr;
  CSelectorSwitch* selector = nullptr;
  void SetUp() override {
    EditorFixture::SetUp();
    strip = makeStrip(30, 20, 6);
    CPoint offset;
    selector =
        add(new CSelectorSwitch(kSelectorPlace, &listener, kSelectorTag, 2, 3, strip, offset));
    drawAll();
  }
  void TearDown() override {
    editor->close();
    EXPECT_EQ(strip->getNbReference(), 1);
    strip->forget();
    EditorFixture::TearDown();
  }
};

TEST_F(SelectorInFrame, PressSelectsTheCellUnderThePointer) {
  EXPECT_EQ(selector->getFrameHeight(), 20);
  EXPECT_EQ(selector->getDefaultValue(), 0.0f);
  struct Case {
    CPoint at;
    long position;
  };
  const Case cases[] = {
      {{20, 30}, 0}, {{29, 39}, 0}, {{30, 30}, 1}, {{45, 35}, 2}, {{25, 45}, 3},
      {{35, 40}, 4}, {{49, 49}, 5}, {{50, 50}, 5},  // the far corner still takes presses
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at.x << ", " << c.at.y);
    selector->setValue(c.position == 2 ? 0.0f : 0.4f);  // somewhere else
    const float before = selector->getValue();
    drawAll();
    events().clear();
    press(c.at, L);
    const float expected = static_cast<float>(c.position) / 5.0f;
    EXPECT_EQ(selector->getValue(), expected);
    EXPECT_EQ(selector->currentPosition(), c.position);
    std::vector<Event> reports{begin(kSelectorTag)};
    if (expected != before) reports.push_back(changed(kSelectorTag, expected));
    reports.push_back(end(kSelectorTag));
    EXPECT_EQ(events(), reports);
  }
}

TEST_F(SelectorInFrame, DragFollowsThePointerAndStopsAtTheGridsEdges) {
  press(CPoint(21, 31), L,
        {{CPoint(21, 31), L},
         {CPoint(36, 41), L},
         {CPoint(36, 41), L},
         {CPoint(-500, -500), L},
         {CPoint(900, 900), L},
         {CPoint(31, 31), L},
         {CPoint(31, 31), 0}});
  // Position 0 is the value already: no report for it.
  EXPECT_EQ(eventLog().reportedValues(), (std::vector<float>{0.8f, 0.0f, 1.0f, 0.2f}));
  EXPECT_EQ(selector->getValue(), 0.2f);
  EXPECT_EQ(framePixel(kSelectorPlace.left, kSelectorPlace.top), stripColor(1));
}

TEST_F(SelectorInFrame, CommandClickGoesBackToTheFirstPosition) {
  selector->setValue(0.6f);
  drawAll();
  press(CPoint(45, 45), L | kModCommand);
  EXPECT_EQ(selector->getValue(), 0.0f);
  EXPECT_EQ(events(),
            (std::vector<Event>{modifierClick(kSelectorTag, L | kModCommand), begin(kSelectorTag),
                                changed(kSelectorTag, 0.0f), end(kSelectorTag)}));
}

TEST(SelectorSwitchDrawing, ValueChoosesTheNearestPosition) {
  CBitmap* strip = makeStrip(30, 20, 6);
  CPoint offset;
  auto* selector = new CSelectorSwitch(kSelectorPlace, nullptr, 0, 2, 3, strip, offset);
  struct Case {
    float value;
    long frame;
  };
  for (Case c : {Case{0.0f, 0}, Case{0.2f, 1}, Case{0.29f, 1}, Case{0.31f, 2}, Case{1.0f, 5},
                 Case{7.0f, 5}, Case{-1.0f, 0}, Case{std::nanf(""), 0}, Case{-INFINITY, 0}}) {
    SCOPED_TRACE(c.value);
    selector->setValue(c.value);
    Surface surface(60, 60, kGround);
    Context context(surface);
    selector->draw(context);
    EXPECT_EQ(surface.pixel(kSelectorPlace.left, kSelectorPlace.top), stripColor(c.frame));
    EXPECT_EQ(surface.pixel(kSelectorPlace.right - 1, kSelectorPlace.bottom - 1),
              stripColor(c.frame));
    EXPECT_EQ(surface.pixel(kSelectorPlace.left, kSelectorPlace.bottom), kGround);
  }
  selector->forget();
  strip->forget();
}

TEST(SelectorSwitchDegenerate, GridsAndPicturesWithoutCellsStayInRange) {
  struct Case {
    const char* name;
    long rows, columns;
    bool picture;
    float highest;  // the value a press at the far corner gives
  };
  for (Case c : {Case{"one position", 1, 1, true, 0.0f}, Case{"no picture", 2, 3, false, 1.0f},
                 Case{"counts below one", 0, -4, true, 0.0f}}) {
    SCOPED_TRACE(c.name);
    CBitmap* strip = c.picture ? makeStrip(30, 20, 6) : nullptr;
    CPoint offset;
    auto* selector =
        new CSelectorSwitch(kSelectorPlace, nullptr, 0, c.rows, c.columns, strip, offset);
    CPoint at(kSelectorPlace.right, kSelectorPlace.bottom);
    selector->mouse(nullptr, at, L);
    EXPECT_EQ(selector->getValue(), c.highest);
    Surface surface(60, 60, kGround);
    Context context(surface);
    selector->draw(context);
    selector->forget();
    if (strip) strip->forget();
  }
}

constexpr long kButtonTag = 8;
const CRect kButtonPlace(60, 30, 80, 40);

struct MultiButtonInFrame : EditorFixture {
  CBitmap* strip = nullptr;
  CMultiButton* button = nullptr;
  void SetUp() override {
    EditorFixture::SetUp();
    strip = makeStrip(20, 10, 3);
    CPoint offset;
    button = add(new CMultiButton(kButtonPlace, &listener, kButtonTag, 3, strip, offset));
    drawAll();
  }
  void TearDown() override {
    editor->close();
    EXPECT_EQ(strip->getNbReference(), 1);
    strip->forget();
    EditorFixture::TearDown();
  }
};

TEST_F(MultiButtonInFrame, EachPressStepsToTheNextStateAndWraps) {
  const CPoint at(70, 35);
  const float expected[] = {1.0f / 3.0f, 2.0f / 3.0f, 0.0f, 1.0f / 3.0f};
  for (float value : expected) {
    events().clear();
    // Held over several idle passes: still one step.
    press(at, L, {{at, L}, {at, L}, {at, L}, {at, 0}});
    EXPECT_EQ(button->getValue(), value);
    EXPECT_EQ(events(),
              (std::vector<Event>{begin(kButtonTag), changed(kButtonTag, value), end(kButtonTag)}));
    EXPECT_EQ(framePixel(at.x, at.y), stripColor(button->currentState()));
  }
}

TEST_F(MultiButtonInFrame, OnlyAPlainLeftPressSteps) {
  listener.modifierAnswer = 1;
  for (long buttons : {long{kMouseRight}, L | kModShift}) press(CPoint(70, 35), buttons);
  EXPECT_EQ(button->getValue(), 0.0f);
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kButtonTag, L | kModShift)}));
}

TEST(MultiButtonDrawing, ValueShowsTheNearestStateWithinTheStrip) {
  CBitmap* strip = makeStrip(20, 10, 3);
  CPoint offset;
  auto* button = new CMultiButton(kButtonPlace, nullptr, 0, 3, strip, offset);
  EXPECT_EQ(button->getFrameHeight(), 10);
  struct Case {
    float value;
    long frame;
  };
  for (Case c : {Case{0.0f, 0}, Case{1.0f / 3.0f, 1}, Case{2.0f / 3.0f, 2}, Case{0.3f, 1},
                 Case{1.0f, 2}, Case{-0.5f, 0}, Case{std::nanf(""), 0}, Case{INFINITY, 2}}) {
    SCOPED_TRACE(c.value);
    button->setValue(c.value);
    Surface surface(100, 60, kGround);
    Context context(surface);
    button->draw(context);
    EXPECT_EQ(surface.pixel(kButtonPlace.left, kButtonPlace.top), stripColor(c.frame));
    EXPECT_EQ(surface.pixel(kButtonPlace.right - 1, kButtonPlace.bottom - 1), stripColor(c.frame));
  }
  // A value at the top of the strip steps on to the first state.
  button->setValue(1.0f);
  CPoint at(70, 35);
  button->mouse(nullptr, at, L);
  EXPECT_EQ(button->getValue(), 0.0f);
  button->forget();
  strip->forget();
}

TEST(MultiButtonDegenerate, FewerThanOneStateIsOne) {
  for (long states : {1L, 0L, -5L}) {
    SCOPED_TRACE(states);
    CBitmap* strip = makeStrip(20, 10, 1);
    CPoint offset;
    auto* button = new CMultiButton(kButtonPlace, nullptr, 0, states, strip, offset);
    EXPECT_EQ(button->getStates(), 1);
    CPoint at(70, 35);
    button->mouse(nullptr, at, L);
    EXPECT_EQ(button->getValue(), 0.0f);
    button->forget();
    strip->forget();
  }
}

}  // namespace
