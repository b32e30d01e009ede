// The button matrix: which cell a press toggles (and which presses toggle
// none), the command-click that clears it, the current-cell attribute, the
// whole-grid copies, its drawing, and pictures and counts that make no sense.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "editor/family/cbuttonmatrix.h"
#include "family_test_support.h"
#include "gui/cbitmap.h"

using namespace controltest;

namespace {

constexpr long kTag = 9;
constexpr long L = kMouseLeft;
constexpr int kRows = 4;
constexpr int kColumns = 8;
// 16 × 16 cells from a 16 × 32 picture: a grid of 128 × 64. The control is
// larger than its grid, so that presses beside the cells reach it.
const CRect kPlace(10, 20, 150, 100);
constexpr CColor kGround = {60, 60, 60, 255};

std::vector<unsigned char> allCells(CButtonMatrix* m) {
  std::vector<unsigned char> cells(static_cast<size_t>(m->getRowCount() * m->getColumnCount()));
  m->getAllValues(cells.data());
  return cells;
}

// The cells that are on, as (row, column) pairs.
std::vector<std::pair<int, int>> onCells(CButtonMatrix* m) {
  std::vector<std::pair<int, int>> on;
  for (int i = 0; i < m->getRowCount(); ++i)
    for (int j = 0; j < m->getColumnCount(); ++j)
      if (m->getCell(i, j)) on.emplace_back(i, j);
  return on;
}

std::pair<int32_t, int32_t> currentCellAttribute(CButtonMatrix* m) {
  int32_t cell[2] = {-7, -7};
  long outSize = 0;
  EXPECT_TRUE(m->getAttribute(kButtonMatrixCurrentCell, 8, cell, outSize));
  EXPECT_EQ(outSize, 8);
  return {cell[0], cell[1]};
}

struct MatrixInFrame : EditorFixture {
  CBitmap* picture = nullptr;
  CButtonMatrix* matrix = nullptr;
  void SetUp() override {
    EditorFixture::SetUp();
    picture = makeStrip(16, 16, 2);
    matrix = add(new CButtonMatrix(kPlace, kRows, kColumns, &listener, kTag, picture));
    drawAll();
  }
  void TearDown() override {
    editor->close();
    EXPECT_EQ(picture->getNbReference(), 1);
    picture->forget();
    EditorFixture::TearDown();
  }
  // A press handed straight to the matrix (the frame would not pass on a
  // press outside the control), released at once.
  void pressMatrix(CPoint at, long buttons) {
    pointer.script({{at, buttons}, {at, 0}});
    matrix->mouse(nullptr, at, buttons);
  }
};

TEST_F(MatrixInFrame, PressTogglesTheCellUnderThePointerAndPressingAgainSwitchesItBack) {
  EXPECT_EQ(matrix->getCellWidth(), 16);
  EXPECT_EQ(matrix->getCellHeight(), 16);
  const CPoint at(kPlace.left + 20, kPlace.top + 40);

  press(at, L);
  EXPECT_EQ(onCells(matrix), (std::vector<std::pair<int, int>>{{2, 1}}));
  EXPECT_EQ(matrix->getValue(), 1.0f);
  EXPECT_EQ(currentCellAttribute(matrix), std::make_pair(1, 2));
  // The report carries the control's own value field, which the cells leave alone.
  EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), changed(kTag, 0.0f), end(kTag)}));
  EXPECT_EQ(static_cast<CControl*>(matrix)->getValue(), 0.0f);

  events().clear();
  press(at, L);
  EXPECT_TRUE(onCells(matrix).empty());
  EXPECT_EQ(matrix->getValue(), 0.0f);
  EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), changed(kTag, 0.0f), end(kTag)}));
  // The idle passes of the press drew the cell off again.
  EXPECT_EQ(framePixel(kPlace.left + 20, kPlace.top + 40), stripColor(0));
}

