// The effect's programs as people name them on the command line.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "tools/vsthost/plugin_instance.h"

namespace junkyard::render {

int programCount(vsthost::PluginInstance& instance);

// The name the effect gives for program index (effGetProgramNameIndexed).
std::string programName(vsthost::PluginInstance& instance, int index);

// The program whose index number or name (ignoring case and surrounding
// blanks) is text.
std::optional<int> findProgram(vsthost::PluginInstance& instance, const std::string& text);

// One line per program: index, name and the display text of every parameter
// while it is selected. The program current before is current again after.
void listPrograms(vsthost::PluginInstance& instance, std::FILE* out);

// A file-name part for a program: lower case, blanks as hyphens, nothing a
// path could trip over; "program-N" for a name with nothing usable in it.
std::string programFileTag(const std::string& name, int index);

}  // namespace junkyard::render
