// What the standard-control tests stand on: the control test support of the
// editor tests (recording host and listener, scripted pointer, editor without
// a window, in-memory surfaces and strips), seen from here with an editor
// that logs its idle passes, a drawn frame to start from, patterned pictures
// and drag scripts.
#pragma once

#include <vector>

#include "editor/control_test_support.h"

namespace stdtest {

using controltest::begin;
using controltest::changed;
using controltest::Context;
using controltest::end;
using controltest::Event;
using controltest::idled;
using controltest::makePicture;
using controltest::makeStrip;
using controltest::modifierClick;
using controltest::RecordingListener;
using controltest::ScriptedPointer;
using controltest::stripColor;
using controltest::stripFrameOf;
using controltest::Surface;
using controltest::TestEditor;
using controltest::TestEffect;

// The log every recording part writes to (cleared by the fixture).
inline std::vector<Event>& eventLog() { return controltest::eventLog().events; }
// The values reported, in order.
inline std::vector<float> reportedValues() { return controltest::eventLog().reportedValues(); }

// The colour the test surfaces start with; no strip colour is this one.
constexpr CColor kGround = {60, 60, 60, 255};

// A picture whose pixel (x, y) has the colour given by `colorAt`. The caller
// holds the one reference.
CBitmap* makePattern(long width, long height, CColor (*colorAt)(long x, long y));

// The pointer script of a drag: held at `first`, then at each of `moves`,
// resting a moment at the last one (a mouse loop reads a position in one
// pass and the buttons in the next) and then released there.
std::vector<ScriptedPointer::Step> dragScript(CPoint first, const std::vector<CPoint>& moves,
                                              long buttons);

// The editor fixture with every idle pass in the event log and the frame
// drawn once (so idle passes redraw dirty views).
struct ControlFixture : controltest::EditorFixture {
  void SetUp() override;
  // One idle pass outside any mouse loop (draws what is dirty), then a
  // clean log: controls start from a drawn state.
  void settle();
};

}  // namespace stdtest
