// The control base: its starting state, when it counts as due for drawing,
// clamping, the command-click default, edit gestures reaching the host, the
// double-click clock and type questions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "control_test_support.h"
#include "editor/canimknob.h"
#include "editor/ccontrol.h"
#include "editor/cknob.h"
#include "editor/cmoviebutton.h"
#include "editor/csplashscreen.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

// A control with nothing of its own: it only records that it was drawn.
class PlainControl : public CControl {
 public:
  using CControl::CControl;
  void draw(CDrawContext* context) override {
    ++draws;
    setDirty(false);
  }
  int draws = 0;
};

// Holds the creator's reference and lets it go.
template <class T>
struct Owned {
  T* object;
  explicit Owned(T* o) : object(o) {}
  ~Owned() { object->forget(); }
  T* operator->() const { return object; }
  T* get() const { return object; }
};

TEST(ControlState, NewControlHasTheDocumentedDefaults) {
  RecordingListener listener;
  Owned<PlainControl> control(new PlainControl(CRect(1, 2, 30, 40), &listener, 5));
  EXPECT_EQ(control->getValue(), 0.0f);
  EXPECT_EQ(control->getMin(), 0.0f);
  EXPECT_EQ(control->getMax(), 1.0f);
  EXPECT_EQ(control->getDefaultValue(), 0.5f);
  EXPECT_EQ(control->getWheelInc(), 0.1f);
  EXPECT_EQ(control->getOldValue(), 1.0f);
  EXPECT_EQ(control->getTag(), 5);
  EXPECT_EQ(control->getListener(), &listener);
  EXPECT_EQ(control->getDoubleClickDelta(), 250);
  EXPECT_EQ(control->getBackOffset(), CPoint(0, 0));
  EXPECT_TRUE(control->getMouseEnabled());
  EXPECT_FALSE(control->getTransparency());
  // Never drawn: due for drawing because its value differs from the one drawn.
  EXPECT_TRUE(control->isDirty());
  control->draw(nullptr);
  EXPECT_FALSE(control->isDirty());
  EXPECT_EQ(control->getOldValue(), 0.0f);
}

TEST(ControlState, DueForDrawingWhileTheValueDiffersFromTheOneDrawn) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* name;
    float value;     // set after a drawing
    bool markDirty;  // then setDirty(true)
    bool dirty;
    float oldValue;  // NaN: do not check
  };
  const Case cases[] = {
      {"unchanged", 0.0f, false, false, 0.0f},
      {"value moved", 0.3f, false, true, 0.0f},
      {"marked", 0.0f, true, true, -1.0f},
      // -1 would equal the marker value: the mark then uses 0.
      {"marked at -1", -1.0f, true, true, 0.0f},
      // A NaN never equals what was drawn.
      {"NaN", nan, false, true, std::numeric_limits<float>::quiet_NaN()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<PlainControl> control(new PlainControl(CRect(0, 0, 10, 10)));
    control->draw(nullptr);
    control->setValue(c.value);
    if (c.markDirty) control->setDirty(true);
    EXPECT_EQ(control->isDirty(), c.dirty);
    if (!std::isnan(c.oldValue)) {
      EXPECT_EQ(control->getOldValue(), c.oldValue);
    }
    control->setDirty(false);
    // Clearing records the value as drawn, except a NaN, which stays due.
    EXPECT_EQ(control->isDirty(), std::isnan(c.value));
  }
}

