#include "text_menu_support.h"

#include <stdexcept>

#include "gui/controls/ctextedit.h"

namespace textmenutest {

std::ostream& operator<<(std::ostream& out, const Event& e) {
  out << e.kind << "(" << e.tag;
  if (e.kind == 'C') out << ", " << e.value << ", \"" << e.text << "\"";
  return out << ")";
}

std::vector<Event>& events() {
  static std::vector<Event> log;
  return log;
}

namespace {

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  switch (opcode) {
    case audioMasterBeginEdit: events().push_back(begin(index)); return 1;
    case audioMasterEndEdit: events().push_back(end(index)); return 1;
    case audioMasterVersion: return 2400;
    default: return 0;
  }
}

}  // namespace

TestEffect::TestEffect() : AudioEffectX(recordingHost, 1, 6) {}

void Listener::valueChanged(CDrawContext*, CControl* control) {
  std::string text;
  if (control->isTypeOf("CTextEdit")) text = static_cast<CTextEdit*>(control)->getText();
  events().push_back(changed(control->getTag(), control->getValue(), text));
}

long Listener::controlModifierClicked(CDrawContext*, CControl*, long) {
  ++modifierClicks;
  return modifierAnswer;
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
  if (populate) populate(frame);
  return true;
}

void TestEditor::close() {
  if (frame) frame->forget();
  frame = nullptr;
  AEffEditor::close();
}

void UnboundEditor::SetUp() {
  events().clear();
  effect = new TestEffect;
  editor = new TestEditor(effect, CRect(0, 0, 200, 150));
  editor->open(nullptr);
  frame = editor->getFrame();
}

void UnboundEditor::TearDown() {
  delete effect;  // deletes the editor, which closes the frame
  events().clear();
}

Surface::Surface(long width, long height, CColor fill) : w(width), h(height) {
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

void inkSpan(const Surface& surface, const CRect& area, CColor background, long& first,
             long& last) {
  first = last = -1;
  for (long x = area.left; x < area.right; ++x)
    for (long y = area.top; y < area.bottom; ++y)
      if (surface.pixel(x, y) != background) {
        if (first < 0) first = x;
        last = x;
        break;
      }
}

}  // namespace textmenutest

// fontconfig keeps its configuration caches for the life of the process in a
// form the leak checker reports once the first text is drawn; they are not
// ours. Weak, so that another support file of this test program may say the
// same.
extern "C" __attribute__((weak, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
