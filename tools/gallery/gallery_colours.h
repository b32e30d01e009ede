// The gallery's palette: the product's dark green-grey panel, cream lettering
// and amber lamps.
#pragma once

#include "gui/ccolor.h"

namespace gallery {

inline constexpr CColor kPanel = {46, 56, 50, 255};
inline constexpr CColor kPanelDeep = {30, 38, 34, 255};
inline constexpr CColor kCell = {54, 66, 59, 255};
inline constexpr CColor kCellEdge = {78, 92, 84, 255};
inline constexpr CColor kCream = {238, 228, 200, 255};
inline constexpr CColor kCreamDim = {150, 146, 126, 255};
inline constexpr CColor kAmber = {244, 172, 62, 255};
inline constexpr CColor kAmberDark = {92, 70, 40, 255};
inline constexpr CColor kMetal = {128, 138, 130, 255};
inline constexpr CColor kMetalLight = {190, 196, 186, 255};
inline constexpr CColor kLcd = {22, 30, 26, 255};
inline constexpr CColor kGreenLamp = {120, 210, 110, 255};
inline constexpr CColor kRedLamp = {226, 76, 52, 255};

}  // namespace gallery
