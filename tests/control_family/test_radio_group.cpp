// Radio buttons in a group: choosing one turns the others off, the outer
// listener hears of the choice, a chosen button stays chosen when pressed
// again, and group and buttons may go away in either order.
#include <gtest/gtest.h>

#include <vector>

#include "editor/family/cradiobutton.h"
#include "family_test_support.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr long L = kMouseLeft;
constexpr int kTags[] = {20, 21, 22};

CRect placeOf(int i) { return CRect(10 + 20 * i, 10, 20 + 20 * i, 20); }
CPoint inside(int i) { return CPoint(15 + 20 * i, 15); }

struct RadioGroupInFrame : EditorFixture {
  CBitmap* strip = nullptr;
  CRadioGroup* group = nullptr;
  std::vector<CRadioButton*> buttons;
  void SetUp() override {
    EditorFixture::SetUp();
    strip = makeStrip(10, 10, 2);
    group = new CRadioGroup(&listener);
    for (int i = 0; i < 3; ++i) {
      CRect place = placeOf(i);
      buttons.push_back(add(new CRadioButton(place, group, kTags[i], strip)));
    }
    drawAll();
  }
  void TearDown() override {
    editor->close();
    delete group;
    EXPECT_EQ(strip->getNbReference(), 1);
    strip->forget();
    EditorFixture::TearDown();
  }
  std::vector<float> values() const {
    std::vector<float> v;
    for (CRadioButton* b : buttons) v.push_back(b->getValue());
    return v;
  }
  // What each button shows on screen, as 0 or 1.
  std::vector<float> shown() {
    std::vector<float> v;
    for (int i = 0; i < 3; ++i)
      v.push_back(static_cast<float>(stripFrameOf(framePixel(inside(i).x, inside(i).y))));
    return v;
  }
};

TEST_F(RadioGroupInFrame, ConstructionJoinsTheGroupAsItsListener) {
  ASSERT_EQ(group->getButtons().size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(group->getButtons()[static_cast<size_t>(i)], buttons[static_cast<size_t>(i)]);
    EXPECT_EQ(buttons[static_cast<size_t>(i)]->getListener(), group);
    EXPECT_EQ(buttons[static_cast<size_t>(i)]->getGroup(), group);
  }
}

TEST_F(RadioGroupInFrame, PressChoosesOneButtonAndTheOuterListenerHearsOfIt) {
  struct Case {
    const char* name;
    std::vector<float> before;
    int pressed;
    std::vector<float> after;
    bool reported;
  };
  const Case cases[] = {
      {"first choice", {0, 0, 0}, 1, {0, 1, 0}, true},
      {"another one", {1, 0, 0}, 2, {0, 0, 1}, true},
      // Two on at once (set behind the group's back) both give way.
      {"two were on", {1, 0, 1}, 1, {0, 1, 0}, true},
      {"the chosen one again", {0, 1, 0}, 1, {0, 1, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (size_t i = 0; i < 3; ++i) buttons[i]->CControl::setValue(c.before[i]);
    drawAll();
    events().clear();
    press(inside(c.pressed), L);
    EXPECT_EQ(values(), c.after);
    const long tag = kTags[c.pressed];
    if (c.reported)
      EXPECT_EQ(events(), (std::vector<Event>{begin(tag), changed(tag, 1.0f), end(tag)}));
    else
      EXPECT_TRUE(events().empty());
    // The buttons switched off were redrawn off.
    drawAll();
    EXPECT_EQ(shown(), c.after);
  }
}

TEST_F(RadioGroupInFrame, SettingAValueOnMakesThatButtonTheActiveOneWithoutAReport) {
  buttons[0]->setValue(1.0f);
  EXPECT_EQ(values(), (std::vector<float>{1, 0, 0}));
  buttons[2]->setValue(1.0f);
  EXPECT_EQ(values(), (std::vector<float>{0, 0, 1}));
  EXPECT_EQ(group->getActiveButton(), buttons[2]);
  // Switching some other button off does not make it the active one.
  buttons[1]->setValue(0.0f);
  EXPECT_EQ(values(), (std::vector<float>{0, 0, 1}));
  EXPECT_EQ(group->getActiveButton(), buttons[2]);
  EXPECT_TRUE(events().empty());
}

TEST_F(RadioGroupInFrame, ModifiedPressesAreTheOuterListenersToTake) {
  listener.modifierAnswer = 1;
  press(inside(0), L | kModCommand | kModShift);
  EXPECT_EQ(values(), (std::vector<float>{0, 0, 0}));
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTags[0], L | kModCommand | kModShift)}));
}

TEST_F(RadioGroupInFrame, ButtonLeavingTheFrameLeavesTheGroup) {
  buttons[1]->remember();
  frame->removeView(buttons[1]);
  buttons[1]->forget();
  buttons.erase(buttons.begin() + 1);
  EXPECT_EQ(group->getButtons().size(), 2u);
  press(inside(2), L);
  EXPECT_EQ(values(), (std::vector<float>{0, 1}));
}

TEST_F(RadioGroupInFrame, GroupGoingFirstLeavesLoneButtons) {
  delete group;
  group = nullptr;
  for (CRadioButton* b : buttons) {
    EXPECT_EQ(b->getGroup(), nullptr);
    EXPECT_EQ(b->getListener(), nullptr);
  }
  press(inside(0), L);
  buttons[1]->setValue(1.0f);
  EXPECT_EQ(values(), (std::vector<float>{1, 1, 0}));
  // The host still hears of the edit; nobody else is told.
  EXPECT_EQ(events(), (std::vector<Event>{begin(kTags[0]), end(kTags[0])}));
}

TEST(RadioGroup, ReportsOfOtherControlsPassThrough) {
  eventLog().clear();
  RecordingListener outer;
  CRadioGroup group(&outer);
  CRect place = placeOf(0);
  auto* member = new CRadioButton(place, &group, 5, nullptr);
  member->CControl::setValue(1.0f);
  auto* stranger = new CRadioButton(place, nullptr, 6, nullptr);
  stranger->CControl::setValue(1.0f);
  group.valueChanged(nullptr, stranger);
  EXPECT_EQ(member->getValue(), 1.0f);
  EXPECT_EQ(eventLog().events, (std::vector<Event>{changed(6, 1.0f)}));
  // A group without an outer listener just keeps the buttons in order.
  group.setOuterListener(nullptr);
  group.valueChanged(nullptr, member);
  EXPECT_EQ(eventLog().events.size(), 1u);
  member->forget();
  stranger->forget();
  eventLog().clear();
}

}  // namespace
