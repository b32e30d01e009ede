// Command line of junkyard-render, parsed into plain settings; nothing here
// touches the plug-in or the file system.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace junkyard::render {

struct ParamAssignment {
  std::string name;  // as typed: short name, long name or index
  float value;       // host value, 0..1
};

struct Options {
  std::optional<std::string> pluginPath;
  int blockSize = 512;
  double tailSeconds = 1.0;
  std::vector<ParamAssignment> params;  // applied in the order given
  std::optional<bool> power;            // --power on|off
  std::optional<std::string> program;   // --program: an index or a name, as typed
  std::optional<std::string> loadPreset;
  std::optional<std::string> savePreset;  // ends in .fxp or .fxb (checked here)
  bool listParams = false;
  bool listPrograms = false;
  bool allPrograms = false;             // demo mode: one file per program
  bool help = false;
  std::string demoOut = "demo/junkyard-demo.wav";
  std::optional<std::string> input;     // both set, or neither (demo mode)
  std::optional<std::string> output;
};

// Fills options from argv; on failure returns false with a one-line reason.
bool parseCommandLine(int argc, const char* const* argv, Options& options, std::string& error);

std::string usageText();

}  // namespace junkyard::render
