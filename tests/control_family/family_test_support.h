// What the family's tests stand on: the control test support of the editor
// tests (scripted pointer, recording listener, editor fixture, in-memory
// surfaces and strips), plus a character strip whose 95 frames can be told
// apart by colour.
#pragma once

#include "editor/control_test_support.h"

namespace familytest {

// Distinct for every character frame 0..94, opaque, never white.
CColor characterColor(long frame);
// The character frame of this colour, or -1.
long characterFrameOf(CColor color);
// 95 frames of width × frameHeight, frame k filled with characterColor(k).
// The caller holds the one reference.
CBitmap* makeCharacterStrip(long width, long frameHeight);

}  // namespace familytest
