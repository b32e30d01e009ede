// The things the tool can be asked to do; each returns the exit status.
#pragma once

#include "tools/render/cli.h"
#include "tools/vsthost/plugin_library.h"

namespace junkyard::render {

// Lists parameters and/or programs, saves a preset if asked; renders nothing.
int listOnly(const vsthost::PluginLibrary& library, const Options& options);
int renderFile(const vsthost::PluginLibrary& library, const Options& options);
int renderDemo(const vsthost::PluginLibrary& library, const Options& options);

}  // namespace junkyard::render
