#include "tools/editor_host/options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace junkyard::editorhost {

namespace {

// Whole decimal numbers only: "2x" or "" is a typing mistake, not 2 or 0.
bool parseInt(const std::string& text, long low, long high, int& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno || *end || value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

}  // namespace

std::string usageText() {
  return "usage: junkyard-editor [options]\n"
         "Opens the Junkyard Reverb editor in a window and prints the edits it reports:\n"
         "  automate <index> <value>   (value with six decimals)\n"
         "  begin-edit <index>\n"
         "  end-edit <index>\n"
         "options:\n"
         "  --plugin PATH        the plug-in module (default: the one built beside this tool)\n"
         "  --program N          select program N before opening the editor\n"
         "  --screenshot FILE    write the window's pixels to FILE (PNG) and quit\n"
         "  --after MS           milliseconds to run before the screenshot (default 500)\n"
         "  --help               this text\n";
}

bool parseOptions(int argc, char** argv, Options& options, std::string& error) {
  options.pluginPath = JUNKYARD_DEFAULT_PLUGIN_PATH;
  bool afterGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--plugin") {
      if (!value(options.pluginPath)) return false;
    } else if (arg == "--program") {
      int n = 0;
      if (!value(text)) return false;
      if (!parseInt(text, 0, INT_MAX, n)) {
        error = "--program needs a program number, not \"" + text + "\"";
        return false;
      }
      options.program = n;
    } else if (arg == "--screenshot") {
      if (!value(text)) return false;
      options.screenshotPath = text;
    } else if (arg == "--after") {
      if (!value(text)) return false;
      if (!parseInt(text, 0, 3600000, options.screenshotAfterMs)) {
        error = "--after needs milliseconds, not \"" + text + "\"";
        return false;
      }
      afterGiven = true;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (afterGiven && !options.screenshotPath) {
    error = "--after only goes with --screenshot";
    return false;
  }
  return true;
}

}  // namespace junkyard::editorhost
