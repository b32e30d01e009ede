// X11 keyboard and pointer state in the toolkit's terms.
#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>

#include "gui/cbuttons.h"
#include "gui/platform/x11_keys.h"
#include "gui/vstkeys.h"

namespace {

TEST(X11Keys, StateMaskBecomesTheButtonWord) {
  struct Case {
    unsigned int state;
    long buttons;
  };
  const Case cases[] = {
      {0, 0},
      {Button1Mask, kMouseLeft},
      {Button2Mask, kMouseMiddle},
      {Button3Mask, kMouseRight},
      {ShiftMask, kModShift},
      {ControlMask, kModCommand},
      {Mod1Mask, kModOption},
      {Mod4Mask, kModControl},
      // Ctrl+click stays a left click with the command key (the reset and
      // learn gestures), never a right click.
      {Button1Mask | ControlMask, kMouseLeft | kModCommand},
      {Button1Mask | ControlMask | ShiftMask, kMouseLeft | kModCommand | kModShift},
      {Button1Mask | Mod4Mask, kMouseLeft | kModControl},
      // Num Lock and Caps Lock are no modifiers of the word.
      {Mod2Mask | LockMask, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(x11ButtonState(c.state), c.buttons) << c.state;
}

TEST(X11Keys, PressedButtonNumbers) {
  EXPECT_EQ(x11ButtonBit(Button1), kMouseLeft);
  EXPECT_EQ(x11ButtonBit(Button2), kMouseMiddle);
  EXPECT_EQ(x11ButtonBit(Button3), kMouseRight);
  EXPECT_EQ(x11ButtonBit(Button4), 0);
  EXPECT_EQ(x11ButtonBit(8), 0);
}

TEST(X11Keys, KeyModifiers) {
  EXPECT_EQ(x11KeyModifiers(ShiftMask), MODIFIER_SHIFT);
  EXPECT_EQ(x11KeyModifiers(Mod1Mask), MODIFIER_ALTERNATE);
  EXPECT_EQ(x11KeyModifiers(Mod4Mask), MODIFIER_COMMAND);
  EXPECT_EQ(x11KeyModifiers(ControlMask), MODIFIER_CONTROL);
  EXPECT_EQ(x11KeyModifiers(ShiftMask | ControlMask | Mod1Mask | Mod4Mask), 15);
  EXPECT_EQ(x11KeyModifiers(Mod2Mask | LockMask | Button1Mask), 0);
}

TEST(X11Keys, TableMapsKeysymsToVirtualKeys) {
  EXPECT_EQ(x11KeyTableSize(), 47);
  struct Case {
    unsigned long keysym;
    unsigned char virt;
  };
  const Case cases[] = {
      {XK_BackSpace, 1},  {XK_Tab, 2},         {XK_Return, 4},      {XK_Pause, 5},
      {XK_Escape, 6},     {XK_space, 7},       {XK_End, 9},         {XK_Home, 10},
      {XK_Left, 11},      {XK_Up, 12},         {XK_Right, 13},      {XK_Down, 14},
      {XK_Page_Up, 15},   {XK_Page_Down, 16},  {XK_Print, 18},      {XK_KP_Enter, 19},
      {XK_Delete, 22},    {XK_Help, 23},       {XK_KP_0, 24},       {XK_KP_9, 33},
      {XK_KP_Multiply, 34}, {XK_KP_Add, 35},   {XK_KP_Subtract, 37}, {XK_KP_Decimal, 38},
      {XK_KP_Divide, 39}, {XK_F1, 40},         {XK_F12, 51},        {XK_Num_Lock, 52},
      {XK_KP_Equal, 57},  {XK_a, 0},           {XK_Insert, 0},      {XK_Shift_L, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(x11VirtualKey(c.keysym), c.virt) << std::hex << c.keysym;
}

TEST(X11Keys, KeyCodeCarriesEitherAVirtualKeyOrACharacter) {
  VstKeyCode letter = x11KeyCode(XK_A, XK_a, 'A', ShiftMask);
  EXPECT_EQ(letter.character, 'A');
  EXPECT_EQ(letter.virt, 0);
  EXPECT_EQ(letter.modifier, MODIFIER_SHIFT);

  VstKeyCode arrow = x11KeyCode(XK_Up, XK_Up, 0, ControlMask);
  EXPECT_EQ(arrow.virt, VKEY_UP);
  EXPECT_EQ(arrow.character, 0);
  EXPECT_EQ(arrow.modifier, MODIFIER_CONTROL);

  // Space types a character but is a table key: the character goes.
  VstKeyCode space = x11KeyCode(XK_space, XK_space, ' ', 0);
  EXPECT_EQ(space.virt, VKEY_SPACE);
  EXPECT_EQ(space.character, 0);

  // Shift+Tab arrives as ISO_Left_Tab; it is still the tab key, shifted.
  VstKeyCode backTab = x11KeyCode(XK_ISO_Left_Tab, XK_Tab, 0, ShiftMask);
  EXPECT_EQ(backTab.virt, VKEY_TAB);
  EXPECT_EQ(backTab.modifier, MODIFIER_SHIFT);
}

}  // namespace
