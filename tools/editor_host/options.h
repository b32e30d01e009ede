// The command line of junkyard-editor.
#pragma once

#include <optional>
#include <string>

namespace junkyard::editorhost {

struct Options {
  std::string pluginPath;
  std::optional<int> program;
  std::optional<std::string> screenshotPath;
  int screenshotAfterMs = 500;
  bool help = false;
};

// False with a message in `error` for anything it does not understand.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);
std::string usageText();

}  // namespace junkyard::editorhost
