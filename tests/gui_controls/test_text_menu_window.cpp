// The text field and the pop-up menu on a real X display, driven with real
// input (XTest) from a second connection, the way a user would: typing and
// committing or cancelling, clicking elsewhere, choosing menu entries with
// the mouse and the keyboard, entering a sub-menu, cancelling outside.
// Skipped without a display; `make test` runs them on Xvfb.
// GoogleTest first: Xlib's macros (None, Bool, ...) would rename its types.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "display_lock.h"
#include "gui/controls/coptionmenu.h"
#include "gui/controls/ctextedit.h"
#include "text_menu_support.h"

using namespace textmenutest;
using xdisplaytest::DisplayLock;

namespace {

// The test's injecting thread and the frame's loop use Xlib at the same time.
const bool gThreadsReady = XInitThreads() != 0;

using Clock = std::chrono::steady_clock;

Display* openDisplay() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (Display* d = XOpenDisplay(nullptr)) return d;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return nullptr;
}

bool waitUntil(const std::function<bool()>& done) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Counts the fields / menus that opened and closed again.
class ProbeTextEdit : public CTextEdit {
 public:
  using CTextEdit::CTextEdit;
  std::atomic<int> opened{0}, closed{0};

 protected:
  bool runTextField(std::string& text) override {
    ++opened;
    const bool committed = CTextEdit::runTextField(text);
    ++closed;
    return committed;
  }
};

class ProbeMenu : public COptionMenu {
 public:
  using COptionMenu::COptionMenu;
  std::atomic<int> opened{0}, closed{0};

 protected:
  bool runPopup(std::vector<long>& path) override {
    ++opened;
    const bool chosen = COptionMenu::runPopup(path);
    ++closed;
    return chosen;
  }
};

// The user, on a connection of its own.
class User {
 public:
  User() : d(openDisplay()) {}
  ~User() {
    if (d) XCloseDisplay(d);
  }
  bool ok() const { return d != nullptr; }

  void moveTo(int x, int y) {
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XFlush(d);
  }
  void button(bool down) {
    XTestFakeButtonEvent(d, 1, down ? True : False, CurrentTime);
    XFlush(d);
  }
  void wheel() {
    XTestFakeButtonEvent(d, 4, True, CurrentTime);
    XTestFakeButtonEvent(d, 4, False, CurrentTime);
    XFlush(d);
  }
  void clickAt(int x, int y) {
    moveTo(x, y);
    button(true);
    button(false);
  }
  void tap(KeySym key) {
    const KeyCode code = XKeysymToKeycode(d, key);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XFlush(d);
  }
  void type(const std::string& text) {
    for (char c : text) tap(static_cast<KeySym>(c));
  }
  void focus(Window window) {
    XSetInputFocus(d, window, RevertToParent, CurrentTime);
    XFlush(d);
  }
  // The keyboard is held by someone else: the menu has taken it (and the
  // pointer before it).
  bool waitForMenuGrab() {
    return waitUntil([this] {
      const int status =
          XGrabKeyboard(d, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync, CurrentTime);
      if (status == GrabSuccess) XUngrabKeyboard(d, CurrentTime);
      XSync(d, False);
      return status == AlreadyGrabbed;
    });
  }
  // The keyboard focus is on a window inside `frameWindow`: the field's.
  bool waitForFieldFocus(Window frameWindow) {
    return waitUntil([&] {
      Window focus = 0;
      int revert = 0;
      XGetInputFocus(d, &focus, &revert);
      if (focus == None || focus == PointerRoot || focus == frameWindow) return false;
      Window root = 0, parent = 0, *children = nullptr;
      unsigned int count = 0;
      if (!XQueryTree(d, focus, &root, &parent, &children, &count)) return false;
      if (children) XFree(children);
      return parent == frameWindow;
    });
  }

 private:
  Display* d;
};

constexpr CRect kEditRect(10, 10, 110, 30);
constexpr CRect kMenuRect(10, 60, 110, 80);
constexpr CPoint kElsewhere(180, 160);

