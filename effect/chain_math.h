// Arithmetic shared by both forms of the echo loop.
#pragma once

// Soft saturation before the hard limit, so sums beyond +-1 fold back
// (1.5 -> 0.5625, 2 -> -1). A NaN -- from a non-finite input or setting --
// enters the delay line as silence so it cannot poison the loop for good.
inline float saturate(float x) {
  float s = (x * 0.5f) * (3.0f - x * x);
  s = s > 1.0f ? 1.0f : (s < -1.0f ? -1.0f : s);
  return s == s ? s : 0.0f;
}