TEST(ControlState, SetValueStoresWithoutClampingOrReporting) {
  eventLog().clear();
  RecordingListener listener;
  Owned<PlainControl> control(new PlainControl(CRect(0, 0, 10, 10), &listener, 1));
  struct Case {
    float min, max, value, bounced;
  };
  const Case cases[] = {
      {0.0f, 1.0f, 2.0f, 1.0f},  {0.0f, 1.0f, -0.5f, 0.0f},   {0.0f, 1.0f, 0.25f, 0.25f},
      {-1.0f, 3.0f, 5.0f, 3.0f}, {-1.0f, 3.0f, -2.0f, -1.0f}, {-1.0f, 3.0f, -0.5f, -0.5f},
  };
  for (const Case& c : cases) {
    control->setMin(c.min);
    control->setMax(c.max);
    control->setValue(c.value);
    EXPECT_EQ(control->getValue(), c.value);
    control->bounceValue();
    EXPECT_EQ(control->getValue(), c.bounced)
        << c.value << " in [" << c.min << ", " << c.max << "]";
  }
  EXPECT_TRUE(eventLog().events.empty());
}

TEST(ControlState, BackOffsetIsStoredOrCopiedFromTheRectangle) {
  Owned<PlainControl> control(new PlainControl(CRect(12, 34, 56, 78)));
  CPoint offset(3, 4);
  control->setBackOffset(offset);
  EXPECT_EQ(control->getBackOffset(), CPoint(3, 4));
  control->copyBackOffset();
  EXPECT_EQ(control->getBackOffset(), CPoint(12, 34));
}

TEST(ControlState, HoldsItsBackgroundForItsLifetime) {
  CBitmap* picture = makePicture(4, 4, kRedCColor);
  {
    Owned<PlainControl> control(new PlainControl(CRect(0, 0, 4, 4), nullptr, 0, picture));
    EXPECT_EQ(control->getBackground(), picture);
    EXPECT_EQ(picture->getNbReference(), 2);
  }
  EXPECT_EQ(picture->getNbReference(), 1);
  picture->forget();
}

TEST(ControlTypes, EachClassAnswersForItselfAndItsBases) {
  CPoint offset;
  CRect display(0, 0, 10, 10);
  Owned<PlainControl> plain(new PlainControl(CRect(0, 0, 10, 10)));
  Owned<CKnob> knob(new CKnob(CRect(0, 0, 10, 10), nullptr, 0, nullptr, nullptr));
  Owned<CAnimKnob> anim(new CAnimKnob(CRect(0, 0, 10, 10), nullptr, 0, 2, 10, nullptr, offset));
  Owned<CMovieButton> button(
      new CMovieButton(CRect(0, 0, 10, 10), nullptr, 0, 10, nullptr, offset));
  Owned<CSplashScreen> splash(
      new CSplashScreen(CRect(0, 0, 10, 10), nullptr, 0, nullptr, display, offset));
  const char* names[] = {"CView",         "CControl", "CKnob", "CAnimKnob", "CMovieButton",
                         "CSplashScreen", "CFrame",   "",      nullptr};
  struct Row {
    const char* what;
    CView* view;
    std::string answersTo;  // the names it accepts, space separated
  };
  const Row rows[] = {
      {"CControl", plain.get(), "CView CControl"},
      {"CKnob", knob.get(), "CView CControl CKnob"},
      {"CAnimKnob", anim.get(), "CView CControl CKnob CAnimKnob"},
      {"CMovieButton", button.get(), "CView CControl CMovieButton"},
      {"CSplashScreen", splash.get(), "CView CControl CSplashScreen"},
  };
  for (const Row& row : rows) {
    for (const char* name : names) {
      const bool expected =
          name && *name &&
          (" " + row.answersTo + " ").find(" " + std::string(name) + " ") != std::string::npos;
      EXPECT_EQ(row.view->isTypeOf(name), expected)
          << row.what << " asked for " << (name ? name : "null");
    }
  }
}

// ---- in a frame ----

struct ControlInFrame : EditorFixture {};

TEST_F(ControlInFrame, EditGestureReachesTheHostWithTheTagAndTakesTheFocus) {
  auto* control = add(new PlainControl(CRect(0, 0, 10, 10), &listener, 3));
  control->beginEdit();
  EXPECT_EQ(frame->getFocusView(), control);
  control->endEdit();
  EXPECT_EQ(events(), (std::vector<Event>{begin(3), end(3)}));
}

