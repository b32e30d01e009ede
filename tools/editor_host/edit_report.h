// The edits the editor reports to its host, one line each on stdout.
#pragma once

#include <cstdio>
#include <optional>

#include "tools/vsthost/plugin_instance.h"

namespace junkyard::editorhost {

// Writes "automate <index> <value>" (value with six decimals), "begin-edit
// <index>" or "end-edit <index>" for those calls, flushed at once so that a
// reading process sees each edit as it happens; other calls are left to the
// default answers.
std::optional<VstIntPtr> reportEdit(const vsthost::HostCall& call, std::FILE* out);

}  // namespace junkyard::editorhost
