// A pop-up menu control. Closed, it shows its current entry like a parameter
// display; a click opens the menu below it (over it with kPopupStyle) and the
// entry the user chooses becomes the value, reported to the listener as one
// edit gesture. Without a window (a frame drawing only into memory) the menu
// cannot open and a click does nothing.
//
// Entries: a title "-" is a separator line; a title starting with "-" and
// more after it is a disabled entry showing the rest; an entry may hold a
// sub-menu (another COptionMenu, which the menu keeps a reference to).
// Indices count separators unless an operation is told otherwise.
#pragma once

#include <string>
#include <vector>

#include "gui/controls/cparamdisplay.h"
#include "gui/creference_counter.h"
#include "gui/platform/platform_popup_menu.h"

class COptionMenu;

// State bits handed to COptionMenuScheme::drawItem.
constexpr long kMenuItemSelected = 1;  // under the pointer or the keyboard
constexpr long kMenuItemDisabled = 2;
constexpr long kMenuItemChecked = 4;
constexpr long kMenuItemSubMenu = 8;

// Draws the entries of the menus it is set on, in place of the default look.
class COptionMenuScheme : public CReferenceCounter {
 public:
  COptionMenuScheme();
  ~COptionMenuScheme() override;

  // Size of an entry showing `text`, in pixels.
  virtual void getItemSize(const char* text, CDrawContext* context, CPoint& size);
  virtual void drawItemBack(CDrawContext* context, const CRect& rect, bool selected);
  // `itemId` is the entry's index in its menu, `state` a set of kMenuItem bits.
  virtual void drawItem(const char* text, long itemId, long state, CDrawContext* context,
                        const CRect& rect);

  void setColors(CColor back, CColor selection, CColor text, CColor selectedText,
                 CColor disabledText);

 protected:
  CColor backColor = MakeCColor(240, 240, 240);
  CColor selectionColor = MakeCColor(48, 96, 192);
  CColor textColor = kBlackCColor;
  CColor selectedTextColor = kWhiteCColor;
  CColor disabledTextColor = MakeCColor(150, 150, 150);
  CFont font = kNormalFontSmall;
};

class COptionMenu : public CParamDisplay {
 public:
  COptionMenu(const CRect& size, CControlListener* listener, long tag,
              CBitmap* background = nullptr, CBitmap* bgWhenClick = nullptr, const long style = 0);
  ~COptionMenu() override;

  // Adds an entry at `index` (counting separators; -1 or past the end
  // appends). False for a null title.
  virtual bool addEntry(const char* title, long index = -1);
  // Appends an entry holding `subMenu`; false for a null sub-menu, the menu
  // itself, or a menu that already holds this one.
  virtual bool addEntry(COptionMenu* subMenu, const char* title);
  virtual bool removeEntry(long index);
  virtual bool removeAllEntry();
  virtual long getNbEntries() const { return static_cast<long>(entries.size()); }

  // Index of the current entry (the value), -1 when the value names none;
  // its title goes to `title` when given (kParamDisplayTextSize bytes).
  // Without counting separators the index is among the other entries.
  virtual long getCurrent(char* title = nullptr, bool countSeparator = true) const;
  virtual bool setCurrent(long index, bool countSeparator = true);
  // The title of an entry, as added (kParamDisplayTextSize bytes); false
  // for no such entry.
  virtual bool getEntry(long index, char* title) const;
  virtual bool setEntry(long index, const char* title);
  // Index of the first entry with this title, -1 for none.
  virtual long getIndex(const char* title) const;

  virtual bool checkEntry(long index, bool state);
  // Checks this entry and unchecks every other one.
  virtual bool checkEntryAlone(long index);
  virtual bool isCheckEntry(long index) const;

  // Numbers the entries in the menu ("01. Hall" with two digits): entries
  // other than separators count from 1, written with at least `digits`
  // digits. 0 turns numbering off; at most 6 digits.
  virtual void setPrefixNumbers(long digits);
  virtual long getPrefixNumbers() const { return prefixDigits; }

  // The sub-menu of an entry, or null.
  virtual COptionMenu* getSubMenu(long index) const;
  // Index chosen last (in the menu it was chosen in), -1 before any choice.
  virtual long getLastResult() const { return lastResult; }
  // The menu the last choice was made in (this one or a sub-menu), with the
  // index there; null before any choice.
  virtual COptionMenu* getLastItemMenu(long& indexInMenu) const;

  // The menu keeps a reference to the scheme; null returns to the default look.
  virtual void setScheme(COptionMenuScheme* scheme);
  virtual COptionMenuScheme* getScheme() const { return scheme; }

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  // The text an entry shows in the menu (numbered, a disabled entry without
  // its leading "-").
  std::string menuText(long index) const;
  // The menu as the platform shows it, sub-menus included.
  std::vector<PlatformMenuItem> menuDescription() const;
  // Takes a choice as if the user had made it in the menu: `path` holds the
  // index in each menu level, the top level first. False (nothing changes)
  // when the path names no enabled entry.
  bool choose(CDrawContext* context, const std::vector<long>& path);
  // The menu is open.
  bool isOpen() const { return menuOpen; }

 protected:
  // Shows the menu and lets the user choose; true with the chosen path.
  // Tests replace it to choose without a display.
  virtual bool runPopup(std::vector<long>& path);

  struct Entry {
    std::string title;
    COptionMenu* subMenu = nullptr;
    bool checked = false;
  };
  static bool isSeparator(const Entry& entry) { return entry.title == "-"; }
  static bool isDisabled(const Entry& entry) {
    return entry.title.size() > 1 && entry.title[0] == '-';
  }
  bool holds(const COptionMenu* menu) const;
  // Index counting separators from one that does not; -1 for none.
  long rawIndex(long index, bool countSeparator) const;
  // The entry the value names, -1 for none.
  long currentRaw() const;
  // What the closed control shows: the current entry's text, followed into
  // its sub-menu when it holds one.
  std::string shownText() const;

  std::vector<Entry> entries;
  CBitmap* bgWhenClick = nullptr;
  COptionMenuScheme* scheme = nullptr;
  long prefixDigits = 0;
  long lastResult = -1;
  COptionMenu* lastMenu = nullptr;
  bool menuOpen = false;
};
