// The about box: a hot spot that opens a picture as the frame's modal view,
// swallows presses while open, and closes with the next click, redrawing the
// whole window.
#include <gtest/gtest.h>

#include "control_test_support.h"
#include "editor/cmoviebutton.h"
#include "editor/csplashscreen.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr long kTag = 7;
constexpr long L = kMouseLeft;
const CRect kHotSpot(150, 120, 184, 134);  // 34 × 14, like the editor's
const CRect kDisplay(10, 10, 70, 30);      // where the picture shows
const CPoint kOnHotSpot(160, 125);
constexpr CColor kGround = kBlackCColor;  // the frame's background colour

struct SplashInFrame : EditorFixture {
  // Three frames of 60 × 20; the splash shows the middle one.
  CBitmap* picture = nullptr;
  CSplashScreen* splash = nullptr;
  CMovieButton* underneath = nullptr;

  void SetUp() override {
    EditorFixture::SetUp();
    picture = makeStrip(60, 20, 3);
    CRect display = kDisplay;
    CPoint displayOffset(0, 20);
    CPoint none;
    // A control that the open picture covers.
    underneath = add(new CMovieButton(CRect(20, 15, 40, 25), &listener, 4, 10, nullptr, none));
    splash = add(new CSplashScreen(kHotSpot, &listener, kTag, picture, display, displayOffset));
    drawAll();
  }
  void TearDown() override {
    editor->close();
    EXPECT_EQ(picture->getNbReference(), 1);
    picture->forget();
    EditorFixture::TearDown();
  }
  CRect viewSize() {
    CRect r;
    return splash->getViewSize(r);
  }
  CRect mouseableArea() {
    CRect r;
    return splash->getMouseableArea(r);
  }
  void expectClosed() {
    EXPECT_EQ(splash->getValue(), 0.0f);
    EXPECT_EQ(viewSize(), kHotSpot);
    EXPECT_EQ(mouseableArea(), kHotSpot);
    EXPECT_EQ(frame->getModalView(), nullptr);
  }
};

TEST_F(SplashInFrame, HitOnlyByTheLeftButtonInsideItsAreaEdgesIncluded) {
  struct Case {
    CPoint where;
    long buttons;
    bool hit;
  };
  const Case cases[] = {
      {kOnHotSpot, L, true},
      {CPoint(150, 120), L, true},
      {CPoint(184, 134), L, true},
      {CPoint(185, 134), L, false},
      {CPoint(149, 125), L, false},
      {kOnHotSpot, kMouseRight, false},
      {kOnHotSpot, kMouseMiddle, false},
      {kOnHotSpot, kMouseRight | L, true},
      {kOnHotSpot, L | kModShift, true},
      {kOnHotSpot, -1, true},  // not given counts as left
  };
  for (const Case& c : cases)
    EXPECT_EQ(splash->hitTest(c.where, c.buttons), c.hit)
        << c.where.x << ", " << c.where.y << " buttons " << c.buttons;
}

TEST_F(SplashInFrame, ClickOpensThePictureAsModalViewAndTheNextClickClosesIt) {
  EXPECT_EQ(splash->getNbReference(), 2);  // the creator's, taken over, and the list's
  press(kOnHotSpot, L);
  EXPECT_EQ(splash->getValue(), 1.0f);
  EXPECT_EQ(frame->getModalView(), splash);
  EXPECT_EQ(viewSize(), kDisplay);
  EXPECT_EQ(mouseableArea(), kDisplay);
  EXPECT_EQ(splash->getSavedSize(), kHotSpot);
  EXPECT_EQ(splash->getNbReference(), 3);  // also in the list as the modal view
  // Reported, but no edit gesture: the about box is no parameter.
  EXPECT_EQ(events(), (std::vector<Event>{changed(kTag, 1.0f)}));

  // The host's idle shows the picture's middle frame over the display area.
  editor->idle();
  EXPECT_EQ(framePixel(kDisplay.left, kDisplay.top), stripColor(1));
  EXPECT_EQ(framePixel(kDisplay.right - 1, kDisplay.bottom - 1), stripColor(1));
  EXPECT_EQ(framePixel(25, 20), stripColor(1));  // over the covered control
  EXPECT_EQ(framePixel(kDisplay.right, kDisplay.top), kGround);

  // A press outside the picture is dropped.
  press(CPoint(100, 100), L);
  EXPECT_EQ(splash->getValue(), 1.0f);
  // A press on the covered control closes the picture instead.
  events().clear();
  press(CPoint(25, 20), L);
  expectClosed();
  EXPECT_EQ(underneath->getValue(), 0.0f);
  EXPECT_EQ(events(), (std::vector<Event>{changed(kTag, 0.0f)}));
  EXPECT_EQ(splash->getNbReference(), 2);
  EXPECT_EQ(frame->getNbViews(), 2);

  // The whole window is due, and the next idle draws it without the picture.
  EXPECT_TRUE(frame->isDirty());
  editor->idle();
  EXPECT_EQ(framePixel(kDisplay.left, kDisplay.top), kGround);
  EXPECT_EQ(framePixel(65, 28), kGround);
  EXPECT_FALSE(frame->isDirty());
}

TEST_F(SplashInFrame, OpensAgainAfterClosing) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    press(kOnHotSpot, L);
    EXPECT_EQ(frame->getModalView(), splash);
    press(CPoint(kDisplay.left, kDisplay.top), L);
    expectClosed();
  }
  EXPECT_EQ(eventLog().reportedValues(), (std::vector<float>{1, 0, 1, 0, 1, 0}));
}