struct TextMenuWindow : ::testing::Test {
  Display* display = nullptr;
  Window host = 0;
  std::unique_ptr<DisplayLock> lock;
  TestEffect* effect = nullptr;
  TestEditor* editor = nullptr;
  Listener listener;
  ProbeTextEdit* edit = nullptr;
  ProbeMenu* menu = nullptr;
  COptionMenu* sub = nullptr;

  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    ASSERT_TRUE(gThreadsReady);
    display = openDisplay();
    if (!display) GTEST_SKIP() << "cannot open the display";
    int event = 0, error = 0, major = 0, minor = 0;
    ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
    lock = std::make_unique<DisplayLock>();
    events().clear();

    XSetWindowAttributes a{};
    a.background_pixel = BlackPixel(display, DefaultScreen(display));
    a.override_redirect = True;
    a.event_mask = StructureNotifyMask;
    host = XCreateWindow(display, DefaultRootWindow(display), 50, 50, 200, 180, 0, CopyFromParent,
                         InputOutput, CopyFromParent,
                         CWBackPixel | CWOverrideRedirect | CWEventMask, &a);
    XMapRaised(display, host);
    XEvent e;
    do XWindowEvent(display, host, StructureNotifyMask, &e);
    while (e.type != MapNotify);

    effect = new TestEffect;
    editor = new TestEditor(effect, CRect(0, 0, 200, 180));
    editor->populate = [this](CFrame* f) {
      edit = new ProbeTextEdit(kEditRect, &listener, 1, "abc");
      f->addView(edit);
      menu = new ProbeMenu(kMenuRect, &listener, 2);
      for (const char* t : {"Room", "Hall", "Plate"}) menu->addEntry(t);
      sub = new COptionMenu(CRect(0, 0, 10, 10), nullptr, 0);
      sub->addEntry("Spring");
      sub->addEntry("Tape");
      menu->addEntry(sub, "More");
      sub->forget();
      f->addView(menu);
    };
    AEffect* record = effect->getAeffect();
    ASSERT_EQ(record->dispatcher(record, effEditOpen, 0, 0,
                                 reinterpret_cast<void*>(static_cast<uintptr_t>(host)), 0.0f),
              1);
    ASSERT_TRUE(editor->getFrame()->isBound());
    ASSERT_TRUE(pumpUntil([this] { return !editor->getFrame()->isFirstDraw(); }));
    // Keys typed before the field opens go nowhere of ours.
    XSetInputFocus(display, host, RevertToParent, CurrentTime);
    XSync(display, False);
  }

  void TearDown() override {
    delete effect;
    if (display) {
      if (host) XDestroyWindow(display, host);
      XCloseDisplay(display);
    }
    events().clear();
  }

  // Serves the editor the way a host does until `done`.
  bool pumpUntil(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    AEffect* record = effect->getAeffect();
    while (!done()) {
      if (Clock::now() > deadline) return false;
      record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
      if (CFrame* f = editor->getFrame()) f->waitForEvents(5);
    }
    return true;
  }

  Window frameWindow() const { return static_cast<Window>(editor->getFrame()->getWindowId()); }

  void toScreen(long x, long y, int& sx, int& sy) {
    Window unused;
    XTranslateCoordinates(display, frameWindow(), DefaultRootWindow(display), static_cast<int>(x),
                          static_cast<int>(y), &sx, &sy, &unused);
  }
  CPoint screen(CPoint p) {
    int sx = 0, sy = 0;
    toScreen(p.x, p.y, sx, sy);
    return CPoint(sx, sy);
  }

  // Screen position of the middle of entry `index` of the menu that opens
  // below the control (or of its sub-menu, opened from entry `parentIndex`).
  CPoint entryOnScreen(long index, long parentIndex = -1) {
    PlatformMenuStyle style;
    auto* measure = new CDrawContext(nullptr, static_cast<PlatformSurface*>(nullptr));
    measure->setFont(menu->getFont());
    style.fontSize = static_cast<double>(measure->getFontSize());
    measure->forget();
    const auto items = menu->menuDescription();
    const PlatformMenuLayout top =
        platformPopupMenuLayout(items, style, nullptr, kMenuRect.width());
    CPoint corner = screen(CPoint(kMenuRect.left, kMenuRect.bottom));
    const PlatformMenuLayout* layout = &top;
    PlatformMenuLayout inner;
    if (parentIndex >= 0) {
      inner = platformPopupMenuLayout(items[static_cast<size_t>(parentIndex)].subItems, style,
                                      nullptr, 0);
      corner = CPoint(corner.x + top.width - 2,
                      corner.y + top.boxes[static_cast<size_t>(parentIndex)].top - 1);
      layout = &inner;
    }
    const auto& box = layout->boxes[static_cast<size_t>(index)];
    return CPoint(corner.x + 25, corner.y + (box.top + box.bottom) / 2);
  }

  // Runs `act` as the user while the editor is served, until `closedRuns`
  // fields or menus have closed.
  void play(const std::function<void(User&)>& act, const std::function<bool()>& finished) {
    std::atomic<bool> userDone{false};
    std::thread user([&] {
      User u;
      if (u.ok()) act(u);
      userDone = true;
    });
    const bool ok = pumpUntil([&] { return userDone && finished(); });
    user.join();
    ASSERT_TRUE(ok) << "the user's actions did not come to an end";
  }
};

