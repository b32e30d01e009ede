// The character displays: the text and its changes, and which character the
// strip display draws into which cell for every justification, with and
// without auto-erase, for texts shorter and longer than the display and
// characters the strip does not have.
#include <gtest/gtest.h>

#include <string>

#include "editor/family/cmoviecharacterdisplay.h"
#include "family_test_support.h"
#include "gui/cbitmap.h"

using namespace controltest;
using namespace familytest;

namespace {

constexpr CColor kGround = {60, 60, 60, 255};
constexpr long kCharWidth = 4;
constexpr long kCharHeight = 3;
// Ten characters wide; the 3 spare pixels hold no whole character.
const CRect kPlace(10, 20, 10 + 10 * kCharWidth + 3, 20 + kCharHeight);

TEST(CharacterDisplay, StartsEmptyCentredWithAutoErase) {
  auto* display = new CCharacterDisplay(kPlace, 3);
  EXPECT_EQ(display->getDisplayString(), "");
  EXPECT_EQ(display->getJustification(), 1);
  EXPECT_TRUE(display->getAutoErase());
  EXPECT_EQ(display->getTag(), 3);
  display->forget();
}

TEST(CharacterDisplay, EveryChangeOfTheTextMarksItForDrawing) {
  auto* display = new CCharacterDisplay(kPlace, 0);
  struct Case {
    const char* name;
    void (*change)(CCharacterDisplay*);
    bool dirty;
  };
  const Case cases[] = {
      {"text", [](CCharacterDisplay* d) { d->setDisplayString("X"); }, true},
      {"text object", [](CCharacterDisplay* d) { d->setDisplayString(std::string("Y")); }, true},
      {"text at a position", [](CCharacterDisplay* d) { d->setDisplayStringAtPosition("Z", 0); },
       true},
      {"clear", [](CCharacterDisplay* d) { d->clear(); }, true},
      {"other justification", [](CCharacterDisplay* d) { d->setJustification(2); }, true},
      {"same justification", [](CCharacterDisplay* d) { d->setJustification(1); }, false},
      {"same auto-erase", [](CCharacterDisplay* d) { d->setAutoErase(true); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    display->setJustification(1);
    display->setAutoErase(true);
    display->setDirty(false);
    c.change(display);
    EXPECT_EQ(display->isDirty(), c.dirty);
  }
  display->forget();
}

TEST(CharacterDisplay, TextAtAPositionOverwritesAsManyCharactersAsItHas) {
  struct Case {
    const char* before;
    const char* text;
    long position;
    std::string after;
  };
  const Case cases[] = {
      {"HELLO", "J", 0, "JELLO"},        {"HELLO", "AL", 3, "HELAL"},
      {"HELLO", "PPY", 4, "HELLPPY"},  // runs past the end: the text grows
      {"AB", "C", 4, "AB  C"},         // a gap is filled with blanks
      {"HELLO", "", 2, "HELLO"},         {"HELLO", nullptr, 2, "HELLO"},
      {"HELLO", "X", -1, "HELLO"},        // nowhere to write
      {"HELLO", "X", 1L << 40, "HELLO"},  // far beyond any display
  };
  auto* display = new CCharacterDisplay(kPlace, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.before << " + " << (c.text ? c.text : "null") << " at " << c.position);
    display->setDisplayString(c.before);
    display->setDisplayStringAtPosition(c.text, c.position);
    EXPECT_EQ(display->getDisplayString(), c.after);
  }
  display->setDisplayString(static_cast<const char*>(nullptr));
  EXPECT_EQ(display->getDisplayString(), "");
  display->forget();
}

struct StripDisplay : ::testing::Test {
  CBitmap* strip = makeCharacterStrip(kCharWidth, kCharHeight);
  CMovieCharacterDisplay* display = new CMovieCharacterDisplay(kPlace, 0, strip);
  void TearDown() override {
    display->forget();
    EXPECT_EQ(strip->getNbReference(), 1);
    strip->forget();
  }
  // What each cell shows after drawing: the character, ' ' for a blank,
  // '.' where nothing was drawn, '?' for anything else.
  std::string drawnCells(long cells = 10) {
    Surface surface(60, 30, kGround);
    Context context(surface);
    display->draw(context);
    std::string shown;
    for (long k = 0; k < cells; ++k) {
      const long x = kPlace.left + k * kCharWidth;
      const CColor c = surface.pixel(x, kPlace.top);
      // The whole cell must be one character.
      if (surface.pixel(x + kCharWidth - 1, kPlace.top + kCharHeight - 1) != c) {
        shown += '?';
        continue;
      }
      const long frame = characterFrameOf(c);
      shown += c == kGround ? '.' : frame < 0 ? '?' : static_cast<char>(frame + 32);
    }
    // Nothing beyond the cells.
    EXPECT_EQ(surface.pixel(kPlace.left + 10 * kCharWidth, kPlace.top), kGround);
    EXPECT_EQ(surface.pixel(kPlace.left, kPlace.top + kCharHeight), kGround);
    return shown;
  }
};

TEST_F(StripDisplay, LayoutComesFromTheStripAndTheControl) {
  EXPECT_EQ(display->getCharacterWidth(), kCharWidth);
  EXPECT_EQ(display->getCharacterHeight(), kCharHeight);
  EXPECT_EQ(display->getSizeInChars(), 10);
  EXPECT_EQ(display->getCentreCell(), 5);
  EXPECT_TRUE(display->getTransparency());
  EXPECT_EQ(display->getDisplayString(), "JUNKYARD");
  EXPECT_EQ(display->getJustification(), 1);
  EXPECT_EQ(drawnCells(), " JUNKYARD ");
  EXPECT_FALSE(display->isDirty());
}

TEST_F(StripDisplay, CharactersGoIntoTheirCells) {
  struct Case {
    std::string text;
    short justification;
    bool autoErase;
    std::string cells;
  };
  const Case cases[] = {
      {"AB", 1, true, "    AB    "},
      {"AB", 2, true, "        AB"},
      {"AB", 0, true, "AB        "},
      {"AB", 1, false, "....AB...."},
      {"AB", 2, false, "........AB"},
      {"AB", 0, false, "AB........"},
      {"ABC", 1, true, "    ABC   "},
      {"0123456789XY", 0, true, "0123456789"},
      {"0123456789XY", 2, true, "23456789XY"},
      {"0123456789XY", 1, true, "0123456789"},
      {"0123456789", 2, false, "0123456789"},
      {"", 1, true, "          "},
      {"", 2, false, ".........."},
      {" ~", 0, false, " ~........"},  // first and last frame of the strip
      // Characters the strip has no frame for show as blanks.
      {std::string("A\tB\x7f\xe9\x01") + "C", 0, false, "A B   C..."},
      {"AB", 3, true, ".........."},  // no such justification: nothing
      {"AB", -1, true, ".........."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "\"" << c.text << "\" justification " << c.justification
                                    << (c.autoErase ? " auto-erase" : ""));
    display->setDisplayString(c.text);
    display->setJustification(c.justification);
    display->setAutoErase(c.autoErase);
    display->setTransparency(false);
    EXPECT_EQ(drawnCells(), c.cells);
  }
}

TEST_F(StripDisplay, OddNumberOfCellsCentresOnTheMiddleCell) {
  display->forget();
  display = new CMovieCharacterDisplay(
      CRect(kPlace.left, kPlace.top, kPlace.left + 9 * kCharWidth, kPlace.bottom), 0, strip);
  EXPECT_EQ(display->getSizeInChars(), 9);
  display->setDisplayString("AB");
  EXPECT_EQ(drawnCells(9), "   AB    ");
  display->setDisplayString("ABCDEFGHI");
  EXPECT_EQ(drawnCells(9), "ABCDEFGHI");
}

TEST(MovieCharacterDisplayStrip, StripsWithoutAWholeCharacterDrawNothing) {
  struct Case {
    const char* name;
    long width, height;  // 0: no strip
  };
  for (const Case& c : {Case{"no strip", 0, 0}, Case{"94 rows", 4, 94}, Case{"too wide", 80, 95}}) {
    SCOPED_TRACE(c.name);
    CBitmap* strip = c.width ? makePicture(c.width, c.height, kRedCColor) : nullptr;
    auto* display = new CMovieCharacterDisplay(kPlace, 0, strip);
    display->setDisplayString("ABC");
    Surface surface(60, 30, kGround);
    Context context(surface);
    display->draw(context);
    for (long x = kPlace.left; x < kPlace.right; ++x)
      EXPECT_EQ(surface.pixel(x, kPlace.top), kGround) << x;
    EXPECT_FALSE(display->isDirty());
    display->forget();
    if (strip) strip->forget();
  }
}

}  // namespace