TEST_F(SplashInFrame, RightClickOrLearnGestureTakenByTheListenerDoesNotOpen) {
  // A right press does not even hit it.
  press(kOnHotSpot, kMouseRight);
  listener.modifierAnswer = 1;
  press(kOnHotSpot, L | kModCommand | kModShift);
  expectClosed();
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, L | kModCommand | kModShift)}));
  // Offered but passed on: a plain opening click.
  listener.modifierAnswer = 0;
  press(kOnHotSpot, L | kModCommand);
  EXPECT_EQ(splash->getValue(), 1.0f);
  EXPECT_EQ(frame->getModalView(), splash);
}

TEST_F(SplashInFrame, WhenAnotherViewIsModalItOpensInPlaceAndClosesWithoutTouchingIt) {
  CPoint none;
  auto* other = new CMovieButton(CRect(0, 0, 5, 5), nullptr, 9, 5, nullptr, none);
  ASSERT_TRUE(frame->setModalView(other));
  other->forget();  // the frame's list holds it now
  // Presses through the frame go to the other modal view: ask directly.
  CPoint where = kOnHotSpot;
  splash->mouse(nullptr, where, L);
  EXPECT_EQ(splash->getValue(), 1.0f);
  EXPECT_TRUE(splash->isDirty());
  EXPECT_EQ(viewSize(), kHotSpot);
  EXPECT_EQ(frame->getModalView(), other);
  EXPECT_TRUE(events().empty());  // not opened as the frame sees it: no report
  splash->mouse(nullptr, where, L);
  EXPECT_EQ(splash->getValue(), 0.0f);
  // Its own rectangle stays (there was none saved), and the other view stays modal.
  EXPECT_EQ(viewSize(), kHotSpot);
  EXPECT_EQ(mouseableArea(), kHotSpot);
  EXPECT_EQ(frame->getModalView(), other);
  EXPECT_EQ(events(), (std::vector<Event>{changed(kTag, 0.0f)}));
  frame->setModalView(nullptr);
}

TEST_F(SplashInFrame, UnSplashClosesWithoutAReport) {
  press(kOnHotSpot, L);
  events().clear();
  splash->unSplash();
  expectClosed();
  EXPECT_TRUE(events().empty());
  // Closed already: nothing to do.
  splash->unSplash();
  expectClosed();
  press(kOnHotSpot, L);
  EXPECT_EQ(frame->getModalView(), splash);
}

TEST_F(SplashInFrame, ClosedWhileTheFrameGoesAway) {
  press(kOnHotSpot, L);
  // TearDown closes the editor with the splash still modal: the frame lets
  // go of both of its list entries, and of the picture.
}

// ---- drawing ----

struct SplashDrawing : ::testing::Test {
  CBitmap* picture = makeStrip(60, 20, 3);
  CRect display = kDisplay;
  CPoint displayOffset{0, 40};
  CSplashScreen* splash =
      new CSplashScreen(kHotSpot, nullptr, kTag, picture, display, displayOffset);
  Surface surface{200, 150, kGround};

  void TearDown() override {
    splash->forget();
    picture->forget();
  }
  CColor drawnAt(long x, long y) {
    Context context(surface);
    splash->draw(context);
    return surface.pixel(x, y);
  }
};

TEST_F(SplashDrawing, ClosedDrawsNothingOpenDrawsThePictureOverTheDisplayArea) {
  EXPECT_EQ(drawnAt(20, 20), kGround);
  EXPECT_EQ(surface.pixel(160, 125), kGround);
  EXPECT_FALSE(splash->isDirty());
  splash->setValue(1.0f);
  EXPECT_EQ(drawnAt(20, 20), stripColor(2));
  EXPECT_EQ(surface.pixel(kDisplay.right, kDisplay.top), kGround);
  EXPECT_EQ(surface.pixel(160, 125), kGround);  // not on the hot spot
}

TEST_F(SplashDrawing, TransparencyBlendsWithTheGivenAlpha) {
  splash->setValue(1.0f);
  EXPECT_FALSE(splash->getTransparency());
  splash->setBitmapTransparency(128);
  EXPECT_TRUE(splash->getTransparency());
  const CColor c = stripColor(2);
  const CColor blended = drawnAt(20, 20);
  // Half of the picture over black.
  EXPECT_NEAR(blended.red, c.red / 2, 2);
  EXPECT_NEAR(blended.green, c.green / 2, 2);
  EXPECT_NEAR(blended.blue, c.blue / 2, 2);
  // Alpha 0 means keyed drawing, not an invisible picture.
  splash->setBitmapTransparency(0);
  EXPECT_EQ(drawnAt(20, 20), c);
  splash->setBitmapTransparency(255);
  EXPECT_FALSE(splash->getTransparency());
}

TEST_F(SplashDrawing, WithoutAFrameItTogglesButNeverGrows) {
  CPoint where = kOnHotSpot;
  splash->mouse(nullptr, where, L);
  EXPECT_EQ(splash->getValue(), 1.0f);
  CRect r;
  EXPECT_EQ(splash->getViewSize(r), kHotSpot);
  splash->mouse(nullptr, where, L);
  EXPECT_EQ(splash->getValue(), 0.0f);
  EXPECT_EQ(splash->getViewSize(r), kHotSpot);
}

}  // namespace
