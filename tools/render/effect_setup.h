// Bringing a fresh instance to the state the command line asks for.
#pragma once

#include <string>

#include "tools/render/cli.h"
#include "tools/vsthost/plugin_instance.h"

namespace junkyard::render {

// Opens the effect, gives it the rate and block size, applies --param and
// --power in that order, and resumes it. False (with a reason) when a
// parameter name is unknown.
bool setUpEffect(vsthost::PluginInstance& instance, const Options& options, float sampleRate,
                 std::string& error);

}  // namespace junkyard::render
