// The three things the tool can be asked to do; each returns the exit status.
#pragma once

#include "tools/render/cli.h"
#include "tools/vsthost/plugin_library.h"

namespace junkyard::render {

int listOnly(const vsthost::PluginLibrary& library, const Options& options);
int renderFile(const vsthost::PluginLibrary& library, const Options& options);
int renderDemo(const vsthost::PluginLibrary& library, const Options& options);

}  // namespace junkyard::render
