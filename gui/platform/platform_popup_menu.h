// A pop-up menu shown over the screen next to a place in the frame's window,
// run as a modal loop on the user-interface thread until an entry is chosen
// or the menu is cancelled. The menu is described as plain data; its layout,
// keyboard moves and picture are plain code, testable without a display.
#pragma once

#include <string>
#include <vector>

#include "gui/platform/platform_drawing.h"

struct PlatformWindow;

struct PlatformMenuItem {
  std::string title;
  bool separator = false;  // a line between groups; never chosen
  bool enabled = true;
  bool checked = false;
  bool hasSubMenu = false;
  std::vector<PlatformMenuItem> subItems;
  // Whoever built the description finds the entry again through these
  // (a painter drawing entries itself).
  void* owner = nullptr;
  long index = 0;
};

struct PlatformMenuStyle {
  double fontSize = 12.0;
  PlatformColor text{0, 0, 0, 255};
  PlatformColor back{240, 240, 240, 255};
  PlatformColor frame{96, 96, 96, 255};
  PlatformColor selectedText{255, 255, 255, 255};
  PlatformColor selectedBack{48, 96, 192, 255};
  PlatformColor disabledText{150, 150, 150, 255};
};

// Draws entries in place of the default look (a scheme of the menu control).
class PlatformMenuPainter {
 public:
  // Size of the entry in pixels; false to keep the default size.
  virtual bool itemSize(const PlatformMenuItem& item, long& width, long& height) = 0;
  // Draws the entry into (x, y, width, height) of `surface`.
  virtual void paintItem(PlatformSurface* surface, long x, long y, long width, long height,
                         const PlatformMenuItem& item, bool selected) = 0;

 protected:
  ~PlatformMenuPainter() = default;
};

// Where the entries of one menu lie, in the menu's own pixels.
struct PlatformMenuLayout {
  long width = 0;
  long height = 0;
  struct Box {
    long top, bottom;
  };
  std::vector<Box> boxes;  // one per entry, spanning the menu's width
};

PlatformMenuLayout platformPopupMenuLayout(const std::vector<PlatformMenuItem>& items,
                                           const PlatformMenuStyle& style,
                                           PlatformMenuPainter* painter, long minimumWidth);
// The entry at (x, y) of the menu, or -1.
long platformPopupMenuItemAt(const PlatformMenuLayout& layout, long x, long y);
// An entry the user can land on: not a separator, enabled.
bool platformMenuItemSelectable(const PlatformMenuItem& item);
// The next entry the user can land on from `from` in `step` direction (+1
// down, -1 up), going round; from -1 down gives the first. -1 when none.
long platformPopupMenuStep(const std::vector<PlatformMenuItem>& items, long from, int step);
// Draws the menu into `surface` (sized layout.width × layout.height), with
// entry `selected` highlighted (-1 none).
void platformPopupMenuPaint(PlatformSurface* surface, const std::vector<PlatformMenuItem>& items,
                            const PlatformMenuLayout& layout, const PlatformMenuStyle& style,
                            PlatformMenuPainter* painter, long selected);

enum class PlatformMenuOutcome {
  chosen,       // `path` holds the chosen entry
  cancelled,    // Escape, or a press outside every open menu
  unavailable,  // no window to show the menu from: nothing was shown
};

// Shows the menu with its top-left corner at (x, y) of `window` (moved as
// needed to stay on the screen), at least `minimumWidth` wide, and lets the
// user choose. `path` receives the index of the chosen entry in each menu
// level, the top level first (and is emptied otherwise). Sub-menus open when the pointer rests on
// their entry or with the Right key; Left closes the innermost one.
PlatformMenuOutcome platformPopupMenuRun(PlatformWindow* window, long x, long y, long minimumWidth,
                                         const std::vector<PlatformMenuItem>& items,
                                         const PlatformMenuStyle& style,
                                         PlatformMenuPainter* painter, std::vector<long>& path);
