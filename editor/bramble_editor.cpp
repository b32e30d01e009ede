#include "editor/bramble_editor.h"

#include <limits>

#include "editor/bramble_frame.h"
#include "editor/bramble_learn_target.h"
#include "editor/clinearknob.h"
#include "editor/cmoviebutton.h"
#include "editor/cmovietoggle.h"
#include "editor/csplashscreen.h"
#include "gui/cbitmap.h"
#include "gui/cbuttons.h"
#include "host/audioeffect.h"

#include "resources/bramble_pictures.h"

namespace {

constexpr long kBackgroundPicture = 10000;
constexpr long kAboutTag = 7;
constexpr long kAboutPicture = 10007;
const CRect kAboutHotSpot(461, 383, 495, 397);
const CRect kAboutDisplay(0, 0, 500, 377);

constexpr long kKnobFrames = 36;
constexpr long kKnobFrameHeight = 161;
constexpr long kPowerFrameHeight = 30;
constexpr long kSelectorFrameHeight = 64;

enum class Kind { knob, toggle, button };

// The parameter controls in the order they join the frame (later ones lie
// on top for the mouse): the power switch comes before the selector.
struct Row {
  int32_t tag;
  Kind kind;
  CRect rect;
  long picture;
};
const Row kLayout[] = {
    {0, Kind::knob, CRect(55, 130, 142, 291), 10001},
    {1, Kind::knob, CRect(162, 133, 249, 294), 10002},
    {2, Kind::knob, CRect(264, 134, 351, 295), 10003},
    {3, Kind::knob, CRect(369, 135, 456, 296), 10004},
    {5, Kind::toggle, CRect(315, 97, 421, 127), 10006},
    {4, Kind::button, CRect(120, 0, 363, 64), 10005},
};

int16_t windowExtent(long pixels) {
  if (pixels < 0) return 0;
  if (pixels > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  return static_cast<int16_t>(pixels);
}

// The mark request word: the tag below, sequence and on bit above.
uint64_t packHighlight(uint32_t sequence, bool on, int32_t tag) {
  const uint64_t upper = (static_cast<uint64_t>(sequence) << 1) | (on ? 1u : 0u);
  return (upper << 32) | static_cast<uint32_t>(tag);
}
uint32_t sequenceOf(uint64_t word) { return static_cast<uint32_t>(word >> 33); }
bool onOf(uint64_t word) { return ((word >> 32) & 1u) != 0; }
int32_t tagOf(uint64_t word) { return static_cast<int32_t>(static_cast<uint32_t>(word)); }

int32_t tagWord(long tag) {
  if (tag > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (tag < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(tag);
}

}  // namespace

brambleEditor::brambleEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
  registerBramblePictures();
  for (auto& slot : pendingValue) slot.store(0.0f, std::memory_order_relaxed);
  isEditorOpen = false;
  backgroundBitmap = new CBitmap(kBackgroundPicture);
  rect.top = 0;
  rect.left = 0;
  rect.bottom = windowExtent(backgroundBitmap->getHeight());
  rect.right = windowExtent(backgroundBitmap->getWidth());
}

brambleEditor::~brambleEditor() {
  // A host that deletes the effect with the window still open.
  if (frame) close();
  if (backgroundBitmap) backgroundBitmap->forget();
  backgroundBitmap = nullptr;
}

brambleFrame* brambleEditor::getBrambleFrame() const { return static_cast<brambleFrame*>(frame); }

bool brambleEditor::open(void* window) {
  // Hosts do not open twice, but a second open must not leak the first frame.
  if (frame) close();
  AEffGUIEditor::open(window);
  // What was recorded while closed is stale: the controls read every value
  // below, and a new window starts without a mark.
  discardPending();

  CBitmap* pictures[7];
  for (int k = 0; k < 7; ++k) pictures[k] = new CBitmap(10001 + k);
  auto pictureOf = [&](long id) { return pictures[id - 10001]; };

  const long width = backgroundBitmap ? backgroundBitmap->getWidth() : 0;
  const long height = backgroundBitmap ? backgroundBitmap->getHeight() : 0;
  brambleFrame* made = new brambleFrame(CRect(0, 0, width, height), window, this);
  frame = made;
  made->setBackground(backgroundBitmap);

  CPoint offset(0, 0);
  for (const Row& row : kLayout) {
    CBitmap* picture = pictureOf(row.picture);
    CControl* control = nullptr;
    switch (row.kind) {
      case Kind::knob: {
        auto* knob = new CLinearKnob(row.rect, this, row.tag, kKnobFrames, kKnobFrameHeight, 1,
                                     picture, offset);
        CLinearKnob** field[] = {&micLevelKnob, &delayKnob, &repeatKnob, &depthKnob};
        *field[row.tag] = knob;
        control = knob;
        break;
      }
      case Kind::toggle:
        control = powerSwitch =
            new CMovieToggle(row.rect, this, row.tag, kPowerFrameHeight, picture, offset);
        break;
      case Kind::button:
        control = inputSelector =
            new CMovieButton(row.rect, this, row.tag, kSelectorFrameHeight, picture, offset);
        break;
    }
    control->setValue(effect ? effect->getParameter(row.tag) : 0.0f);
    made->addView(control);
    controlsByTag[row.tag] = control;
    picture->forget();
  }

  CRect display = kAboutDisplay;
  splashScreen = new CSplashScreen(kAboutHotSpot, this, kAboutTag, pictureOf(kAboutPicture),
                                   display, offset);
  made->addView(splashScreen);
  pictureOf(kAboutPicture)->forget();

  isEditorOpen = true;
  return true;
}

void brambleEditor::close() {
  isEditorOpen = false;
  if (frame) {
    CFrame* closing = frame;
    frame = nullptr;
    closing->forget();
  }
  // The views are gone with the frame: keep no pointers to them.
  micLevelKnob = delayKnob = repeatKnob = depthKnob = nullptr;
  powerSwitch = nullptr;
  inputSelector = nullptr;
  splashScreen = nullptr;
  controlsByTag.clear();
  AEffGUIEditor::close();
}

void brambleEditor::idle() {
  if (!isEditorOpen) return;
  applyPendingValues();
  applyPendingHighlight();
  AEffGUIEditor::idle();
}

void brambleEditor::setParameter(VstInt32 index, float value) {
  if (index < 0 || index >= kParameterCount) return;
  pendingValue[index].store(value, std::memory_order_relaxed);
  pendingMask.fetch_or(1u << index, std::memory_order_release);
}

void brambleEditor::highlightControl(long tag, bool on) {
  const uint32_t sequence = highlightSequence.fetch_add(1, std::memory_order_relaxed) + 1;
  highlightRequest.store(packHighlight(sequence, on, tagWord(tag)), std::memory_order_release);
}

void brambleEditor::discardPending() {
  pendingMask.store(0, std::memory_order_relaxed);
  appliedHighlight = sequenceOf(highlightRequest.load(std::memory_order_acquire));
}

CControl* brambleEditor::controlForIndex(VstInt32 index) const {
  switch (index) {
    case 0:
      return micLevelKnob;
    case 1:
      return delayKnob;
    case 2:
      return repeatKnob;
    case 3:
      return depthKnob;
    case 4:
      return inputSelector;
    case 5:
      return powerSwitch;
    default:
      return nullptr;
  }
}

CControl* brambleEditor::getControl(long tag) const {
  if (!isEditorOpen) return nullptr;
  const auto found = controlsByTag.find(tagWord(tag));
  return found == controlsByTag.end() ? nullptr : found->second;
}

void brambleEditor::applyPendingValues() {
  const uint32_t mask = pendingMask.exchange(0, std::memory_order_acquire);
  if (!mask) return;
  for (VstInt32 index = 0; index < kParameterCount; ++index) {
    if (!(mask & (1u << index))) continue;
    // A plain store: the frame notices at its update that the value moved.
    if (CControl* control = controlForIndex(index))
      control->setValue(pendingValue[index].load(std::memory_order_relaxed));
  }
}

void brambleEditor::applyPendingHighlight() {
  const uint64_t request = highlightRequest.load(std::memory_order_acquire);
  if (sequenceOf(request) == appliedHighlight) return;
  appliedHighlight = sequenceOf(request);
  brambleFrame* marked = getBrambleFrame();
  if (!marked) return;
  // Both the old and the new control are redrawn: the outline leaves one
  // and appears on the other in the same update.
  if (CView* old = marked->getHighlightedView()) old->setDirty(true);
  CControl* control = nullptr;
  if (onOf(request)) {
    control = getControl(tagOf(request));
    if (control) control->setDirty(true);
  }
  marked->setHighlightedView(control);
}

void brambleEditor::valueChanged(CDrawContext* context, CControl* control) {
  if (!control || !effect) return;
  const long tag = control->getTag();
  // The about box reports too; it is no parameter.
  if (tag < 0 || tag >= kParameterCount) return;
  effect->setParameterAutomated(static_cast<VstInt32>(tag), control->getValue());
}

long brambleEditor::controlModifierClicked(CDrawContext* context, CControl* control,
                                           long button) {
  if ((button & kModCommand) && (button & kModShift)) {
    if (auto* target = dynamic_cast<brambleLearnTarget*>(effect); target && control)
      target->handleSpecialClick(control->getTag());
    return 1;
  }
  return 0;
}
