#include "params/factory_presets.h"

#include <bit>

namespace {
// Constants given by their exact single-precision bits: one step below the
// nearest float of the decimal they stand for.
constexpr float k77_73 = std::bit_cast<float>(0x429B75C2u);
constexpr float k29_7 = std::bit_cast<float>(0x41ED9999u);
constexpr float k32_47 = std::bit_cast<float>(0x4201E147u);
}  // namespace

const char* const presetNames[kNumPrograms] = {
    "Junkyard Reverb", "On The Edge", "Thicker Loop", "Dimed", "Smooth Operator",
};

const float kPresetData[kNumPrograms][kProgramParams] = {
    // Mic Level, Delay, Repeat, Depth, Input Selector, Power Switch
    {0.0f, k77_73, 0.434f, k29_7, 0.0f, 1.0f},
    {0.881f, 77.0f, 0.63f, 60.0f, 0.0f, 1.0f},
    {0.295f, k32_47, 0.0f, 29.716f, 0.0f, 1.0f},
    {1.0f, 150.0f, 0.7f, 60.0f, 0.0f, 1.0f},
    {0.0f, 83.57f, 0.602f, 32.4f, 1.0f, 1.0f},
};

const int32_t kMIDIassignments[kNumPrograms][2] = {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}};
const int32_t kNumMIDIassignments[kNumPrograms] = {0, 0, 0, 0, 0};
