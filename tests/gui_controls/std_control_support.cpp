#include "std_control_support.h"

#include <cmath>
#include <stdexcept>

#include "gui/cbitmap.h"
#include "gui/coffscreen_context.h"
#include "gui/platform/platform_drawing.h"

namespace stdtest {

namespace {

VstIntPtr recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt) {
  switch (opcode) {
    case audioMasterBeginEdit:
      eventLog().push_back(begin(index));
      return 1;
    case audioMasterEndEdit:
      eventLog().push_back(end(index));
      return 1;
    case audioMasterVersion:
      return 2400;
    default:
      return 0;
  }
}

}  // namespace

bool Event::operator==(const Event& o) const {
  if (kind != o.kind || tag != o.tag || buttons != o.buttons) return false;
  // Reported values come from float arithmetic: a few units in the last
  // place are the same value.
  return value == o.value ||
         std::fabs(value - o.value) <= 4e-7f * std::fmax(1.0f, std::fabs(value));
}

std::ostream& operator<<(std::ostream& out, const Event& e) {
  out << e.kind << "(" << e.tag;
  if (e.kind == 'C') out << ", " << e.value;
  if (e.kind == 'M') out << ", buttons " << e.buttons;
  return out << ")";
}

std::vector<Event>& eventLog() {
  static std::vector<Event> log;
  return log;
}

std::vector<float> reportedValues() {
  std::vector<float> values;
  for (const Event& e : eventLog())
    if (e.kind == 'C') values.push_back(e.value);
  return values;
}

TestEffect::TestEffect() : AudioEffectX(recordingHost, 1, 6) {}

void RecordingListener::valueChanged(CDrawContext* context, CControl* control) {
  eventLog().push_back(changed(control->getTag(), control->getValue()));
}

long RecordingListener::controlModifierClicked(CDrawContext* context, CControl* control,
                                               long button) {
  eventLog().push_back(modifierClick(control->getTag(), button));
  return modifierAnswer;
}

bool ScriptedPointer::pointerPosition(CPoint& where) {
  if (steps.empty()) return false;
  where = steps[index].where;
  return true;
}

long ScriptedPointer::pointerButtons() { return steps.empty() ? 0 : steps[index].buttons; }

void ScriptedPointer::waitForEvents(unsigned milliseconds) {
  if (index + 1 < steps.size()) ++index;
}

TestEditor::TestEditor(AudioEffect* effect, const CRect& size) : AEffGUIEditor(effect), size(size) {
  rect.left = 0;
  rect.top = 0;
  rect.right = static_cast<int16_t>(size.width());
  rect.bottom = static_cast<int16_t>(size.height());
}

bool TestEditor::open(void* window) {
  AEffEditor::open(window);
  frame = new CFrame(size, window, this);
  return true;
}

void TestEditor::close() {
  if (frame) frame->forget();
  frame = nullptr;
  AEffEditor::close();
}

void TestEditor::doIdleStuff() {
  eventLog().push_back(idled());
  if (!frame) return;
  frame->waitForEvents(4);
  idle();
}

Surface::Surface(long width, long height, CColor fill) {
  surface = platformSurfaceCreate(width, height);
  if (!surface) throw std::runtime_error("no surface");
  PlatformContext* c = platformContextCreate(surface);
  platformSetFillColor(c, PlatformColor{fill.red, fill.green, fill.blue, fill.alpha});
  platformRectangle(c, 0, 0, static_cast<double>(width), static_cast<double>(height));
  platformFill(c);
  platformContextDestroy(c);
}

Surface::~Surface() { platformSurfaceRelease(surface); }

CColor Surface::pixel(long x, long y) const {
  const PlatformColor c = platformSurfaceGetPixel(surface, x, y);
  return CColor{c.red, c.green, c.blue, c.alpha};
}

CColor stripColor(long k) {
  return CColor{static_cast<unsigned char>(6 * k + 10), static_cast<unsigned char>(200 - 5 * k),
                static_cast<unsigned char>(90 + 3 * k), 255};
}

long stripFrameOf(CColor color) {
  for (long k = 0; k < 40; ++k)
    if (stripColor(k) == color) return k;
  return -1;
}

CBitmap* makeStrip(long width, long frameHeight, long frames) {
  auto* offscreen = new COffscreenContext(nullptr, width, frameHeight * frames, kBlackCColor);
  for (long k = 0; k < frames; ++k) {
    offscreen->setFillColor(stripColor(k));
    offscreen->fillRect(CRect(0, k * frameHeight, width, (k + 1) * frameHeight));
  }
  CBitmap* strip = offscreen->getBitmap();
  strip->remember();
  offscreen->forget();
  return strip;
}

CBitmap* makePicture(long width, long height, CColor fill) {
  auto* offscreen = new COffscreenContext(nullptr, width, height, fill);
  CBitmap* picture = offscreen->getBitmap();
  picture->remember();
  offscreen->forget();
  return picture;
}

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

void ControlFixture::SetUp() {
  eventLog().clear();
  effect = new TestEffect;
  editor = new TestEditor(effect, CRect(0, 0, 200, 150));
  editor->open(nullptr);
  frame = editor->getFrame();
  frame->setPointerSource(&pointer);
  pointer.script({{CPoint(0, 0), 0}});
  // The window's first exposure: from then on idle passes redraw what is dirty.
  CDrawContext* context = frame->createDrawContext();
  frame->draw(context);
  context->forget();
}

void ControlFixture::TearDown() {
  // The effect deletes its editor, which closes the frame and its views.
  delete effect;
  eventLog().clear();
}

void ControlFixture::press(CPoint at, long buttons, std::vector<ScriptedPointer::Step> script) {
  if (script.empty()) script = {{at, buttons}, {at, 0}};
  pointer.script(std::move(script));
  frame->mouse(nullptr, at, buttons);
}

}  // namespace stdtest

namespace stdtest {

std::vector<ScriptedPointer::Step> dragScript(CPoint first, const std::vector<CPoint>& moves,
                                              long buttons) {
  std::vector<ScriptedPointer::Step> steps{{first, buttons}};
  for (const CPoint& p : moves) steps.push_back({p, buttons});
  const CPoint last = moves.empty() ? first : moves.back();
  steps.push_back({last, buttons});
  steps.push_back({last, 0});
  return steps;
}

void ControlFixture::settle() {
  editor->idle();
  eventLog().clear();
}

}  // namespace stdtest
