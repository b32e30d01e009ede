// Where the editor's pieces sit: the window's layout in pixels, and the
// geometry inside each control's frame. The panel and the strips are drawn
// by these numbers; the editor places its controls at the same rectangles.
#pragma once

namespace pictures {

// Window coordinates: left, top, right, bottom.
struct Box {
  int left, top, right, bottom;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

constexpr int kPanelWidth = 500;
constexpr int kPanelHeight = 400;
constexpr Box kKnobBoxes[4] = {
    {55, 130, 142, 291}, {162, 133, 249, 294}, {264, 134, 351, 295}, {369, 135, 456, 296}};
const char* const kKnobLabels[4] = {"MIC LEVEL", "DELAY", "REPEAT", "DEPTH"};
constexpr Box kPowerBox{315, 97, 421, 127};
constexpr Box kSelectorBox{120, 0, 363, 64};
constexpr Box kAboutSpot{461, 383, 495, 397};
constexpr int kKnobFrames = 36;
constexpr int kAboutWidth = 500;
constexpr int kAboutHeight = 377;

// Inside one knob frame (87 × 161): the knob's centre and its scale.
constexpr double kKnobCentreX = 43.5;
constexpr double kKnobCentreY = 64.0;
constexpr double kKnobLabelBaseline = 132.0;
// Pointer sweep: 225° at the minimum to −45° at the maximum, counter-clockwise
// from the positive x axis.
constexpr double kKnobMinDegrees = 225.0;
constexpr double kKnobSweepDegrees = 270.0;

// Inside the selector (243 × 64).
constexpr double kSlotLeft = 86, kSlotRight = 157, kSlotTop = 27, kSlotBottom = 47;
constexpr double kMicLampX = 30, kLineLampX = 213, kLampY = 37;

// Inside the power switch (106 × 30).
constexpr double kRockerLeft = 4, kRockerTop = 2, kRockerRight = 60, kRockerBottom = 28;
constexpr double kPowerLampX = 86, kPowerLampY = 15;

}  // namespace pictures
