#include "tools/render/cli.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "tools/render/preset_io.h"

namespace junkyard::render {
namespace {

constexpr int kMaxBlockSize = 65536;
constexpr double kMaxTailSeconds = 3600.0;

bool parseInt(std::string_view text, int& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool parseNumber(const std::string& text, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(out);
}

bool parseParam(const std::string& text, ParamAssignment& out, std::string& error) {
  std::size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == text.size()) {
    error = "--param expects NAME=VALUE, got '" + text + "'";
    return false;
  }
  double value = 0.0;
  if (!parseNumber(text.substr(eq + 1), value) || value < 0.0 || value > 1.0) {
    error = "--param " + text + ": VALUE must be a number from 0 to 1";
    return false;
  }
  out.name = text.substr(0, eq);
  out.value = static_cast<float>(value);
  return true;
}

}  // namespace

bool parseCommandLine(int argc, const char* const* argv, Options& options, std::string& error) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      options.help = true;
      continue;
    }
    if (arg == "--list-params") {
      options.listParams = true;
      continue;
    }
    if (arg == "--list-programs") {
      options.listPrograms = true;
      continue;
    }
    if (arg == "--all-programs") {
      options.allPrograms = true;
      continue;
    }
    // Every other option takes a value, as "--opt VALUE" or "--opt=VALUE".
    std::string name = arg;
    std::string value;
    std::size_t eq = arg.find('=');
    if (eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    static const char* const kValued[] = {"--plugin",  "--block",       "--param",
                                          "--power",   "--tail",        "--demo-out",
                                          "--program", "--load-preset", "--save-preset"};
    bool known = false;
    for (const char* k : kValued) known = known || name == k;
    if (!known) {
      error = "unknown option '" + name + "'";
      return false;
    }
    if (eq == std::string::npos) {
      if (i + 1 >= argc) {
        error = name + " needs a value";
        return false;
      }
      value = argv[++i];
    }

    if (name == "--plugin") {
      options.pluginPath = value;
    } else if (name == "--block") {
      if (!parseInt(value, options.blockSize) || options.blockSize < 1 ||
          options.blockSize > kMaxBlockSize) {
        error = "--block expects a whole number of frames from 1 to " +
                std::to_string(kMaxBlockSize) + ", got '" + value + "'";
        return false;
      }
    } else if (name == "--param") {
      ParamAssignment assignment;
      if (!parseParam(value, assignment, error)) return false;
      options.params.push_back(assignment);
    } else if (name == "--power") {
      std::string lower = value;
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (lower == "on") {
        options.power = true;
      } else if (lower == "off") {
        options.power = false;
      } else {
        error = "--power expects 'on' or 'off', got '" + value + "'";
        return false;
      }
    } else if (name == "--tail") {
      if (!parseNumber(value, options.tailSeconds) || options.tailSeconds < 0.0 ||
          options.tailSeconds > kMaxTailSeconds) {
        error = "--tail expects seconds from 0 to 3600, got '" + value + "'";
        return false;
      }
    } else if (name == "--demo-out") {
      if (value.empty()) {
        error = "--demo-out needs a file name";
        return false;
      }
      options.demoOut = value;
    } else if (name == "--program") {
      if (value.empty()) {
        error = "--program needs a program number or name";
        return false;
      }
      options.program = value;
    } else if (name == "--load-preset") {
      if (value.empty()) {
        error = "--load-preset needs a file name";
        return false;
      }
      options.loadPreset = value;
    } else if (name == "--save-preset") {
      // Checked before anything renders, so a typo costs no rendering time.
      if (!presetKindForPath(value)) {
        error = value + ": unknown preset extension (use .fxp for a program, .fxb for the bank)";
        return false;
      }
      options.savePreset = value;
    }
  }

  if (options.allPrograms && options.program) {
    error = "--program and --all-programs cannot be combined";
    return false;
  }
  if (options.allPrograms && options.savePreset) {
    error = "--save-preset and --all-programs cannot be combined";
    return false;
  }

  if (positional.size() == 2) {
    options.input = positional[0];
    options.output = positional[1];
  } else if (!positional.empty()) {
    error = positional.size() == 1 ? "missing OUTPUT after INPUT '" + positional[0] + "'"
                                   : "too many file names (expected INPUT OUTPUT)";
    return false;
  }
  return true;
}

std::string usageText() {
  return
      "Usage: junkyard-render [options] [INPUT OUTPUT]\n"
      "Renders INPUT (WAV, FLAC, AIFF, ...) through Junkyard Reverb into OUTPUT, in the\n"
      "same format. Mono input feeds both plug-in inputs; the output is always stereo.\n"
      "Without INPUT and OUTPUT it renders a built-in demo and writes the processed\n"
      "and the dry version.\n"
      "\n"
      "Options:\n"
      "  --plugin PATH        plug-in module to load (default: the one in this build)\n"
      "  --block N            frames per processing call (default 512)\n"
      "  --param NAME=VALUE   set a parameter to host value VALUE (0..1); NAME is the\n"
      "                       short name, the long name or the index, in any case:\n"
      "                       \"Mic Lvl\"/\"Mic Level\", Delay, Repeat, Depth,\n"
      "                       Input/\"Input Selector\", Power/\"Power Switch\"\n"
      "  --power on|off       switch the unit on or off (off passes audio unchanged)\n"
      "  --tail SECONDS       silence rendered after the input so echoes ring out\n"
      "                       (default 1.0)\n"
      "  --list-params        print each parameter's index, name, value and display\n"
      "  --program N|NAME     select a program (0..4, or its name in any case) before\n"
      "                       --param and --power are applied\n"
      "  --list-programs      print each program's index, name and parameter displays,\n"
      "                       then exit without rendering\n"
      "  --load-preset FILE   load a .fxp program (into the current program), a .fxb\n"
      "                       bank, or a raw chunk (56 bytes program, 280 bytes bank)\n"
      "  --save-preset FILE   after rendering, save the current program (FILE.fxp) or\n"
      "                       the whole bank (FILE.fxb)\n"
      "  --all-programs       demo mode: render the demo once per program, as\n"
      "                       <demo-out>-<program name>.wav\n"
      "  --demo-out FILE      where demo mode writes (default demo/junkyard-demo.wav;\n"
      "                       the dry signal goes beside it as ...-dry.wav)\n"
      "  -h, --help           show this help\n";
}

}  // namespace junkyard::render
