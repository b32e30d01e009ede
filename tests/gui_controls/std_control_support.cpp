#include "std_control_support.h"

#include "gui/cbitmap.h"
#include "gui/coffscreen_context.h"

namespace stdtest {

CBitmap* makePattern(long width, long height, CColor (*colorAt)(long x, long y)) {
  auto* offscreen = new COffscreenContext(nullptr, width, height, kBlackCColor);
  for (long y = 0; y < height; ++y)
    for (long x = 0; x < width; ++x) {
      offscreen->setFillColor(colorAt(x, y));
      offscreen->fillRect(CRect(x, y, x + 1, y + 1));
    }
  CBitmap* picture = offscreen->getBitmap();
  picture->remember();
  offscreen->forget();
  return picture;
}

std::vector<ScriptedPointer::Step> dragScript(CPoint first, const std::vector<CPoint>& moves,
                                              long buttons) {
  std::vector<ScriptedPointer::Step> steps{{first, buttons}};
  for (const CPoint& p : moves) steps.push_back({p, buttons});
  const CPoint last = moves.empty() ? first : moves.back();
  steps.push_back({last, buttons});
  steps.push_back({last, 0});
  return steps;
}

void ControlFixture::SetUp() {
  EditorFixture::SetUp();
  editor->logIdlePasses = true;
  // The window's first exposure: from then on idle passes redraw what is dirty.
  drawAll();
}

void ControlFixture::settle() {
  editor->idle();
  eventLog().clear();
}

}  // namespace stdtest
