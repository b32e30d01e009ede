// Bringing a fresh instance to the state the command line asks for.
#pragma once

#include <optional>
#include <string>

#include "tools/render/cli.h"
#include "tools/vsthost/plugin_instance.h"

namespace junkyard::render {

// Opens the effect, gives it the rate and block size, then in this order:
// loads a --load-preset bank, selects the program (programIndex when given,
// else --program), loads a --load-preset program into it, applies --param and
// --power, and resumes the effect. False with a one-line reason when a name
// is unknown or the preset file is unusable; a preset file is read and checked
// completely before anything is changed.
bool setUpEffect(vsthost::PluginInstance& instance, const Options& options, float sampleRate,
                 std::string& error, std::optional<int> programIndex = std::nullopt);

}  // namespace junkyard::render
