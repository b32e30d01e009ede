#include "tools/gallery/gallery_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace gallery {

namespace {

bool parseMilliseconds(const char* text, int& out) {
  if (!text || !*text) return false;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (errno || *end || value < 0 || value > 3600000) return false;
  out = static_cast<int>(value);
  return true;
}

}  // namespace

bool parseOptions(int argc, char** argv, Options& options, std::string& error) {
  bool afterGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--screenshot") {
      if (!next || !*next) {
        error = "--screenshot needs a file name";
        return false;
      }
      options.screenshotPath = next;
      ++i;
    } else if (arg == "--after") {
      if (!parseMilliseconds(next, options.screenshotAfterMs)) {
        error = "--after needs a number of milliseconds (0 to 3600000)";
        return false;
      }
      afterGiven = true;
      ++i;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (afterGiven && !options.screenshotPath && !options.help) {
    error = "--after goes with --screenshot";
    return false;
  }
  return true;
}

std::string usageText() {
  return "Usage: junkyard-gallery [--screenshot FILE.png [--after MS]] [--help]\n"
         "Shows every further control of the Junkyard toolkit and its own family on one\n"
         "panel. Each report of a control is printed as\n"
         "  <ClassName> tag <tag> value <value>\n"
         "  --screenshot FILE.png  save the window as a PNG after MS milliseconds and exit\n"
         "  --after MS             delay before the screenshot (default 500)\n"
         "  --help                 show this text\n";
}

}  // namespace gallery
