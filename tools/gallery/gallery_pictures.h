// The gallery's pictures, drawn at start-up with the toolkit itself (no
// files): strips for the buttons, switches, sliders, digits, characters and
// meters. Every picture is opaque, drawn on the colour it will sit on.
#pragma once

class CBitmap;
class CFrame;

namespace gallery {

// Geometry the panel needs to place the controls that use the strips.
inline constexpr long kButtonSize = 44;        // on/off button, one frame square
inline constexpr long kRadioSize = 22;         // radio dot, one frame square
inline constexpr long kKickWidth = 64, kKickHeight = 28;
inline constexpr long kRockerWidth = 72, kRockerHeight = 30;
inline constexpr long kMultiStates = 4, kMultiWidth = 64, kMultiHeight = 28;
inline constexpr long kSwitchPositions = 5;
inline constexpr long kVSwitchWidth = 26, kVSwitchHeight = 86;
inline constexpr long kHSwitchWidth = 110, kHSwitchHeight = 26;
inline constexpr long kSelectorRows = 2, kSelectorColumns = 3;
inline constexpr long kSelectorWidth = 96, kSelectorHeight = 50;
inline constexpr long kAnimFrames = 12, kAnimSize = 56;
inline constexpr long kDialFrames = 16, kDialSize = 56;
inline constexpr long kSliderLength = 100, kSliderThickness = 26;
inline constexpr long kHandleLength = 14;      // along the track
inline constexpr long kDigitWidth = 15, kDigitHeight = 24, kDigitFrames = 13;
inline constexpr long kCharWidth = 13, kCharHeight = 20, kCharFrames = 95;
inline constexpr long kVuWidth = 22, kVuHeight = 92, kVuSegments = 12;
inline constexpr long kMeterWidth = 120, kMeterHeight = 18, kMeterLevels = 11;
inline constexpr long kCellWidth = 16, kCellHeight = 16;  // button matrix cell
inline constexpr long kScopeWidth = 150, kScopeHeight = 76;
inline constexpr long kGroupSliders = 4, kGroupWidth = 104, kGroupHeight = 86;
inline constexpr long kGroupHandleWidth = 22, kGroupHandleHeight = 10;
inline constexpr long kLcdWidth = 128, kLcdHeight = 28;

struct Pictures {
  CBitmap* onOff = nullptr;         // 2 frames: off, on
  CBitmap* radio = nullptr;         // 2 frames
  CBitmap* kick = nullptr;          // 2 frames: up, pressed
  CBitmap* rocker = nullptr;        // 3 frames: -1, 0, +1
  CBitmap* multi = nullptr;         // kMultiStates frames
  CBitmap* verticalSwitch = nullptr;
  CBitmap* horizontalSwitch = nullptr;
  CBitmap* selector = nullptr;      // rows × columns frames
  CBitmap* animation = nullptr;     // kAnimFrames frames
  CBitmap* dial = nullptr;          // kDialFrames frames
  CBitmap* sliderTrackH = nullptr;
  CBitmap* sliderTrackV = nullptr;
  CBitmap* handleH = nullptr;       // for horizontal tracks
  CBitmap* handleV = nullptr;       // for vertical tracks
  CBitmap* digits = nullptr;        // 0-9, minus, plus, point
  CBitmap* characters = nullptr;    // printable ASCII 32..126
  CBitmap* vuOn = nullptr;
  CBitmap* vuOff = nullptr;
  CBitmap* meter = nullptr;         // levels, then inactive, then overload
  CBitmap* matrixCell = nullptr;    // 2 frames
  CBitmap* scope = nullptr;
  CBitmap* groupHandle = nullptr;
  CBitmap* groupBackground = nullptr;
  CBitmap* lcd = nullptr;           // the plain character display's window
  CBitmap* backdrop = nullptr;      // the whole panel

  Pictures() = default;
  Pictures(const Pictures&) = delete;
  Pictures& operator=(const Pictures&) = delete;
  // Lets go of the gallery's references (controls keep their own).
  ~Pictures();
};

// One cell of the panel, in frame coordinates: the backdrop draws a framed
// well for each.
struct CellBox {
  long left, top, right, bottom;
};

// Draws every strip for `frame`; `cells` are the wells the backdrop shows.
void drawPictures(CFrame& frame, long panelWidth, long panelHeight, const CellBox* cells,
                  long cellCount, const char* title, Pictures& out);

}  // namespace gallery
