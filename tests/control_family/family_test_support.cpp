#include "family_test_support.h"

#include "gui/cbitmap.h"
#include "gui/coffscreen_context.h"

namespace familytest {

CColor characterColor(long frame) {
  return CColor{static_cast<unsigned char>(2 * frame + 10), 90, 30, 255};
}

long characterFrameOf(CColor color) {
  for (long k = 0; k < 95; ++k)
    if (characterColor(k) == color) return k;
  return -1;
}

CBitmap* makeCharacterStrip(long width, long frameHeight) {
  auto* offscreen = new COffscreenContext(nullptr, width, frameHeight * 95, kBlackCColor);
  for (long k = 0; k < 95; ++k) {
    offscreen->setFillColor(characterColor(k));
    offscreen->fillRect(CRect(0, k * frameHeight, width, (k + 1) * frameHeight));
  }
  CBitmap* strip = offscreen->getBitmap();
  strip->remember();
  offscreen->forget();
  return strip;
}

}  // namespace familytest
