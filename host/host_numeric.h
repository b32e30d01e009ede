// Narrowing helpers for values that arrive from the host in wider or looser
// form than the operations they feed. A host may hand us anything; these keep
// the conversions defined (no wrap-around into a valid index, no undefined
// float-to-integer conversion of NaN or huge values).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "host/vst_abi.h"

// Pointer-sized host value to int32, saturating so that the sign survives:
// a huge negative value stays negative and is rejected like any other.
inline VstInt32 clampToInt32(VstIntPtr value) {
  if (value > std::numeric_limits<VstInt32>::max()) return std::numeric_limits<VstInt32>::max();
  if (value < std::numeric_limits<VstInt32>::min()) return std::numeric_limits<VstInt32>::min();
  return static_cast<VstInt32>(value);
}

// Truncation toward zero into the int32 range; NaN counts as 0 and values
// beyond the range stick to its ends.
inline VstInt32 truncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<VstInt32>::max();
  if (value <= -2147483648.0) return std::numeric_limits<VstInt32>::min();
  return static_cast<VstInt32>(value);
}
