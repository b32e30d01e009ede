// The slider group: its tracks, where each handle is drawn, and how a press
// in a track sets that slider and drags it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/family/cslidergroup.h"
#include "family_test_support.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr long L = kMouseLeft;
constexpr long kTag = 11;
constexpr CColor kGround = {60, 60, 60, 255};
constexpr CColor kTrack = {0, 0, 200, 255};
constexpr CColor kHandle = {250, 120, 0, 255};
// Three tracks of 20 × 50; a 10 × 10 handle travels 40 rows.
const CRect kPlace(10, 10, 70, 60);

struct SlidersInFrame : EditorFixture {
  CBitmap* handle = nullptr;
  CBitmap* background = nullptr;
  CSliderGroup* group = nullptr;
  void SetUp() override {
    EditorFixture::SetUp();
    handle = makePicture(10, 10, kHandle);
    background = makePicture(60, 50, kTrack);
    group = add(new CSliderGroup(kPlace, &listener, kTag, 3, handle, background));
    drawAll();
  }
  void TearDown() override {
    editor->close();
    EXPECT_EQ(handle->getNbReference(), 1);
    EXPECT_EQ(background->getNbReference(), 1);
    handle->forget();
    background->forget();
    EditorFixture::TearDown();
  }
  std::vector<float> values() const {
    return {group->getValue(0L), group->getValue(1L), group->getValue(2L)};
  }
};

TEST_F(SlidersInFrame, TracksShareTheWidth) {
  struct Case {
    CPoint at;
    long track;
  };
  for (Case c : {Case{{10, 20}, 0}, Case{{29, 59}, 0}, Case{{30, 10}, 1}, Case{{49, 30}, 1},
                 Case{{50, 30}, 2}, Case{{70, 60}, 2}, Case{{9, 20}, -1}, Case{{71, 20}, -1},
                 Case{{30, 9}, -1}, Case{{30, 61}, -1}}) {
    SCOPED_TRACE(testing::Message() << c.at.x << ", " << c.at.y);
    EXPECT_EQ(group->inSliderTrack(c.at), c.track);
  }
}

TEST_F(SlidersInFrame, PressInATrackSetsThatSliderAndDragsIt) {
  // Row 35 puts the handle's middle half-way down its travel.
  press(CPoint(40, 35), L,
        {{CPoint(40, 35), L},
         {CPoint(40, 15), L},
         {CPoint(40, 0), L},
         {CPoint(65, 300), L},
         {CPoint(65, 300), 0}});
  EXPECT_EQ(group->getCurrentSlider(), 1);
  // The report carries the edited slider's value in the value field.
  EXPECT_EQ(eventLog().reportedValues(), (std::vector<float>{0.5f, 1.0f, 0.0f}));
  EXPECT_EQ(events().front(), begin(kTag));
  EXPECT_EQ(events().back(), end(kTag));
  EXPECT_EQ(values(), (std::vector<float>{0, 0, 0}));

  events().clear();
  press(CPoint(15, 25), L);
  EXPECT_EQ(group->getCurrentSlider(), 0);
  EXPECT_EQ(values(), (std::vector<float>{0.75f, 0, 0}));
  EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), changed(kTag, 0.75f), end(kTag)}));
}

TEST_F(SlidersInFrame, CommandClickPutsThatSliderBackToTheDefault) {
  group->setValue(2L, 0.1f);
  press(CPoint(60, 20), L | kModCommand);
  EXPECT_EQ(values(), (std::vector<float>{0, 0, 0.5f}));
  EXPECT_EQ(events(), (std::vector<Event>{modifierClick(kTag, L | kModCommand), begin(kTag),
                                          changed(kTag, 0.5f), end(kTag)}));
  // A listener that takes the press leaves the slider alone.
  events().clear();
  listener.modifierAnswer = 1;
  press(CPoint(20, 20), L | kModCommand);
  EXPECT_EQ(values(), (std::vector<float>{0, 0, 0.5f}));
}

TEST_F(SlidersInFrame, PressesOutsideTheTracksOrWithOtherButtonsDoNothing) {
  for (auto [at, buttons] : {std::pair{CPoint(5, 20), L}, std::pair{CPoint(40, 80), L},
                             std::pair{CPoint(40, 30), kMouseRight}}) {
    pointer.script({{at, buttons}, {at, 0}});
    group->mouse(nullptr, at, buttons);
  }
  EXPECT_EQ(values(), (std::vector<float>{0, 0, 0}));
  EXPECT_TRUE(events().empty());
}

TEST_F(SlidersInFrame, HandlesAreDrawnAtTheirValues) {
  group->setValue(0L, 1.0f);
  group->setValue(1L, 0.5f);
  group->setValue(2L, std::nanf(""));  // drawn as 0
  EXPECT_TRUE(group->isDirty());
  drawAll();
  // Handle tops: row 10 for 1, 30 for 0.5, 50 for 0; columns 15, 35, 55.
  const long tops[] = {10, 30, 50};
  for (long k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const long left = 15 + 20 * k;
    EXPECT_EQ(framePixel(left, tops[k]), kHandle);
    EXPECT_EQ(framePixel(left + 9, tops[k] + 9), kHandle);
    EXPECT_EQ(framePixel(left - 1, tops[k]), kTrack);
    EXPECT_EQ(framePixel(left + 10, tops[k]), kTrack);
    if (tops[k] > 10) {
      EXPECT_EQ(framePixel(left, tops[k] - 1), kTrack);
    }
    if (tops[k] < 50) {
      EXPECT_EQ(framePixel(left, tops[k] + 10), kTrack);
    }
  }
}

TEST(SliderGroup, IndicesOutsideTheGroupAndCountsAreKeptInRange) {
  struct Case {
    long count;
    long kept;
  };
  for (Case c : {Case{3, 3}, Case{0, 1}, Case{-8, 1}, Case{1L << 40, CSliderGroup::kMaxSliders}}) {
    SCOPED_TRACE(c.count);
    auto* group = new CSliderGroup(kPlace, nullptr, 0, c.count, nullptr, nullptr);
    EXPECT_EQ(group->getCount(), c.kept);
    group->setValue(-1L, 0.5f);
    group->setValue(c.kept, 0.5f);
    EXPECT_EQ(group->getValue(-1L), 0.0f);
    EXPECT_EQ(group->getValue(c.kept), 0.0f);
    Surface surface(100, 100, kGround);
    Context context(surface);
    group->draw(context);
    group->drawOneSlider(context, c.kept);
    CPoint at(40, 30);
    group->mouse(nullptr, at, L);
    EXPECT_GE(group->getValue(group->inSliderTrack(at)), 0.0f);
    group->forget();
  }
}

}  // namespace
