// Float-to-pixel conversion for the controls. Values reach the controls from
// the host, from MIDI and from programs without any checking, so a NaN or a
// huge value must still give some pixel instead of undefined behaviour.
#pragma once

#include <cmath>

// Truncation toward zero; NaN gives 0 and values past the 32-bit range stop
// at its ends (pixel coordinates never come near them).
inline long truncateToPixel(float x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483520.0f) return 2147483520L;
  if (x <= -2147483520.0f) return -2147483520L;
  return static_cast<long>(x);
}
