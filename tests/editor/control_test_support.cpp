#include "control_test_support.h"

#include <cmath>
#include <stdexcept>

#include "gui/cbitmap.h"
#include "gui/coffscreen_context.h"

namespace controltest {

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

std::vector<float> EventLog::reportedValues() const {
  std::vector<float> values;
  for (const Event& e : events)
    if (e.kind == 'C') values.push_back(e.value);
  return values;
}

EventLog& eventLog() {
  static EventLog log;
  return log;
}

VstIntPtr recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt) {
  switch (opcode) {
    case audioMasterBeginEdit:
      eventLog().events.push_back(begin(index));
      return 1;
    case audioMasterEndEdit:
      eventLog().events.push_back(end(index));
      return 1;
    case audioMasterIdle:
      ++eventLog().hostIdles;
      return 1;
    case audioMasterVersion:
      return 2400;
    default:
      return 0;
  }
}

void RecordingListener::valueChanged(CDrawContext* context, CControl* control) {
  contexts.push_back(context);
  eventLog().events.push_back(changed(control->getTag(), control->getValue()));
}

long RecordingListener::controlModifierClicked(CDrawContext* context, CControl* control,
                                               long button) {
  eventLog().events.push_back(modifierClick(control->getTag(), button));
  return modifierAnswer;
}

bool ScriptedPointer::pointerPosition(CPoint& where) {
  if (steps.empty()) return false;
  where = steps[index].where;
  return true;
}

long ScriptedPointer::pointerButtons() { return steps.empty() ? 0 : steps[index].buttons; }

void ScriptedPointer::waitForEvents(unsigned milliseconds) {
  ++waits;
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
  frame = new TestFrame(size, window, this);
  return true;
}

void TestEditor::close() {
  if (frame) frame->forget();
  frame = nullptr;
  AEffEditor::close();
}

void TestEditor::doIdleStuff() {
  ++idleStuffCalls;
  if (logIdlePasses) eventLog().events.push_back(idled());
  if (realPacing) {
    AEffGUIEditor::doIdleStuff();
    return;
  }
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

CColor Surface::pixel(long x, long y) const { return pixelOf(surface, x, y); }

CColor pixelOf(PlatformSurface* surface, long x, long y) {
  const PlatformColor c = platformSurfaceGetPixel(surface, x, y);
  return CColor{c.red, c.green, c.blue, c.alpha};
}

CColor stripColor(long k) {
  return CColor{static_cast<unsigned char>(6 * k + 10), static_cast<unsigned char>(200 - 5 * k),
                static_cast<unsigned char>(40 + 3 * k), 255};
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

}  // namespace controltest

namespace controltest {

void EditorFixture::SetUp() {
  eventLog().clear();
  effect = new TestEffect;
  editor = new TestEditor(effect, CRect(0, 0, 200, 150));
  editor->open(nullptr);
  frame = editor->testFrame();
  frame->setPointerSource(&pointer);
  pointer.script({{CPoint(0, 0), 0}});
}

void EditorFixture::TearDown() {
  // The effect deletes its editor, which closes the frame and its views.
  delete effect;
  eventLog().clear();
}

void EditorFixture::press(CPoint at, long buttons, std::vector<ScriptedPointer::Step> script) {
  if (script.empty()) script = {{at, buttons}, {at, 0}};
  pointer.script(std::move(script));
  frame->mouse(nullptr, at, buttons);
}

void EditorFixture::drawAll() {
  CDrawContext* context = frame->createDrawContext();
  frame->draw(context);
  context->forget();
}

CColor EditorFixture::framePixel(long x, long y) { return pixelOf(frame->getBackBuffer(), x, y); }

}  // namespace controltest
