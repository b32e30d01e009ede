#include "tools/render/param_lookup.h"

#include <cctype>
#include <charconv>

namespace junkyard::render {
namespace {

// The effect reports names through buffers of 8 characters, which only the
// short names fit; the long names people know from the manual live here.
constexpr const char* kLongNames[] = {"Mic Level", "Delay",          "Repeat",
                                      "Depth",     "Input Selector", "Power Switch"};
constexpr int kLongNameCount = static_cast<int>(sizeof(kLongNames) / sizeof(kLongNames[0]));

std::string normalised(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  std::size_t last = text.find_last_not_of(" \t");
  std::string out = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

int parameterCount(vsthost::PluginInstance& instance) {
  AEffect* effect = instance.effect();
  return effect ? effect->numParams : 0;
}

}  // namespace

std::optional<int> findParameter(vsthost::PluginInstance& instance, const std::string& text) {
  const std::string wanted = normalised(text);
  const int count = parameterCount(instance);
  if (wanted.empty()) return std::nullopt;

  int index = -1;
  auto [ptr, ec] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), index);
  if (ec == std::errc() && ptr == wanted.data() + wanted.size()) {
    if (index >= 0 && index < count) return index;
    return std::nullopt;
  }
  for (int i = 0; i < count; ++i) {
    if (normalised(instance.getParameterName(i)) == wanted) return i;
    if (i < kLongNameCount && normalised(kLongNames[i]) == wanted) return i;
  }
  return std::nullopt;
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
