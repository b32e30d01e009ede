// Finding the plug-in's parameters by the names people type.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "tools/vsthost/plugin_instance.h"

namespace junkyard::render {

constexpr int kPowerSwitchIndex = 5;

// The index whose short name (as the effect reports it), long name or index
// number matches text, ignoring case and surrounding blanks.
std::optional<int> findParameter(vsthost::PluginInstance& instance, const std::string& text);

// One line per parameter: index, short name, long name, host value, display.
void listParameters(vsthost::PluginInstance& instance, std::FILE* out);

}  // namespace junkyard::render
