// The draw buffer: where a sample lands, how samples enter the ring of
// columns, and the line it draws over its background.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/family/cdrawbuffer.h"
#include "family_test_support.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr CColor kGround = {60, 60, 60, 255};
constexpr CColor kBackground = {0, 0, 200, 255};
constexpr CColor kWave = {250, 250, 0, 255};
// Eight columns, 21 rows: half the height less one is 9 rows.
const CRect kPlace(10, 20, 18, 41);

struct Scope : ::testing::Test {
  CDrawBuffer* buffer = new CDrawBuffer(kPlace, nullptr, 0, nullptr);
  void TearDown() override { buffer->forget(); }
  std::vector<long> rows() const {
    std::vector<long> r;
    for (long k = 0; k < 8; ++k) r.push_back(buffer->rowAt(k) - kPlace.top);
    return r;
  }
};

TEST_F(Scope, SampleMapsToARowOfTheControl) {
  struct Case {
    float sample;
    long row;  // from the top
  };
  const Case cases[] = {
      {1.0f, 0},
      {0.0f, 9},
      {-1.0f, 18},
      {0.5f, 4},  // 4.5 rows, truncated
      {-0.5f, 13},
      // Beyond full scale the line stops at the control's edges.
      {2.0f, 0},
      {-2.0f, 20},
      {INFINITY, 0},
      {-INFINITY, 20},
      {std::nanf(""), 0},
      {1e30f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sample);
    EXPECT_EQ(buffer->rowForSample(c.sample), kPlace.top + c.row);
  }
}

TEST_F(Scope, SamplesFillTheRingNewestAtTheRight) {
  // At rest every column sits at the row of 0.
  EXPECT_EQ(rows(), (std::vector<long>(8, 9)));
  struct Case {
    const char* name;
    std::vector<float> data;
    int interval;
    std::vector<long> rows;
  };
  const Case cases[] = {
      {"three samples", {1.0f, 0.5f, -1.0f}, 1, {9, 9, 9, 9, 9, 0, 4, 18}},
      {"more samples than columns",
       {1, 1, 1, -1, -1, -1, 0.5f, 0.5f, 0.5f, 1},
       1,
       {0, 18, 18, 18, 4, 4, 4, 0}},
      {"every third sample", {1, 0, 0, -1, 0, 0, 0.5f}, 3, {9, 9, 9, 9, 9, 0, 18, 4}},
      {"an interval below one counts as one", {-1, 1}, 0, {9, 9, 9, 9, 9, 9, 18, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    buffer->forget();
    buffer = new CDrawBuffer(kPlace, nullptr, 0, nullptr);
    buffer->setSampleInterval(c.interval);
    EXPECT_GE(buffer->getSampleInterval(), 1);
    std::vector<float> data = c.data;
    buffer->setDirty(false);
    buffer->setData(data.data(), static_cast<long>(data.size()));
    EXPECT_TRUE(buffer->isDirty());
    EXPECT_EQ(rows(), c.rows);
  }
}

TEST_F(Scope, NoDataChangesNothing) {
  float one = 1.0f;
  buffer->setDirty(false);
  buffer->setData(nullptr, 5);
  buffer->setData(&one, 0);
  buffer->setData(&one, -3);
  EXPECT_EQ(rows(), (std::vector<long>(8, 9)));
  EXPECT_FALSE(buffer->isDirty());
  EXPECT_EQ(buffer->rowAt(-1), -1);
  EXPECT_EQ(buffer->rowAt(8), -1);
}

TEST(DrawBufferDrawing, LineJoinsTheColumnsOverTheBackground) {
  CBitmap* background = makePicture(8, 21, kBackground);
  auto* buffer = new CDrawBuffer(kPlace, nullptr, 0, background);
  EXPECT_EQ(buffer->getWaveColor(), kBlackCColor);
  CColor wave = kWave;
  buffer->setWaveColor(wave);
  std::vector<float> data{0, 0, 0, 0, 0, 1, 1, -1};
  buffer->setData(data.data(), 8);
  Surface surface(40, 60, kGround);
  Context context(surface);
  const CColor fillBefore = context.get()->getFillColor();
  buffer->draw(context);
  EXPECT_FALSE(buffer->isDirty());
  EXPECT_EQ(context.get()->getFillColor(), fillBefore);
  // Rows of the line in each column, top to bottom inclusive: flat at row 9,
  // a rise to row 0 in column 5, a fall to row 18 in column 7.
  const std::pair<long, long> line[] = {{9, 9}, {9, 9}, {9, 9}, {9, 9},
                                        {9, 9}, {0, 9}, {0, 0}, {0, 18}};
  for (long k = 0; k < 8; ++k) {
    for (long row = 0; row < 21; ++row) {
      const bool on = row >= line[k].first && row <= line[k].second;
      EXPECT_EQ(surface.pixel(kPlace.left + k, kPlace.top + row), on ? kWave : kBackground)
          << "column " << k << " row " << row;
    }
  }
  EXPECT_EQ(surface.pixel(kPlace.right, kPlace.top + 9), kGround);
  buffer->forget();
  background->forget();
}

TEST(DrawBufferDegenerate, ControlsWithoutColumnsOrRowsStayQuiet) {
  for (CRect place : {CRect(10, 20, 10, 41), CRect(10, 20, 0, 41), CRect(10, 20, 18, 21),
                      CRect(10, 20, 18, 20), CRect(10, 20, 18, 10)}) {
    SCOPED_TRACE(testing::Message() << place.width() << " × " << place.height());
    auto* buffer = new CDrawBuffer(place, nullptr, 0, nullptr);
    std::vector<float> data{1, -1, 0.5f};
    buffer->setData(data.data(), 3);
    for (long k = 0; k < std::max(place.width(), 0L); ++k) {
      const long row = buffer->rowAt(k);
      EXPECT_GE(row, place.top);
      EXPECT_LE(row, std::max(place.bottom - 1, place.top));
    }
    Surface surface(40, 60, kGround);
    Context context(surface);
    buffer->draw(context);
    buffer->forget();
  }
}

}  // namespace
