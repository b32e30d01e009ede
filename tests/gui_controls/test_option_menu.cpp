// The option menu's entries, numbering, check marks and choices (with the
// user's choice supplied by the test), and the menu description's layout
// and keyboard moves.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "gui/controls/coptionmenu.h"
#include "gui/platform/platform_popup_menu.h"
#include "text_menu_support.h"

using namespace textmenutest;

namespace {

// A menu whose pop-up answers as the test says.
class ScriptedMenu : public COptionMenu {
 public:
  using COptionMenu::COptionMenu;
  std::vector<long> answer;  // empty: cancelled
  int popups = 0;
  bool openWhilePopped = false;

 protected:
  bool runPopup(std::vector<long>& path) override {
    ++popups;
    openWhilePopped = isOpen();
    path = answer;
    return !answer.empty();
  }
};

// Entries: 0 "Room", 1 "-", 2 "Hall", 3 "-Plate" (disabled), 4 "More" (sub-menu:
// 0 "Spring", 1 "Tape").
void fill(COptionMenu& menu, COptionMenu*& sub) {
  menu.addEntry("Room");
  menu.addEntry("-");
  menu.addEntry("Hall");
  menu.addEntry("-Plate");
  sub = new COptionMenu(CRect(0, 0, 10, 10), nullptr, 0);
  sub->addEntry("Spring");
  sub->addEntry("Tape");
  menu.addEntry(sub, "More");
  sub->forget();  // the menu holds it now
}

std::vector<std::string> titles(const std::vector<PlatformMenuItem>& items) {
  std::vector<std::string> out;
  for (const auto& item : items) out.push_back(item.title);
  return out;
}

}  // namespace

TEST(OptionMenuEntries, IndicesCountSeparatorsOnlyWhenAsked) {
  COptionMenu menu(CRect(0, 0, 80, 20), nullptr, 0);
  COptionMenu* sub = nullptr;
  fill(menu, sub);
  EXPECT_EQ(menu.getNbEntries(), 5);
  struct Case {
    long index;
    bool countSeparator;
    bool accepted;
    float value;
    long current;  // getCurrent(nullptr, countSeparator)
  };
  const Case cases[] = {
      {2, true, true, 2.0f, 2},   {2, false, true, 3.0f, 2},  // "Hall" / "-Plate"
      {1, false, true, 2.0f, 1},  {4, true, true, 4.0f, 4},   {5, true, false, 4.0f, 4},
      {4, false, false, 4.0f, 3}, {-1, true, false, 4.0f, 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(menu.setCurrent(c.index, c.countSeparator), c.accepted) << c.index;
    EXPECT_EQ(menu.getValue(), c.value) << c.index;
    EXPECT_EQ(menu.getCurrent(nullptr, c.countSeparator), c.current) << c.index;
  }
  char title[kParamDisplayTextSize];
  menu.setCurrent(2);
  EXPECT_EQ(menu.getCurrent(title), 2);
  EXPECT_STREQ(title, "Hall");
  EXPECT_EQ(menu.getIndex("-Plate"), 3);
  EXPECT_EQ(menu.getIndex("Nothing"), -1);
  EXPECT_EQ(menu.getIndex(nullptr), -1);
  EXPECT_TRUE(menu.getEntry(0, title));
  EXPECT_STREQ(title, "Room");
  EXPECT_FALSE(menu.getEntry(9, title));
  EXPECT_EQ(menu.getSubMenu(4), sub);
  EXPECT_EQ(menu.getSubMenu(0), nullptr);
}

TEST(OptionMenuEntries, ValuesNamingNoEntryAreNoCurrentEntry) {
  COptionMenu menu(CRect(0, 0, 80, 20), nullptr, 0);
  menu.addEntry("A");
  menu.addEntry("B");
  char title[kParamDisplayTextSize] = "x";
  for (float v : {-1.0f, 2.0f, 1e30f, std::numeric_limits<float>::quiet_NaN(),
                  std::numeric_limits<float>::infinity()}) {
    menu.setValue(v);
    EXPECT_EQ(menu.getCurrent(title), -1) << v;
    EXPECT_STREQ(title, "") << v;
  }
  menu.setValue(1.7f);
  EXPECT_EQ(menu.getCurrent(), 1);
}

TEST(OptionMenuEntries, AddingRemovingAndRefusedSubMenus) {
  COptionMenu menu(CRect(0, 0, 80, 20), nullptr, 0);
  EXPECT_FALSE(menu.addEntry(static_cast<const char*>(nullptr)));
  menu.addEntry("B");
  menu.addEntry("A", 0);
  menu.addEntry("C", 99);
  EXPECT_EQ(titles(menu.menuDescription()), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_TRUE(menu.removeEntry(1));
  EXPECT_FALSE(menu.removeEntry(2));
  EXPECT_EQ(titles(menu.menuDescription()), (std::vector<std::string>{"A", "C"}));

  // A menu cannot hold itself, directly or through a sub-menu.
  auto* sub = new COptionMenu(CRect(0, 0, 10, 10), nullptr, 0);
  EXPECT_FALSE(menu.addEntry(&menu, "self"));
  EXPECT_TRUE(menu.addEntry(sub, "sub"));
  EXPECT_FALSE(sub->addEntry(&menu, "loop"));
  EXPECT_FALSE(menu.addEntry(static_cast<COptionMenu*>(nullptr), "none"));
  EXPECT_EQ(sub->getNbReference(), 2);
  menu.removeAllEntry();
  EXPECT_EQ(menu.getNbEntries(), 0);
  EXPECT_EQ(sub->getNbReference(), 1);
  sub->forget();
}

TEST(OptionMenuDescription, SeparatorsDisabledEntriesChecksNumbersAndSubMenus) {
  COptionMenu menu(CRect(0, 0, 80, 20), nullptr, 0, nullptr, nullptr, kCheckStyle);
  COptionMenu* sub = nullptr;
  fill(menu, sub);
  menu.setPrefixNumbers(2);
  menu.setCurrent(2);
  sub->checkEntry(1, true);
  const auto items = menu.menuDescription();
  ASSERT_EQ(items.size(), 5u);
  struct Expect {
    std::string title;
    bool separator, enabled, checked, hasSubMenu;
  };
  const Expect expected[] = {
      {"01. Room", false, true, false, false}, {"-", true, false, false, false},
      {"02. Hall", false, true, true, false},  {"03. Plate", false, false, false, false},
      {"04. More", false, true, false, true},
  };
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].title, expected[i].title) << i;
    EXPECT_EQ(items[i].separator, expected[i].separator) << i;
    EXPECT_EQ(items[i].enabled, expected[i].enabled) << i;
    EXPECT_EQ(items[i].checked, expected[i].checked) << i;
    EXPECT_EQ(items[i].hasSubMenu, expected[i].hasSubMenu) << i;
    EXPECT_EQ(items[i].index, static_cast<long>(i));
  }
  // The sub-menu has its own numbering (none) and check marks.
  ASSERT_EQ(items[4].subItems.size(), 2u);
  EXPECT_EQ(items[4].subItems[0].title, "Spring");
  EXPECT_FALSE(items[4].subItems[0].checked);
  EXPECT_TRUE(items[4].subItems[1].checked);

  menu.setPrefixNumbers(0);
  EXPECT_EQ(menu.menuText(2), "Hall");
  menu.setPrefixNumbers(99);  // at most six digits
  EXPECT_EQ(menu.menuText(0), "000001. Room");
  EXPECT_EQ(menu.menuText(7), "");
}