TEST_F(MatrixInFrame, OnlyPressesOnACellToggleOne) {
  struct Case {
    const char* name;
    CPoint at;
    int row, column;  // -1: no cell
  };
  const long l = kPlace.left, t = kPlace.top;
  const Case cases[] = {
      {"first cell", {l, t}, 0, 0},
      {"last pixel of the grid", {l + 127, t + 63}, 3, 7},
      {"just right of the grid", {l + 128, t + 10}, -1, -1},
      {"just below the grid", {l + 10, t + 64}, -1, -1},
      {"control's right edge", {kPlace.right, t + 10}, -1, -1},
      {"control's bottom edge", {l + 10, kPlace.bottom}, -1, -1},
      // Truncating division alone would put these into the first column / row.
      {"a little left of the control", {l - 5, t + 5}, -1, -1},
      {"a little above the control", {l + 5, t - 5}, -1, -1},
      {"far away", {-100000, 100000}, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    matrix->clear();
    // The current cell starts somewhere else than any expected one.
    int32_t start[2] = {3, 1};
    ASSERT_TRUE(matrix->setAttribute(kButtonMatrixCurrentCell, 8, start));
    events().clear();
    pressMatrix(c.at, L);
    if (c.row < 0) {
      EXPECT_TRUE(onCells(matrix).empty());
      EXPECT_EQ(currentCellAttribute(matrix), std::make_pair(3, 1));
      EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), end(kTag)}));
    } else {
      EXPECT_EQ(onCells(matrix), (std::vector<std::pair<int, int>>{{c.row, c.column}}));
      EXPECT_EQ(currentCellAttribute(matrix), std::make_pair(c.column, c.row));
      EXPECT_EQ(events(), (std::vector<Event>{begin(kTag), changed(kTag, 0.0f), end(kTag)}));
    }
  }
}

