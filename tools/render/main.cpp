// junkyard-render: a command-line host for Junkyard Reverb.
#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/render/cli.h"
#include "tools/render/effect_setup.h"
#include "tools/render/modes.h"
#include "tools/render/param_lookup.h"
#include "tools/render/preset_io.h"
#include "tools/render/program_select.h"
#include "tools/render/report.h"
#include "tools/vsthost/plugin_instance.h"
#include "tools/vsthost/plugin_library.h"

namespace junkyard::render {

// The build puts this tool in <build>/tools and the module in
// <build>/JunkyardReverb, so the default follows the executable, not the
// current directory.
std::string defaultPluginPath(const char* argv0) {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) self = std::filesystem::absolute(argv0, ec);
  return (self.parent_path().parent_path() / "JunkyardReverb" / "JunkyardReverb.so").string();
}

int listOnly(const vsthost::PluginLibrary& library, const Options& options) {
  vsthost::PluginInstance effect(library);
  if (!effect.valid()) return reportFailure(library.path() + ": the plug-in made no instance");
  std::string error;
  if (!setUpEffect(effect, options, effect.sampleRate(), error)) return reportFailure(error);
  if (options.listParams) listParameters(effect, stdout);
  if (options.listPrograms) listPrograms(effect, stdout);
  // Lets a preset be made from the command line without rendering anything.
  if (options.savePreset && !savePresetFile(effect, *options.savePreset, error)) {
    return reportFailure(error);
  }
  return 0;
}

}  // namespace junkyard::render

int main(int argc, char** argv) {
  using namespace junkyard::render;
  Options options;
  std::string error;
  if (!parseCommandLine(argc, argv, options, error)) return reportFailure(error);
  if (options.help) {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }

  const std::string pluginPath = options.pluginPath.value_or(defaultPluginPath(argv[0]));
  junkyard::vsthost::PluginLibrary library(pluginPath);
  if (!library.ok()) return reportFailure("cannot load plug-in " + pluginPath + ": " + library.error());

  // Listing the programs switches between them, so it never shares a run
  // with rendering.
  if (options.listPrograms) return listOnly(library, options);
  if (options.input) return renderFile(library, options);
  if (options.listParams) return listOnly(library, options);
  return renderDemo(library, options);
}