TEST(OptionMenuDescription, CheckEntryAloneLeavesOneMark) {
  COptionMenu menu(CRect(0, 0, 80, 20), nullptr, 0);
  for (const char* t : {"A", "B", "C"}) menu.addEntry(t);
  menu.checkEntry(0, true);
  menu.checkEntry(2, true);
  EXPECT_TRUE(menu.isCheckEntry(0));
  EXPECT_TRUE(menu.checkEntryAlone(1));
  EXPECT_EQ((std::vector<bool>{menu.isCheckEntry(0), menu.isCheckEntry(1), menu.isCheckEntry(2)}),
            (std::vector<bool>{false, true, false}));
  EXPECT_FALSE(menu.checkEntry(3, true));
  EXPECT_FALSE(menu.isCheckEntry(-1));
}

using OptionMenuChoice = UnboundEditor;

TEST_F(OptionMenuChoice, ChoosingSetsTheValueAndReportsOneGesture) {
  auto* menu = add(new ScriptedMenu(CRect(10, 10, 90, 30), &listener, 5));
  COptionMenu* sub = nullptr;
  fill(*menu, sub);
  menu->answer = {2};
  click(CPoint(20, 20));
  EXPECT_TRUE(menu->openWhilePopped);
  EXPECT_FALSE(menu->isOpen());
  EXPECT_EQ(menu->getValue(), 2.0f);
  EXPECT_EQ(menu->getLastResult(), 2);
  long index = -1;
  EXPECT_EQ(menu->getLastItemMenu(index), menu);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(events(), (std::vector<Event>{begin(5), changed(5, 2.0f), end(5)}));

  // Choosing the same entry again is a choice too.
  events().clear();
  click(CPoint(20, 20));
  EXPECT_EQ(events(), (std::vector<Event>{begin(5), changed(5, 2.0f), end(5)}));
}