TEST_F(ControlInFrame, OutsideAFrameEditGesturesAndIdleDoNothing) {
  Owned<PlainControl> loose(new PlainControl(CRect(0, 0, 10, 10), &listener, 3));
  loose->beginEdit();
  loose->doIdleStuff();
  loose->endEdit();
  EXPECT_TRUE(events().empty());
  EXPECT_EQ(editor->idleStuffCalls, 0);
  EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(ControlInFrame, IdleInsideLoopsGoesThroughTheFrameToTheEditor) {
  auto* control = add(new PlainControl(CRect(0, 0, 10, 10)));
  control->doIdleStuff();
  control->doIdleStuff();
  EXPECT_EQ(editor->idleStuffCalls, 2);
}

TEST_F(ControlInFrame, OnlyTheBareCommandClickResetsToTheDefault) {
  struct Case {
    const char* name;
    long buttons;
    float start;
    bool handled;
    std::vector<Event> expected;
  };
  const Case cases[] = {
      {"command click",
       kMouseLeft | kModCommand,
       0.2f,
       true,
       {begin(6), changed(6, 0.25f), end(6)}},
      // Already at the default: still one gesture, but nothing to report.
      {"command click at default", kMouseLeft | kModCommand, 0.25f, true, {begin(6), end(6)}},
      {"learn gesture", kMouseLeft | kModCommand | kModShift, 0.2f, false, {}},
      {"command alone", kModCommand, 0.2f, false, {}},
      {"plain click", kMouseLeft, 0.2f, false, {}},
      {"command with option", kMouseLeft | kModCommand | kModOption, 0.2f, false, {}},
      {"right command click", kMouseRight | kModCommand, 0.2f, false, {}},
      {"not given", -1, 0.2f, false, {}},
  };
  auto* control = add(new PlainControl(CRect(0, 0, 10, 10), &listener, 6));
  control->setDefaultValue(0.25f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    events().clear();
    control->setValue(c.start);
    control->draw(nullptr);
    EXPECT_EQ(control->checkDefaultValue(nullptr, c.buttons), c.handled);
    EXPECT_EQ(control->getValue(), c.handled ? 0.25f : c.start);
    EXPECT_EQ(events(), c.expected);
  }
}

TEST_F(ControlInFrame, DoubleClickIsASecondPressWithinTheInterval) {
  struct Case {
    const char* name;
    std::vector<long> ticks;
    std::vector<bool> doubles;
  };
  const Case cases[] = {
      {"quick pair, then a third", {1000, 1100, 1100}, {false, true, false}},
      {"just inside", {1000, 1249}, {false, true}},
      {"just outside", {1000, 1250}, {false, false}},
      {"slow, then quick", {1000, 1300, 1400}, {false, false, true}},
      // A clock reading of 0 is no press to pair with.
      {"clock at zero", {0, 100}, {false, false}},
      // 300 ms apart across the wrap of the 32-bit millisecond clock.
      {"across the wrap, slow", {4294967200L, 204}, {false, false}},
      {"across the wrap, quick", {4294967290L, 100}, {false, true}},
  };
  auto* control = add(new PlainControl(CRect(0, 0, 10, 10)));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Forget earlier presses: a long pause.
    frame->ticks = 0;
    control->isDoubleClick();
    for (size_t i = 0; i < c.ticks.size(); ++i) {
      frame->ticks = c.ticks[i];
      EXPECT_EQ(control->isDoubleClick(), c.doubles[i]) << "press " << i;
    }
  }
}

TEST(ControlDoubleClick, OutsideAFrameThereIsNoClockAndNoDoubleClick) {
  Owned<PlainControl> control(new PlainControl(CRect(0, 0, 10, 10)));
  EXPECT_FALSE(control->isDoubleClick());
  EXPECT_FALSE(control->isDoubleClick());
}

}  // namespace
