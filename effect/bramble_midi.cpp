// MIDI Control Change messages drive parameters through bindings that a
// learn gesture makes: arm learning on a control, then move a controller.
#include "effect/bramble.h"

#include "editor/bramble_editor.h"

namespace {

// Other threads change the learn state only at human speed, so a compare-
// and-swap succeeds within a try or two; the bound keeps the audio thread's
// work finite whatever happens.
constexpr int kMaxAttempts = 64;

bool isParameter(int32_t tag) { return tag >= 0 && tag < kProgramParams; }

int32_t tagWord(long tag) {
  if (tag > INT32_MAX) return INT32_MAX;
  if (tag < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(tag);
}

}  // namespace

VstInt32 bramble::processEvents(VstEvents* events) {
  if (!events) return 1;
  // The record declares two entries but carries numEvents of them.
  VstEvent* const* const list = events->events;
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = list[i];
    if (!event || event->type != kVstMidiType) continue;
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
    const auto status = static_cast<uint8_t>(midi->midiData[0]);
    if ((status & 0xF0) != 0xB0) continue;
    const auto controller = static_cast<uint8_t>(midi->midiData[1]);
    const auto value = static_cast<uint8_t>(midi->midiData[2]);
    // Data bytes have the top bit clear; anything else is not a controller move.
    if (controller >= 0x80 || value >= 0x80) continue;
    midiController(static_cast<char>(controller), static_cast<char>(value), midi->deltaFrames);
  }
  return 1;
}

// The change applies at once, for the whole block that follows.
void bramble::midiController(char controllerByte, char valueByte, int /*deltaFrames*/) {
  const auto controller = static_cast<int8_t>(controllerByte);
  LearnState state = learn.load();
  for (int attempt = 0; state.armed && attempt < kMaxAttempts; ++attempt) {
    if (controller != state.lastController) {
      // The first message of a controller only primes the learn.
      LearnState primed = state;
      primed.lastController = controller;
      if (learn.exchange(state, primed)) return;
    } else {
      // The same controller twice in a row: bind it.
      LearnState done = state;
      done.armed = false;
      done.lastController = -1;
      if (learn.exchange(state, done)) {
        completeLearn(state.target, controller);
        return;
      }
    }
  }
  if (state.armed) return;  // a message while armed never moves a parameter

  const float v = static_cast<float>(valueByte) / 127.0f;
  const MidiBindings::Table table = bindings.load();
  for (int j = 0; j < kProgramParams; ++j)
    if (MidiBindings::controllerOf(table, j) == controller) setParameter(j, v);
}

void bramble::completeLearn(int32_t target, int8_t controller) {
  if (isParameter(target)) {
    bindings.set(target, controller);
    std::atomic_ref<int8_t>(programs[getProgram()].controllers[target])
        .store(controller, std::memory_order_relaxed);
  }
  highlightControl(target, false);
}

void bramble::cancelLearn(int32_t target) {
  if (isParameter(target) && MidiBindings::controllerOf(bindings.load(), target) >= 0) {
    bindings.set(target, -1);
    std::atomic_ref<int8_t>(programs[getProgram()].controllers[target]).store(-1, std::memory_order_relaxed);
  }
  highlightControl(target, false);
}

void bramble::handleSpecialClick(long tagValue) {
  const int32_t tag = tagWord(tagValue);
  LearnState state = learn.load();
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    LearnState next = state;
    if (!state.armed) {
      next.armed = true;
      next.target = tag;
      if (learn.exchange(state, next)) {
        highlightControl(tag, true);
        return;
      }
    } else if (state.target == tag) {
      next.armed = false;
      if (learn.exchange(state, next)) {
        cancelLearn(tag);
        return;
      }
    } else {
      next.target = tag;
      if (learn.exchange(state, next)) {
        highlightControl(state.target, false);
        highlightControl(tag, true);
        return;
      }
    }
  }
}

// Marks the control waiting for a controller; safe from any thread, and
// harmless while the window is closed.
void bramble::highlightControl(long tag, bool on) {
  if (guiEditor) guiEditor->highlightControl(tag, on);
}