TEST_F(OptionMenuChoice, AChoiceInASubMenuMovesBothMenus) {
  auto* menu =
      add(new ScriptedMenu(CRect(10, 10, 90, 30), &listener, 5, nullptr, nullptr, kCheckStyle));
  COptionMenu* sub = nullptr;
  fill(*menu, sub);
  sub->setStyle(kCheckStyle);
  menu->answer = {4, 1};
  click(CPoint(20, 20));
  EXPECT_EQ(menu->getValue(), 4.0f);  // the entry holding the sub-menu
  EXPECT_EQ(sub->getValue(), 1.0f);
  EXPECT_TRUE(sub->isCheckEntry(1));
  EXPECT_TRUE(menu->isCheckEntry(4));
  EXPECT_EQ(menu->getLastResult(), 1);
  long index = -1;
  EXPECT_EQ(menu->getLastItemMenu(index), sub);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(events(), (std::vector<Event>{begin(5), changed(5, 4.0f), end(5)}));

  // Once the sub-menu is gone, the last choice names no menu.
  menu->removeEntry(4);
  EXPECT_EQ(menu->getLastItemMenu(index), nullptr);
  EXPECT_EQ(index, -1);
}

TEST_F(OptionMenuChoice, PathsNamingNoChoosableEntryChangeNothing) {
  auto* menu = add(new ScriptedMenu(CRect(10, 10, 90, 30), &listener, 5));
  COptionMenu* sub = nullptr;
  fill(*menu, sub);
  menu->setCurrent(0);
  const std::vector<std::vector<long>> paths = {
      {1},     // separator
      {3},     // disabled
      {4},     // the sub-menu's entry itself
      {4, 2},  // past the sub-menu's end
      {2, 0},  // "Hall" has no sub-menu
      {-1},    // nonsense
      {9},
  };
  for (const auto& path : paths) {
    menu->answer = path;
    click(CPoint(20, 20));
    EXPECT_EQ(menu->getValue(), 0.0f);
  }
  EXPECT_EQ(menu->getLastResult(), -1);
  EXPECT_TRUE(events().empty());
}

TEST_F(OptionMenuChoice, CancelledAndIgnoredClicksReportNothing) {
  auto* menu = add(new ScriptedMenu(CRect(10, 10, 90, 30), &listener, 5));
  click(CPoint(20, 20));  // no entries: nothing to show
  EXPECT_EQ(menu->popups, 0);
  menu->addEntry("A");
  menu->addEntry("B");
  click(CPoint(20, 20));  // cancelled
  EXPECT_EQ(menu->popups, 1);
  menu->answer = {1};
  click(CPoint(20, 20), kMouseRight);
  listener.modifierAnswer = 1;
  click(CPoint(20, 20), kMouseLeft | kModOption);
  EXPECT_EQ(menu->popups, 1);
  EXPECT_EQ(menu->getValue(), 0.0f);
  EXPECT_TRUE(events().empty());
}

TEST_F(OptionMenuChoice, WithoutAWindowNoMenuOpens) {
  auto* menu = add(new COptionMenu(CRect(10, 10, 90, 30), &listener, 5));
  menu->addEntry("A");
  menu->addEntry("B");
  menu->setCurrent(1);
  click(CPoint(20, 20));
  EXPECT_EQ(menu->getValue(), 1.0f);
  EXPECT_FALSE(menu->isOpen());
  EXPECT_TRUE(events().empty());
  std::vector<long> path = {7};
  EXPECT_EQ(platformPopupMenuRun(nullptr, 0, 0, 10, menu->menuDescription(), PlatformMenuStyle{},
                                 nullptr, path),
            PlatformMenuOutcome::unavailable);
  EXPECT_TRUE(path.empty());
}

TEST(OptionMenuPixels, ClosedMenuShowsTheCurrentEntryAndTheClickPictureWhileOpen) {
  Surface surface(100, 20, kBlackCColor);
  auto* menu = new COptionMenu(CRect(0, 0, 100, 20), nullptr, 0, nullptr, nullptr, kNoFrame);
  menu->addEntry("Spring");
  auto* sub = new COptionMenu(CRect(0, 0, 10, 10), nullptr, 0);
  sub->addEntry("A");
  sub->addEntry("Tape");
  sub->setCurrent(1);
  menu->addEntry(sub, "More");
  sub->forget();
  auto ink = [&](long& first, long& last) {
    Surface s(100, 20, kBlackCColor);
    {
      Context context(s);
      menu->draw(context);
    }
    inkSpan(s, CRect(0, 0, 100, 20), kBlackCColor, first, last);
  };
  long first, last;
  menu->setValue(-1.0f);
  ink(first, last);
  EXPECT_EQ(first, -1);  // no current entry: no text
  menu->setCurrent(0);
  long springFirst, springLast;
  ink(springFirst, springLast);
  EXPECT_GT(springLast, springFirst);
  // An entry holding a sub-menu shows the sub-menu's current entry: "Tape".
  menu->setCurrent(1);
  ink(first, last);
  EXPECT_GT(last, first);
  EXPECT_LT(last - first, springLast - springFirst);
  menu->forget();
}

