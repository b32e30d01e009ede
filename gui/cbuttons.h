// The button-state word every mouse operation receives: buttons held and
// modifier keys, one bit each. -1 in its place means "not given: read the
// current state".
#pragma once

constexpr long kMouseLeft = 1;
constexpr long kMouseMiddle = 2;
constexpr long kMouseRight = 4;
constexpr long kModShift = 8;
constexpr long kModCommand = 16;  // Ctrl on Linux
constexpr long kModOption = 32;   // Alt
constexpr long kModControl = 64;  // Super

// Any of the modifier keys.
constexpr long kModifierMask = kModShift | kModCommand | kModOption | kModControl;
// Any of the buttons.
constexpr long kMouseButtonMask = kMouseLeft | kMouseMiddle | kMouseRight;

// Wheel axis of onWheel.
enum CMouseWheelAxis { kMouseWheelAxisX = 0, kMouseWheelAxisY = 1 };
