// Preset files between disk and the effect: reading and checking them before
// the effect is touched, applying them, and saving the current program or
// the bank after a render.
#pragma once

#include <optional>
#include <string>

#include "tools/presets/preset_file.h"
#include "tools/vsthost/plugin_instance.h"

namespace junkyard::render {

// Program for ".fxp", bank for ".fxb" (any letter case); nothing otherwise.
std::optional<presets::PresetKind> presetKindForPath(const std::string& path);

// What this effect instance produces and accepts: its ID, its chunk sizes
// (asked for, not assumed) and its counts. Asking for a chunk changes nothing.
presets::Expectations expectationsOf(vsthost::PluginInstance& instance);

// Reads and checks the whole file; false with "PATH: reason" otherwise.
bool readPresetFile(const std::string& path, const presets::Expectations& expect,
                    presets::Preset& preset, std::string& error);

// Loads a bank into the effect; a bank that names its current program
// selects it. False with "PATH: reason" when the effect refuses the chunk.
bool applyBank(vsthost::PluginInstance& instance, const presets::Preset& preset,
               const std::string& path, std::string& error);

// Loads a program into the effect's current program.
bool applyProgram(vsthost::PluginInstance& instance, const presets::Preset& preset,
                  const std::string& path, std::string& error);

// Writes the current program (.fxp) or the bank (.fxb) to path.
bool savePresetFile(vsthost::PluginInstance& instance, const std::string& path,
                    std::string& error);

}  // namespace junkyard::render