TEST(PopupMenuLayout, EntriesStackBelowEachOtherAndHitTestsFindThem) {
  std::vector<PlatformMenuItem> items(3);
  items[0].title = "First";
  items[1].separator = true;
  items[2].title = "A much longer last entry";
  PlatformMenuStyle style;
  const PlatformMenuLayout narrow = platformPopupMenuLayout(items, style, nullptr, 10);
  ASSERT_EQ(narrow.boxes.size(), 3u);
  EXPECT_EQ(narrow.boxes[0].top, 1);
  EXPECT_EQ(narrow.boxes[1].top, narrow.boxes[0].bottom);
  EXPECT_LT(narrow.boxes[1].bottom - narrow.boxes[1].top,
            narrow.boxes[0].bottom - narrow.boxes[0].top);
  EXPECT_EQ(narrow.height, narrow.boxes[2].bottom + 1);
  EXPECT_GT(narrow.width, 100);  // the long entry sets the width
  const PlatformMenuLayout wide = platformPopupMenuLayout(items, style, nullptr, 500);
  EXPECT_EQ(wide.width, 500);

  const long midFirst = (narrow.boxes[0].top + narrow.boxes[0].bottom) / 2;
  const long midLast = (narrow.boxes[2].top + narrow.boxes[2].bottom) / 2;
  EXPECT_EQ(platformPopupMenuItemAt(narrow, 5, midFirst), 0);
  EXPECT_EQ(platformPopupMenuItemAt(narrow, 5, midLast), 2);
  EXPECT_EQ(platformPopupMenuItemAt(narrow, 5, 0), -1);  // the border
  EXPECT_EQ(platformPopupMenuItemAt(narrow, narrow.width, midFirst), -1);
}

TEST(PopupMenuKeys, StepsSkipSeparatorsAndDisabledEntriesAndGoRound) {
  std::vector<PlatformMenuItem> items(5);
  items[1].separator = true;
  items[3].enabled = false;
  struct Case {
    long from;
    int step;
    long to;
  };
  const Case cases[] = {{-1, +1, 0}, {0, +1, 2}, {2, +1, 4}, {4, +1, 0},
                        {-1, -1, 4}, {4, -1, 2}, {0, -1, 4}, {9, +1, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(platformPopupMenuStep(items, c.from, c.step), c.to) << c.from << " " << c.step;
  std::vector<PlatformMenuItem> none(2);
  none[0].separator = true;
  none[1].enabled = false;
  EXPECT_EQ(platformPopupMenuStep(none, -1, +1), -1);
  EXPECT_EQ(platformPopupMenuStep({}, -1, +1), -1);
}

TEST(PopupMenuPicture, HighlightFollowsTheSelectedEntryOnly) {
  std::vector<PlatformMenuItem> items(3);
  items[0].title = "One";
  items[1].title = "Two";
  items[1].checked = true;
  items[2].title = "Off";
  items[2].enabled = false;
  PlatformMenuStyle style;
  const PlatformMenuLayout layout = platformPopupMenuLayout(items, style, nullptr, 80);
  Surface surface(layout.width, layout.height);
  const CColor selectedBack{style.selectedBack.red, style.selectedBack.green,
                            style.selectedBack.blue, 255};
  const CColor back{style.back.red, style.back.green, style.back.blue, 255};
  auto rowColour = [&](size_t i) {
    return surface.pixel(layout.width - 4, layout.boxes[i].top + 1);
  };
  struct Case {
    long selected;
    std::vector<bool> highlighted;
  };
  const Case cases[] = {
      {-1, {false, false, false}}, {1, {false, true, false}}, {2, {false, false, false}}};
  for (const Case& c : cases) {
    platformPopupMenuPaint(surface.get(), items, layout, style, nullptr, c.selected);
    for (size_t i = 0; i < items.size(); ++i)
      EXPECT_EQ(rowColour(i), c.highlighted[i] ? selectedBack : back) << c.selected << " row " << i;
  }
}
