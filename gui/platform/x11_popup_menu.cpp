// The pop-up menu as override-redirect windows on the screen, one per open
// menu level, on the frame's own connection. While it is open the menu holds
// the pointer and the keyboard, so a press anywhere else is seen (and ends
// it) and the keys reach it; the frame's window keeps being drawn.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

#include "gui/platform/platform_popup_menu.h"
#include "gui/platform/platform_time.h"
#include "gui/platform/x11_error_trap.h"
#include "gui/platform/x11_overlay.h"
#include "gui/platform/x11_window_state.h"

namespace {

constexpr long kMenuEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                             PointerMotionMask | KeyPressMask | StructureNotifyMask;
constexpr unsigned kPointerEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
// Another program may hold the pointer for a moment (a window manager).
constexpr int kGrabAttempts = 40;

struct OpenMenu {
  const std::vector<PlatformMenuItem>* items = nullptr;
  PlatformMenuLayout layout;
  Window window = 0;
  int rootX = 0, rootY = 0;
  long selected = -1;
  PlatformSurface* picture = nullptr;
};

class MenuSession {
 public:
  MenuSession(PlatformWindow* w, const PlatformMenuStyle& style, PlatformMenuPainter* painter)
      : w(w), d(w->display), style(style), painter(painter) {
    const int screen = DefaultScreen(d);
    root = RootWindow(d, screen);
    visual = DefaultVisual(d, screen);
    depth = DefaultDepth(d, screen);
    screenWidth = DisplayWidth(d, screen);
    screenHeight = DisplayHeight(d, screen);
  }
  ~MenuSession() { closeFrom(0); }

  PlatformMenuOutcome run(long x, long y, long minimumWidth,
                          const std::vector<PlatformMenuItem>& items, std::vector<long>& path);

 private:
  bool open(const std::vector<PlatformMenuItem>& items, int rootX, int rootY, long minimumWidth,
            int alternativeX);
  void closeFrom(size_t level);
  void repaint(size_t level);
  void select(size_t level, long index, bool openSubMenu);
  void openSubMenuOf(size_t level);
  bool hit(int rootX, int rootY, size_t& level, long& index) const;
  bool isOurs(Window window) const;
  bool grab();