TEST_F(TextMenuWindow, TypingAndReturnCommitTheText) {
  const CPoint at = screen(CPoint(50, 20));
  const Window frameWin = frameWindow();
  play(
      [&](User& u) {
        u.clickAt(at.x, at.y);
        ASSERT_TRUE(u.waitForFieldFocus(frameWin));
        u.tap(XK_BackSpace);
        u.type("xy");
        u.tap(XK_Home);
        u.tap(XK_Delete);
        u.tap(XK_Return);
      },
      [&] { return edit->closed == 1; });
  EXPECT_STREQ(edit->getText(), "bxy");
  EXPECT_EQ(events(), (std::vector<Event>{begin(1), changed(1, 0.0f, "bxy"), end(1)}));
}

TEST_F(TextMenuWindow, EscapeCancelsTheEdit) {
  const CPoint at = screen(CPoint(50, 20));
  const Window frameWin = frameWindow();
  play(
      [&](User& u) {
        u.clickAt(at.x, at.y);
        ASSERT_TRUE(u.waitForFieldFocus(frameWin));
        u.type("zz");
        u.tap(XK_Escape);
      },
      [&] { return edit->closed == 1; });
  EXPECT_STREQ(edit->getText(), "abc");
  EXPECT_TRUE(events().empty());
}

TEST_F(TextMenuWindow, ClickingElsewhereOrLosingTheFocusCommitsTheText) {
  const CPoint at = screen(CPoint(50, 20));
  const CPoint elsewhere = screen(kElsewhere);
  const Window frameWin = frameWindow();
  const Window hostWin = host;
  struct Case {
    const char* name;
    std::function<void(User&)> leave;
    std::string text;
  };
  const Case cases[] = {
      {"click elsewhere", [&](User& u) { u.clickAt(elsewhere.x, elsewhere.y); }, "abcq"},
      {"focus moves away", [&](User& u) { u.focus(hostWin); }, "abcqq"},
  };
  int runs = 0;
  for (const Case& c : cases) {
    events().clear();
    ++runs;
    play(
        [&](User& u) {
          u.clickAt(at.x, at.y);
          ASSERT_TRUE(u.waitForFieldFocus(frameWin));
          u.type("q");
          c.leave(u);
        },
        [&] { return edit->closed == runs; });
    EXPECT_STREQ(edit->getText(), c.text.c_str()) << c.name;
    EXPECT_EQ(events(), (std::vector<Event>{begin(1), changed(1, 0.0f, c.text), end(1)})) << c.name;
  }
}

