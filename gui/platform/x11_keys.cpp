#include "gui/platform/x11_keys.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include "gui/cbuttons.h"
#include "gui/vstkeys.h"

namespace {

struct KeyEntry {
  unsigned long keysym;
  unsigned char virt;
};

// The keys that views see as virtual keys rather than as characters.
constexpr KeyEntry kKeyTable[] = {
    {XK_BackSpace, VKEY_BACK},     {XK_Tab, VKEY_TAB},
    {XK_Return, VKEY_RETURN},      {XK_Pause, VKEY_PAUSE},
    {XK_Escape, VKEY_ESCAPE},      {XK_space, VKEY_SPACE},
    {XK_End, VKEY_END},            {XK_Home, VKEY_HOME},
    {XK_Left, VKEY_LEFT},          {XK_Up, VKEY_UP},
    {XK_Right, VKEY_RIGHT},        {XK_Down, VKEY_DOWN},
    {XK_Page_Up, VKEY_PAGEUP},     {XK_Page_Down, VKEY_PAGEDOWN},
    {XK_Print, VKEY_PRINT},        {XK_KP_Enter, VKEY_ENTER},
    {XK_Delete, VKEY_DELETE},      {XK_Help, VKEY_HELP},
    {XK_KP_0, VKEY_NUMPAD0},       {XK_KP_1, VKEY_NUMPAD1},
    {XK_KP_2, VKEY_NUMPAD2},       {XK_KP_3, VKEY_NUMPAD3},
    {XK_KP_4, VKEY_NUMPAD4},       {XK_KP_5, VKEY_NUMPAD5},
    {XK_KP_6, VKEY_NUMPAD6},       {XK_KP_7, VKEY_NUMPAD7},
    {XK_KP_8, VKEY_NUMPAD8},       {XK_KP_9, VKEY_NUMPAD9},
    {XK_KP_Multiply, VKEY_MULTIPLY}, {XK_KP_Add, VKEY_ADD},
    {XK_KP_Subtract, VKEY_SUBTRACT}, {XK_KP_Decimal, VKEY_DECIMAL},
    {XK_KP_Divide, VKEY_DIVIDE},   {XK_F1, VKEY_F1},
    {XK_F2, VKEY_F2},              {XK_F3, VKEY_F3},
    {XK_F4, VKEY_F4},              {XK_F5, VKEY_F5},
    {XK_F6, VKEY_F6},              {XK_F7, VKEY_F7},
    {XK_F8, VKEY_F8},              {XK_F9, VKEY_F9},
    {XK_F10, VKEY_F10},            {XK_F11, VKEY_F11},
    {XK_F12, VKEY_F12},            {XK_Num_Lock, VKEY_NUMLOCK},
    {XK_KP_Equal, VKEY_EQUALS},
};
static_assert(sizeof(kKeyTable) / sizeof(kKeyTable[0]) == 47);

}  // namespace

long x11ButtonState(unsigned int state) {
  long buttons = 0;
  if (state & Button1Mask) buttons |= kMouseLeft;
  if (state & Button2Mask) buttons |= kMouseMiddle;
  if (state & Button3Mask) buttons |= kMouseRight;
  if (state & ShiftMask) buttons |= kModShift;
  if (state & ControlMask) buttons |= kModCommand;
  if (state & Mod1Mask) buttons |= kModOption;
  if (state & Mod4Mask) buttons |= kModControl;
  return buttons;
}

long x11ButtonBit(unsigned int button) {
  switch (button) {
    case Button1: return kMouseLeft;
    case Button2: return kMouseMiddle;
    case Button3: return kMouseRight;
    default: return 0;
  }
}

unsigned char x11KeyModifiers(unsigned int state) {
  unsigned char modifiers = 0;
  if (state & ShiftMask) modifiers |= MODIFIER_SHIFT;
  if (state & Mod1Mask) modifiers |= MODIFIER_ALTERNATE;
  if (state & Mod4Mask) modifiers |= MODIFIER_COMMAND;
  if (state & ControlMask) modifiers |= MODIFIER_CONTROL;
  return modifiers;
}

unsigned char x11VirtualKey(unsigned long keysym) {
  for (const KeyEntry& entry : kKeyTable)
    if (entry.keysym == keysym) return entry.virt;
  return 0;
}

int x11KeyTableSize() { return static_cast<int>(sizeof(kKeyTable) / sizeof(kKeyTable[0])); }

VstKeyCode x11KeyCode(unsigned long keysym, unsigned long baseKeysym, int character,
                      unsigned int state) {
  VstKeyCode key{};
  key.modifier = x11KeyModifiers(state);
  // Shift turns Tab into ISO_Left_Tab: the unshifted keysym still names the
  // key, and the shift travels in the modifiers.
  unsigned char virt = x11VirtualKey(keysym);
  if (!virt) virt = x11VirtualKey(baseKeysym);
  if (virt) {
    key.virt = virt;
    key.character = 0;
  } else {
    key.character = character;
  }
  return key;
}
