// The effect and its editor together: the editor exists from construction,
// parameter changes and learn gestures reach the window, and the window can
// be opened, idled and closed on one thread while MIDI, learning and
// automation change things on another.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bramble_probe.h"
#include "editor/bramble_editor.h"
#include "editor/bramble_frame.h"
#include "gui/cbitmap.h"
#include "gui/platform/platform_drawing.h"
#include "params/bramble_param_manager.h"
#include "../midi_events.h"

namespace {

brambleEditor* editorOf(bramble& effect) {
  return dynamic_cast<brambleEditor*>(effect.getEditor());
}

VstIntPtr dispatch(bramble& effect, VstInt32 opcode, void* ptr = nullptr) {
  AEffect* e = effect.getAeffect();
  return e->dispatcher(e, opcode, 0, 0, ptr, 0.0f);
}

// Plain pictures of the editor's sizes, one frame per strip: the window is
// opened hundreds of times, and decoding the real strips each time would
// only slow the race down.
class PlainPictures {
 public:
  PlainPictures() {
    char pattern[] = "/tmp/bramble_editor_threads_XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    directory = pattern;
    mkdir((directory + "/resources").c_str(), 0700);
    const long sizes[8][2] = {{500, 400}, {87, 161}, {87, 161}, {87, 161},
                              {87, 161},  {243, 64}, {106, 30}, {500, 377}};
    for (long k = 0; k < 8; ++k) {
      PlatformSurface* surface = platformSurfaceCreate(sizes[k][0], sizes[k][1]);
      char name[64];
      std::snprintf(name, sizeof name, "/resources/bmp%05ld.png", 10000 + k);
      files.push_back(directory + name);
      platformSurfaceWritePNG(surface, files.back().c_str());
      platformSurfaceRelease(surface);
    }
    CBitmap::setResourceDirectoryOverride(directory.c_str());
  }
  ~PlainPictures() {
    CBitmap::setResourceDirectoryOverride(nullptr);
    for (const std::string& file : files) std::remove(file.c_str());
    rmdir((directory + "/resources").c_str());
    rmdir(directory.c_str());
  }

 private:
  std::string directory;
  std::vector<std::string> files;
};

void controllerMove(bramble& effect, uint8_t controller, uint8_t value) {
  MidiEventList list({midiMessage(0xB0, controller, value)});
  effect.processEvents(list.get());
}

TEST(EffectEditor, EveryInstanceHasItsEditorFromTheStart) {
  BrambleProbe effect;
  ASSERT_NE(editorOf(effect), nullptr);
  EXPECT_EQ(effect.getAeffect()->flags, 0x31);
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effect, effEditGetRect, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
}

TEST(EffectEditor, ParameterChangesAndLearnGesturesReachTheOpenWindow) {
  BrambleProbe effect;
  brambleEditor* editor = editorOf(effect);
  ASSERT_EQ(dispatch(effect, effEditOpen), 1);
  for (int tag = 0; tag < 6; ++tag)
    EXPECT_EQ(editor->getControl(tag)->getValue(), effect.getParameter(tag)) << tag;

  effect.setParameter(kRepeat, 0.125f);
  controllerMove(effect, 7, 64);  // no binding yet: moves nothing
  dispatch(effect, effEditIdle);
  EXPECT_EQ(editor->getControl(kRepeat)->getValue(), 0.125f);

  // Learn: a command + shift click marks the control, the controller sent
  // twice binds it and clears the mark, then it moves the knob.
  CControl* depth = editor->getControl(kDepth);
  EXPECT_EQ(editor->controlModifierClicked(nullptr, depth, kMouseLeft | kModCommand | kModShift),
            1);
  dispatch(effect, effEditIdle);
  EXPECT_EQ(editor->getBrambleFrame()->getHighlightedView(), depth);
  controllerMove(effect, 7, 0);
  controllerMove(effect, 7, 0);
  dispatch(effect, effEditIdle);
  EXPECT_EQ(editor->getBrambleFrame()->getHighlightedView(), nullptr);
  controllerMove(effect, 7, 127);
  dispatch(effect, effEditIdle);
  EXPECT_EQ(depth->getValue(), 1.0f);
  EXPECT_EQ(effect.getParameter(kDepth), 1.0f);

  // A control moved by the user changes the effect.
  CControl* mic = editor->getControl(kMicLevel);
  mic->setValue(0.5f);
  editor->valueChanged(nullptr, mic);
  EXPECT_EQ(effect.getParameter(kMicLevel), 0.5f);
  dispatch(effect, effEditClose);
  EXPECT_EQ(editor->getControl(kMicLevel), nullptr);
}

// One thread plays the audio and MIDI side (learn gestures completed by
// controllers, bound controllers moving parameters, automation), the other
// the host's window: open, draw, idle and close, over and over.
TEST(EditorThreads, WindowComesAndGoesWhileParametersAndLearnChange) {
  PlainPictures pictures;
  BrambleProbe effect;
  brambleEditor* editor = editorOf(effect);
  ASSERT_NE(editor, nullptr);
  std::atomic<bool> done{false};

  std::thread midi([&] {
    for (int round = 0; round < 2000; ++round) {
      const int tag = round % 6;
      const auto controller = static_cast<uint8_t>(10 + tag);
      effect.handleSpecialClick(tag);
      controllerMove(effect, controller, 0);
      controllerMove(effect, controller, 0);  // binds, clears the mark
      controllerMove(effect, controller, static_cast<uint8_t>(round % 128));
      effect.setParameter((tag + 1) % 6, static_cast<float>(round % 10) / 10.0f);
      if (round % 7 == 0) effect.handleSpecialClick(tag);  // left armed for a while
    }
    done.store(true);
  });

  int cycles = 0;
  while (!done.load() || cycles < 10) {
    dispatch(effect, effEditOpen);
    dispatch(effect, effEditDraw);  // the window's first exposure
    for (int k = 0; k < 3; ++k) dispatch(effect, effEditIdle);
    // The user starts a learn too, now and then.
    if (cycles % 3 == 0) effect.handleSpecialClick(cycles % 8);
    dispatch(effect, effEditIdle);
    dispatch(effect, effEditClose);
    dispatch(effect, effEditIdle);  // closed: nothing to do
    ++cycles;
  }
  midi.join();

  // Whatever happened, a new window shows the effect as it is, unmarked.
  ASSERT_EQ(dispatch(effect, effEditOpen), 1);
  dispatch(effect, effEditIdle);
  for (int tag = 0; tag < 6; ++tag)
    EXPECT_EQ(editor->getControl(tag)->getValue(), effect.getParameter(tag)) << tag;
  EXPECT_EQ(editor->getBrambleFrame()->getHighlightedView(), nullptr);
  dispatch(effect, effEditClose);
}

}  // namespace