TEST_F(TextMenuWindow, PressDragReleaseChoosesAnEntry) {
  const CPoint at = screen(CPoint(50, 70));
  const CPoint hall = entryOnScreen(1);
  play(
      [&](User& u) {
        u.moveTo(at.x, at.y);
        u.button(true);
        ASSERT_TRUE(u.waitForMenuGrab());
        u.moveTo(hall.x, hall.y);
        u.button(false);
      },
      [&] { return menu->closed == 1; });
  EXPECT_EQ(menu->getValue(), 1.0f);
  EXPECT_EQ(events(), (std::vector<Event>{begin(2), changed(2, 1.0f), end(2)}));
}

TEST_F(TextMenuWindow, ClicksChooseAnEntryInASubMenu) {
  const CPoint at = screen(CPoint(50, 70));
  const CPoint more = entryOnScreen(3);
  const CPoint tape = entryOnScreen(1, 3);
  play(
      [&](User& u) {
        u.clickAt(at.x, at.y);
        ASSERT_TRUE(u.waitForMenuGrab());
        // Resting on the entry opens its sub-menu; a click there chooses.
        u.moveTo(more.x, more.y);
        u.moveTo(more.x + 5, more.y);
        u.clickAt(tape.x, tape.y);
      },
      [&] { return menu->closed == 1; });
  EXPECT_EQ(menu->getValue(), 3.0f);
  EXPECT_EQ(sub->getValue(), 1.0f);
  long index = -1;
  EXPECT_EQ(menu->getLastItemMenu(index), sub);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(events(), (std::vector<Event>{begin(2), changed(2, 3.0f), end(2)}));
}

TEST_F(TextMenuWindow, KeysChooseAnEntryAndEnterASubMenu) {
  const CPoint at = screen(CPoint(50, 70));
  struct Case {
    const char* name;
    std::vector<KeySym> keys;
    float value;
    COptionMenu* chosenIn;
    long index;
  };
  const Case cases[] = {
      {"down down return", {XK_Down, XK_Down, XK_Return}, 1.0f, menu, 1},
      {"up goes round to the last, right enters, down, return",
       {XK_Up, XK_Right, XK_Down, XK_Return},
       3.0f,
       sub,
       1},
      {"left leaves the sub-menu again",
       {XK_Up, XK_Right, XK_Left, XK_Up, XK_Return},
       2.0f,
       menu,
       2},
  };
  int runs = 0;
  for (const Case& c : cases) {
    events().clear();
    ++runs;
    play(
        [&](User& u) {
          u.clickAt(at.x, at.y);
          ASSERT_TRUE(u.waitForMenuGrab());
          for (KeySym key : c.keys) u.tap(key);
        },
        [&] { return menu->closed == runs; });
    EXPECT_EQ(menu->getValue(), c.value) << c.name;
    long index = -1;
    EXPECT_EQ(menu->getLastItemMenu(index), c.chosenIn) << c.name;
    EXPECT_EQ(index, c.index) << c.name;
    EXPECT_EQ(events(), (std::vector<Event>{begin(2), changed(2, c.value), end(2)})) << c.name;
  }
}

TEST_F(TextMenuWindow, EscapeOrAClickOutsideCancelsTheMenu) {
  const CPoint at = screen(CPoint(50, 70));
  // Outside the menu, on the text edit: a press that went on would open its field.
  const CPoint elsewhere = screen(CPoint(50, 20));
  const CPoint hall = entryOnScreen(1);
  menu->setCurrent(2);
  play(
      [&](User& u) {
        u.clickAt(at.x, at.y);
        ASSERT_TRUE(u.waitForMenuGrab());
        u.tap(XK_Down);
        u.clickAt(elsewhere.x, elsewhere.y);
      },
      [&] { return menu->closed == 1; });
  play(
      [&](User& u) {
        u.clickAt(at.x, at.y);
        ASSERT_TRUE(u.waitForMenuGrab());
        // A wheel click on an entry chooses nothing.
        u.moveTo(hall.x, hall.y);
        u.wheel();
        u.tap(XK_Escape);
      },
      [&] { return menu->closed == 2; });
  EXPECT_EQ(menu->getValue(), 2.0f);
  EXPECT_EQ(menu->getLastResult(), -1);
  EXPECT_TRUE(events().empty());
  // The click outside ended the menu and went no further.
  EXPECT_EQ(edit->opened, 0);
}

}  // namespace