TEST_F(MatrixInFrame, ModifiedPresses) {
  struct Case {
    const char* name;
    long buttons;
    long listenerAnswer;
    bool withListener;
    bool cleared;  // else: the press toggled cell (0, 0) as a plain one, or did nothing
    bool toggled;
  };
  const Case cases[] = {
      {"command-click clears", L | kModCommand, 0, true, true, false},
      {"command without a button clears too", kModCommand, 0, true, true, false},
      {"command-click without a listener clears", L | kModCommand, 0, false, true, false},
      {"the listener takes it", L | kModCommand, 1, true, false, false},
      {"shift-click toggles", L | kModShift, 0, true, false, true},
      {"right button alone", kMouseRight, 0, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<unsigned char> some(kRows * kColumns, 0);
    some[5] = some[31] = 1;  // (0, 5) and (3, 7)
    matrix->setAllValues(some.data());
    listener.modifierAnswer = c.listenerAnswer;
    matrix->setListener(c.withListener ? &listener : nullptr);
    events().clear();
    pressMatrix(CPoint(kPlace.left + 1, kPlace.top + 1), c.buttons);
    std::vector<unsigned char> expected = some;
    if (c.cleared) expected.assign(expected.size(), 0);
    if (c.toggled) expected[0] = 1;
    EXPECT_EQ(allCells(matrix), expected);
    if (c.withListener && (c.buttons & kModifierMask)) {
      ASSERT_FALSE(events().empty());
      EXPECT_EQ(events().front(), modifierClick(kTag, c.buttons));
    }
  }
}

TEST_F(MatrixInFrame, DisabledMatrixIgnoresPresses) {
  matrix->setMouseEnabled(false);
  pressMatrix(CPoint(kPlace.left + 1, kPlace.top + 1), L);
  EXPECT_TRUE(onCells(matrix).empty());
  EXPECT_TRUE(events().empty());
}

struct LoneMatrix : ::testing::Test {
  CBitmap* picture = makeStrip(16, 16, 2);
  CButtonMatrix* matrix = new CButtonMatrix(kPlace, kRows, kColumns, nullptr, kTag, picture);
  void TearDown() override {
    matrix->forget();
    picture->forget();
  }
};

TEST_F(LoneMatrix, CurrentCellAttribute) {
  long size = 0;
  EXPECT_TRUE(matrix->getAttributeSize(kButtonMatrixCurrentCell, size));
  EXPECT_EQ(size, 8);
  EXPECT_EQ(kButtonMatrixCurrentCell, 0x4D466D63UL);  // 'M' 'F' 'm' 'c', 'M' highest
  EXPECT_EQ(currentCellAttribute(matrix), std::make_pair(0, 0));

  int32_t cell[2] = {6, 3};
  EXPECT_TRUE(matrix->setAttribute(kButtonMatrixCurrentCell, 8, cell));
  EXPECT_EQ(currentCellAttribute(matrix), std::make_pair(6, 3));
  matrix->setValue(1.0f);
  EXPECT_EQ(onCells(matrix), (std::vector<std::pair<int, int>>{{3, 6}}));

  // Other ids, other sizes and no buffer are refused and change nothing.
  long outSize = -1;
  int32_t other[2] = {1, 1};
  EXPECT_FALSE(matrix->getAttributeSize(fourCharId("MFmd"), size));
  EXPECT_FALSE(matrix->getAttribute(kButtonMatrixCurrentCell, 4, other, outSize));
  EXPECT_FALSE(matrix->getAttribute(fourCharId("cmFM"), 8, other, outSize));
  EXPECT_FALSE(matrix->getAttribute(kButtonMatrixCurrentCell, 8, nullptr, outSize));
  EXPECT_EQ(outSize, -1);
  EXPECT_FALSE(matrix->setAttribute(kButtonMatrixCurrentCell, 16, other));
  EXPECT_FALSE(matrix->setAttribute(fourCharId("MFmd"), 8, other));
  EXPECT_FALSE(matrix->setAttribute(kButtonMatrixCurrentCell, 8, nullptr));
  EXPECT_EQ(currentCellAttribute(matrix), std::make_pair(6, 3));
}

TEST_F(LoneMatrix, CurrentCellOutsideTheGridReadsZeroAndWritesNothing) {
  const std::pair<int32_t, int32_t> outside[] = {
      {-1, 0}, {0, -1}, {kColumns, 0}, {0, kRows}, {INT32_MAX, INT32_MAX}, {INT32_MIN, 2}};
  for (auto [column, row] : outside) {
    SCOPED_TRACE(testing::Message() << column << ", " << row);
    std::vector<unsigned char> full(kRows * kColumns, 1);
    matrix->setAllValues(full.data());
    int32_t cell[2] = {column, row};
    ASSERT_TRUE(matrix->setAttribute(kButtonMatrixCurrentCell, 8, cell));
    // Read back as written.
    EXPECT_EQ(currentCellAttribute(matrix), std::make_pair(column, row));
    EXPECT_EQ(matrix->getValue(), 0.0f);
    matrix->setValue(0.0f);
    matrix->setValue(static_cast<unsigned char>(0));
    EXPECT_EQ(allCells(matrix), full);
  }
}

TEST_F(LoneMatrix, ValueOfTheCurrentCell) {
  struct Case {
    float set;
    float read;
  };
  for (Case c : {Case{0.3f, 1.0f}, Case{0.0f, 0.0f}, Case{1e30f, 1.0f}, Case{-1.0f, 0.0f},
                 Case{std::nanf(""), 0.0f}, Case{INFINITY, 1.0f}}) {
    SCOPED_TRACE(c.set);
    matrix->setValue(c.set);
    EXPECT_EQ(matrix->getValue(), c.read);
  }
  matrix->setValue(static_cast<unsigned char>(7));
  EXPECT_EQ(matrix->getValue(), 7.0f);
  EXPECT_EQ(matrix->getCell(0, 0), 7);
  // Drawn as on.
  EXPECT_EQ(onCells(matrix).size(), 1u);
}

TEST_F(LoneMatrix, WholeGridCopiesAndClearMarkForDrawing) {
  std::vector<unsigned char> pattern(kRows * kColumns);
  for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<unsigned char>(i % 3);
  matrix->setDirty(false);
  matrix->setAllValues(pattern.data());
  EXPECT_TRUE(matrix->isDirty());
  EXPECT_EQ(allCells(matrix), pattern);
  // Row by row: byte 10 is row 1, column 2.
  EXPECT_EQ(matrix->getCell(1, 2), pattern[10]);

  matrix->setDirty(false);
  matrix->clear();
  EXPECT_TRUE(matrix->isDirty());
  EXPECT_EQ(allCells(matrix), std::vector<unsigned char>(pattern.size(), 0));
  // Null buffers are ignored.
  matrix->setAllValues(nullptr);
  matrix->getAllValues(nullptr);
}

TEST_F(LoneMatrix, CellFromPointIsClampedToTheGrid) {
  struct Case {
    CPoint at;
    CPoint cell;
    bool onGrid;
  };
  const long l = kPlace.left, t = kPlace.top;
  const Case cases[] = {
      {{l + 20, t + 40}, {1, 2}, true},      {{l + 127, t + 63}, {7, 3}, true},
      {{l + 139, t + 79}, {7, 3}, false},  // beside the grid, inside the control
      {{l + 128, t}, {7, 0}, false},       // the column just past the last one
      {{l, t + 64}, {0, 3}, false},        // the row just past the last one
      {{l + 5000, t + 5000}, {7, 3}, false}, {{l - 20, t - 40}, {0, 0}, false},
      {{l - 5, t + 20}, {0, 1}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at.x << ", " << c.at.y);
    CPoint cell(-9, -9);
    EXPECT_EQ(matrix->getCellFromPoint(c.at, cell), c.onGrid);
    EXPECT_EQ(cell, c.cell);
  }
}

TEST_F(LoneMatrix, DrawsEveryCellFromTheFrameOfItsState) {
  std::vector<unsigned char> pattern(kRows * kColumns, 0);
  pattern[0] = pattern[9] = pattern[31] = 1;  // (0, 0), (1, 1), (3, 7)
  matrix->setAllValues(pattern.data());
  Surface surface(200, 150, kGround);
  Context context(surface);
  matrix->draw(context);
  EXPECT_FALSE(matrix->isDirty());
  for (int i = 0; i < kRows; ++i) {
    for (int j = 0; j < kColumns; ++j) {
      SCOPED_TRACE(testing::Message() << "row " << i << " column " << j);
      const CColor expected = stripColor(pattern[static_cast<size_t>(i * kColumns + j)]);
      const long x = kPlace.left + 16 * j, y = kPlace.top + 16 * i;
      EXPECT_EQ(surface.pixel(x, y), expected);
      EXPECT_EQ(surface.pixel(x + 15, y + 15), expected);
    }
  }
  // Beside the grid the control draws nothing.
  EXPECT_EQ(surface.pixel(kPlace.left + 128, kPlace.top), kGround);
  EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top + 64), kGround);
}