  PlatformWindow* w;
  Display* d;
  const PlatformMenuStyle& style;
  PlatformMenuPainter* painter;
  Window root = 0;
  Visual* visual = nullptr;
  int depth = 0;
  int screenWidth = 0, screenHeight = 0;
  std::vector<OpenMenu> menus;
};

bool MenuSession::open(const std::vector<PlatformMenuItem>& items, int rootX, int rootY,
                       long minimumWidth, int alternativeX) {
  OpenMenu menu;
  menu.items = &items;
  menu.layout = platformPopupMenuLayout(items, style, painter, minimumWidth);
  const int width = static_cast<int>(menu.layout.width);
  const int height = static_cast<int>(menu.layout.height);
  // On the screen: a menu that would leave it on the right goes to the
  // alternative side; one that would leave it at the bottom moves up.
  if (rootX + width > screenWidth) rootX = alternativeX;
  rootX = std::max(0, std::min(rootX, screenWidth - width));
  rootY = std::max(0, std::min(rootY, screenHeight - height));
  menu.rootX = rootX;
  menu.rootY = rootY;
  menu.picture = platformSurfaceCreate(width, height);
  if (!menu.picture) return false;

  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;  // no window manager frames or moves it
  attributes.save_under = True;
  attributes.event_mask = kMenuEvents;
  attributes.background_pixmap = None;
  menu.window =
      XCreateWindow(d, root, rootX, rootY, static_cast<unsigned>(width),
                    static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWSaveUnder | CWEventMask | CWBackPixmap, &attributes);
  XMapRaised(d, menu.window);
  menus.push_back(menu);
  repaint(menus.size() - 1);
  return true;
}

void MenuSession::closeFrom(size_t level) {
  while (menus.size() > level) {
    OpenMenu& menu = menus.back();
    if (menu.window) XDestroyWindow(d, menu.window);
    platformSurfaceRelease(menu.picture);
    menus.pop_back();
  }
  XFlush(d);
}

void MenuSession::repaint(size_t level) {
  OpenMenu& menu = menus[level];
  platformPopupMenuPaint(menu.picture, *menu.items, menu.layout, style, painter, menu.selected);
  x11ShowSurface(d, menu.window, visual, depth, menu.picture);
}

void MenuSession::openSubMenuOf(size_t level) {
  OpenMenu& menu = menus[level];
  const long index = menu.selected;
  if (index < 0) return;
  const PlatformMenuItem& item = (*menu.items)[static_cast<size_t>(index)];
  if (!item.hasSubMenu || !platformMenuItemSelectable(item)) return;
  const auto& box = menu.layout.boxes[static_cast<size_t>(index)];
  const int x = menu.rootX + static_cast<int>(menu.layout.width) - 2;
  const int y = menu.rootY + static_cast<int>(box.top) - 1;
  const PlatformMenuLayout sub = platformPopupMenuLayout(item.subItems, style, painter, 0);
  open(item.subItems, x, y, 0, menu.rootX - static_cast<int>(sub.width) + 2);
}

void MenuSession::select(size_t level, long index, bool openSubMenu) {
  OpenMenu& menu = menus[level];
  const bool same = menu.selected == index;
  // Resting on the entry whose sub-menu is open keeps it open.
  if (!(same && menus.size() > level + 1)) closeFrom(level + 1);
  if (!same) {
    menu.selected = index;
    repaint(level);
  }
  if (openSubMenu && menus.size() == level + 1) openSubMenuOf(level);
}

bool MenuSession::hit(int rootX, int rootY, size_t& level, long& index) const {
  // The innermost menu lies on top.
  for (size_t k = menus.size(); k-- > 0;) {
    const OpenMenu& menu = menus[k];
    const long x = rootX - menu.rootX, y = rootY - menu.rootY;
    if (x < 0 || y < 0 || x >= menu.layout.width || y >= menu.layout.height) continue;
    level = k;
    index = platformPopupMenuItemAt(menu.layout, x, y);
    return true;
  }
  return false;
}

bool MenuSession::isOurs(Window window) const {
  if (window == w->window) return true;
  return std::any_of(menus.begin(), menus.end(),
                     [window](const OpenMenu& m) { return m.window == window; });
}

bool MenuSession::grab() {
  const Window holder = menus.front().window;
  XSync(d, False);
  bool pointer = false;
  for (int attempt = 0; attempt < kGrabAttempts && !pointer; ++attempt) {
    pointer = XGrabPointer(d, holder, False, kPointerEvents, GrabModeAsync, GrabModeAsync, None,
                           None, CurrentTime) == GrabSuccess;
    if (!pointer) platformSleep(5);
  }
  // Without the pointer a press in another program would go unseen and the
  // menu could never be left.
  if (!pointer) return false;
  for (int attempt = 0; attempt < kGrabAttempts; ++attempt) {
    if (XGrabKeyboard(d, holder, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess)
      break;
    platformSleep(5);
  }
  return true;
}

PlatformMenuOutcome MenuSession::run(long x, long y, long minimumWidth,
                                     const std::vector<PlatformMenuItem>& items,
                                     std::vector<long>& path) {
  int rootX = 0, rootY = 0;
  Window unused = 0;
  if (!XTranslateCoordinates(d, w->window, root, static_cast<int>(x), static_cast<int>(y), &rootX,
                             &rootY, &unused))
    return PlatformMenuOutcome::unavailable;
  if (!open(items, rootX, rootY, minimumWidth, rootX)) return PlatformMenuOutcome::unavailable;
  if (!grab()) return PlatformMenuOutcome::cancelled;

  // The release of the press that opened the menu chooses nothing unless the
  // pointer has moved onto an entry since (press, drag, release).
  bool armed = false;
  for (;;) {
    if (!x11WaitForEvent(d, 100)) continue;
    XEvent event;
    XNextEvent(d, &event);
    const Window about = event.xany.window;
    switch (event.type) {
      case MotionNotify:
      case ButtonPress:
      case ButtonRelease: {
        if (!isOurs(about)) break;
        // Wheel clicks (buttons 4 to 7) neither choose nor cancel.
        if (event.type != MotionNotify && event.xbutton.button > Button3) break;
        const int px = event.type == MotionNotify ? event.xmotion.x_root : event.xbutton.x_root;
        const int py = event.type == MotionNotify ? event.xmotion.y_root : event.xbutton.y_root;
        size_t level = 0;
        long index = -1;
        const bool inside = hit(px, py, level, index);
        if (event.type == ButtonPress && !inside) return PlatformMenuOutcome::cancelled;
        if (!inside) break;
        if (event.type != ButtonRelease) {
          armed = true;
          const bool selectable =
              index >= 0 &&
              platformMenuItemSelectable((*menus[level].items)[static_cast<size_t>(index)]);
          select(level, selectable ? index : -1, true);
          break;
        }
        if (!armed || index < 0) break;
        const PlatformMenuItem& item = (*menus[level].items)[static_cast<size_t>(index)];
        if (!platformMenuItemSelectable(item) || item.hasSubMenu) break;
        path.clear();
        for (size_t k = 0; k < level; ++k) path.push_back(menus[k].selected);
        path.push_back(index);
        return PlatformMenuOutcome::chosen;
      }
      case KeyPress: {
        if (!isOurs(about)) break;
        const size_t level = menus.size() - 1;
        OpenMenu& menu = menus[level];
        switch (XLookupKeysym(&event.xkey, 0)) {
          case XK_Escape: return PlatformMenuOutcome::cancelled;
          case XK_Up:
          case XK_KP_Up:
            select(level, platformPopupMenuStep(*menu.items, menu.selected, -1), false);
            break;
          case XK_Down:
          case XK_KP_Down:
            select(level, platformPopupMenuStep(*menu.items, menu.selected, +1), false);
            break;
          case XK_Left:
          case XK_KP_Left:
            if (level > 0) closeFrom(level);
            break;
          case XK_Right:
          case XK_KP_Right:
          case XK_Return:
          case XK_KP_Enter:
          case XK_space: {
            if (menu.selected < 0) break;
            const PlatformMenuItem& item = (*menu.items)[static_cast<size_t>(menu.selected)];
            if (item.hasSubMenu) {
              openSubMenuOf(level);
              if (menus.size() > level + 1)
                select(level + 1, platformPopupMenuStep(*menus[level + 1].items, -1, +1), false);
              break;
            }
            const KeySym key = XLookupKeysym(&event.xkey, 0);
            if (key == XK_Right || key == XK_KP_Right) break;
            path.clear();
            for (size_t k = 0; k <= level; ++k) path.push_back(menus[k].selected);
            return PlatformMenuOutcome::chosen;
          }
          default: break;
        }
        break;
      }
      case Expose:
        if (event.xexpose.count == 0) {
          for (size_t k = 0; k < menus.size(); ++k)
            if (menus[k].window == about) repaint(k);
        }
        if (about == w->window) x11DispatchEvent(w, event);
        break;
      default:
        if (!isOurs(about) || about == w->window) x11DispatchEvent(w, event);
        if (w->destroyed) return PlatformMenuOutcome::cancelled;
        break;
    }
  }
}

}  // namespace

PlatformMenuOutcome platformPopupMenuRun(PlatformWindow* w, long x, long y, long minimumWidth,
                                         const std::vector<PlatformMenuItem>& items,
                                         const PlatformMenuStyle& style,
                                         PlatformMenuPainter* painter, std::vector<long>& path) {
  if (!w || w->destroyed || !w->display || items.empty()) {
    path.clear();
    return PlatformMenuOutcome::unavailable;
  }
  PlatformMenuOutcome outcome;
  {
    MenuSession session(w, style, painter);
    outcome = session.run(x, y, minimumWidth, items, path);
  }
  XUngrabPointer(w->display, CurrentTime);
  XUngrabKeyboard(w->display, CurrentTime);
  XSync(w->display, False);
  x11TakeError(w->display);
  if (outcome != PlatformMenuOutcome::chosen) path.clear();
  return outcome;
}
