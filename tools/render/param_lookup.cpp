#include "tools/render/param_lookup.h"

#include "tools/render/name_match.h"


namespace junkyard::render {
namespace {

// The effect reports names through buffers of 8 characters, which only the
// short names fit; the long names people know from the manual live here.
constexpr const char* kLongNames[] = {"Mic Level", "Delay",          "Repeat",
                                      "Depth",     "Input Selector", "Power Switch"};
constexpr int kLongNameCount = static_cast<int>(sizeof(kLongNames) / sizeof(kLongNames[0]));

int parameterCount(vsthost::PluginInstance& instance) {
  AEffect* effect = instance.effect();
  return effect ? effect->numParams : 0;
}

}  // namespace

std::optional<int> findParameter(vsthost::PluginInstance& instance, const std::string& text) {
  return findByNumberOrName(text, parameterCount(instance), [&](int i, const std::string& wanted) {
    return normalised(instance.getParameterName(i)) == wanted ||
           (i < kLongNameCount && normalised(kLongNames[i]) == wanted);
  });
}

void listParameters(vsthost::PluginInstance& instance, std::FILE* out) {
  std::fprintf(out, "%-5s  %-8s  %-14s  %-6s  %s\n", "index", "name", "long name", "value",
               "display");
  const int count = parameterCount(instance);
  for (int i = 0; i < count; ++i) {
    std::string display = instance.getParameterDisplay(i);
    std::string label = instance.getParameterLabel(i);
    if (!label.empty()) display += " " + label;
    std::fprintf(out, "%-5d  %-8s  %-14s  %.4f  %s\n", i, instance.getParameterName(i).c_str(),
                 i < kLongNameCount ? kLongNames[i] : "", instance.getParameter(i),
                 display.c_str());
  }
}

}  // namespace junkyard::render
