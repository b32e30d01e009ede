// Command line of junkyard-gallery.
#pragma once

#include <optional>
#include <string>

namespace gallery {

struct Options {
  bool help = false;
  std::optional<std::string> screenshotPath;
  int screenshotAfterMs = 500;
};

// False with `error` set for an unknown option or a bad value.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);
std::string usageText();

}  // namespace gallery
