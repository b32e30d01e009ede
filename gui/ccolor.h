// The toolkit's colour: four bytes, alpha 255 opaque.
#pragma once

struct CColor {
  unsigned char red = 0;
  unsigned char green = 0;
  unsigned char blue = 0;
  unsigned char alpha = 255;

  constexpr bool operator==(const CColor& o) const {
    return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
  }
  constexpr bool operator!=(const CColor& o) const { return !(*this == o); }
};

// Shorthand constructor, alpha defaulting to opaque.
constexpr CColor MakeCColor(unsigned char r = 0, unsigned char g = 0, unsigned char b = 0,
                            unsigned char a = 255) {
  return CColor{r, g, b, a};
}

// White with alpha 0: the picture colour that transparent drawing hides by default.
inline constexpr CColor kTransparentCColor = {255, 255, 255, 0};
inline constexpr CColor kBlackCColor = {0, 0, 0, 255};
inline constexpr CColor kWhiteCColor = {255, 255, 255, 255};
inline constexpr CColor kGreyCColor = {127, 127, 127, 255};
inline constexpr CColor kRedCColor = {255, 0, 0, 255};
inline constexpr CColor kGreenCColor = {0, 255, 0, 255};
inline constexpr CColor kBlueCColor = {0, 0, 255, 255};
inline constexpr CColor kYellowCColor = {255, 255, 0, 255};
inline constexpr CColor kCyanCColor = {0, 255, 255, 255};
inline constexpr CColor kMagentaCColor = {255, 0, 255, 255};
