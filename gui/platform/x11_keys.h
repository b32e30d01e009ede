// X11 keyboard and pointer state in the toolkit's terms. Plain numbers in and
// out (keysyms, state masks), so the mapping is testable without a display.
#pragma once

#include "host/vst_abi.h"

// Button-state word from an X state mask: buttons 1/2/3 → kMouseLeft /
// kMouseMiddle / kMouseRight; Shift → kModShift, Control → kModCommand,
// Mod1 (Alt) → kModOption, Mod4 (Super) → kModControl. Control with the
// left button stays a left click with the command key.
long x11ButtonState(unsigned int state);
// The button bit of a pressed button number (1, 2, 3); 0 for the others.
long x11ButtonBit(unsigned int button);
// VstKeyCode modifier bits: Shift 1, Alt 2, Super 4, Control 8.
unsigned char x11KeyModifiers(unsigned int state);
// Virtual key of a keysym from the key table; 0 for keys that are not in it.
unsigned char x11VirtualKey(unsigned long keysym);
// Number of entries of the key table.
int x11KeyTableSize();
// A key as views receive it: `keysym` as the keyboard layout gives it (with
// shift applied), `baseKeysym` the key's unshifted keysym, `character` the
// text the key types (0 for none). Keys of the table give their virtual key
// and no character.
VstKeyCode x11KeyCode(unsigned long keysym, unsigned long baseKeysym, int character,
                      unsigned int state);
