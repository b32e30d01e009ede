#pragma once

// Style bits shared by the toolkit's further controls. Every bit is distinct,
// so one style word can combine an orientation, a direction and text/frame
// options without one option being mistaken for another. The values are part
// of the controls' interface: plug-ins store them in their layout code, so
// they never change.

// orientation (switches, sliders, meters)
constexpr long kHorizontal = 1 << 0;
constexpr long kVertical = 1 << 1;

// text and frame drawing (displays, text fields, menus)
constexpr long kShadowText = 1 << 2;
constexpr long k3DIn = 1 << 3;
constexpr long k3DOut = 1 << 4;
constexpr long kPopupStyle = 1 << 5;
constexpr long kCheckStyle = 1 << 6;
constexpr long kNoTextStyle = 1 << 7;
constexpr long kNoDrawStyle = 1 << 8;
constexpr long kNoFrame = 1 << 9;

// direction: the side where the minimum value sits (sliders)
constexpr long kLeft = 1 << 10;
constexpr long kRight = 1 << 11;
constexpr long kTop = 1 << 12;
constexpr long kBottom = 1 << 13;
