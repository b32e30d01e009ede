#include "params/bramble_param_manager.h"

#include <bit>
#include <cstdint>
#include <cstdio>

namespace {

// The factory defaults are fixed to the bit: two of them sit one step below
// the nearest float to their decimal, so they are spelled as bit patterns.
constexpr float kDelayDefault = std::bit_cast<float>(uint32_t{0x429B75C2});   // 77.73
constexpr float kRepeatMaximum = std::bit_cast<float>(uint32_t{0x3F333333});  // 0.7
constexpr float kRepeatDefault = std::bit_cast<float>(uint32_t{0x3EDE353F});  // 0.434
constexpr float kDepthDefault = std::bit_cast<float>(uint32_t{0x41ED9999});   // 29.7

static_assert(kRepeatMaximum == 0.7f);
static_assert(kRepeatDefault == 0.434f);
static_assert(std::bit_cast<uint32_t>(77.73f) == 0x429B75C2 + 1, "77.73 is one float below the literal");
static_assert(std::bit_cast<uint32_t>(29.7f) == 0x41ED9999 + 1, "29.7 is one float below the literal");

}  // namespace

brambleParamManager::brambleParamManager() {
  newParameter(kMicLevel, "Mic Level", "Mic Lvl", "", 0.0f, 1.0f, 0.0f, kParamLinear);
  newParameter(kDelay, "Delay", "Delay", "", 4.0f, 150.0f, kDelayDefault, kParamLinear);
  newParameter(kRepeat, "Repeat", "Repeat", "", 0.0f, kRepeatMaximum, kRepeatDefault, kParamLinear);
  newParameter(kDepth, "Depth", "Depth", "", 0.0f, 60.0f, kDepthDefault, kParamPercent);
  newParameter(kInputSelector, "Input Selector", "Input", "", 0.0f, 1.0f, 0.0f, kParamInteger);
  newParameter(kPowerSwitch, "Power Switch", "Power", "", 0.0f, 1.0f, 1.0f, kParamInteger);
}

void brambleParamManager::getValueString(long id, char* destination, int length) {
  // Wide enough for "%2.1f" of any float a restored chunk might hold.
  char text[64];
  switch (id) {
    case kMicLevel:
    case kDelay:
    case kRepeat:
    case kDepth:
      std::snprintf(text, sizeof text, "%2.1f", static_cast<double>(getVSTvalue(id) * 10.0f));
      break;
    case kInputSelector:
      std::snprintf(text, sizeof text, "%s", getNaturalValue(id) != 0.0f ? "Line" : "Mic");
      break;
    case kPowerSwitch:
      std::snprintf(text, sizeof text, "%s", getNaturalValue(id) != 0.0f ? "On" : "Off");
      break;
    default:
      mf_paramManager::getValueString(id, destination, length);
      return;
  }
  copyText(destination, text, length);
}