TEST(ButtonMatrixDegenerate, PicturesAndCountsWithoutCellsNeverReachOutsideTheArray) {
  struct Case {
    const char* name;
    long pictureWidth, pictureHeight;  // 0: no picture
    int rows, columns;
  };
  const Case cases[] = {
      {"no picture", 0, 0, 4, 8},       {"picture one row high", 16, 1, 4, 8},
      {"negative rows", 16, 32, -3, 8}, {"negative columns", 16, 32, 4, -1},
      {"no cells", 16, 32, 0, 0},       {"absurd counts", 16, 32, 1 << 20, 1 << 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CBitmap* picture =
        c.pictureWidth ? makePicture(c.pictureWidth, c.pictureHeight, kRedCColor) : nullptr;
    auto* matrix = new CButtonMatrix(kPlace, c.rows, c.columns, nullptr, kTag, picture);
    CPoint at(kPlace.left + 3, kPlace.top + 3);
    matrix->mouse(nullptr, at, L);
    CPoint cell;
    EXPECT_FALSE(matrix->getCellFromPoint(at, cell));
    std::vector<unsigned char> source(64, 1);
    matrix->setAllValues(source.data());
    matrix->setValue(1.0f);
    int32_t far[2] = {7, 3};
    matrix->setAttribute(kButtonMatrixCurrentCell, 8, far);
    matrix->setValue(1.0f);
    Surface surface(200, 150, kGround);
    Context context(surface);
    matrix->draw(context);
    if (!picture || c.pictureHeight < 2) {
      EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top), kGround);
    }
    matrix->forget();
    if (picture) picture->forget();
  }
}

}  // namespace
