#include "tools/render/effect_setup.h"

#include <utility>
#include <vector>

#include "tools/render/param_lookup.h"
#include "tools/render/preset_io.h"
#include "tools/render/program_select.h"

namespace junkyard::render {
namespace {

bool selectProgram(vsthost::PluginInstance& instance, const Options& options,
                   std::optional<int> programIndex, std::string& error) {
  if (!programIndex && options.program) {
    programIndex = findProgram(instance, *options.program);
    if (!programIndex) {
      const int count = programCount(instance);
      error = "unknown program '" + *options.program + "' (a number from 0 to " +
              std::to_string(count > 0 ? count - 1 : 0) + " or a name, see --list-programs)";
      return false;
    }
  }
  if (programIndex) instance.dispatch(effSetProgram, 0, *programIndex);
  return true;
}

}  // namespace

bool setUpEffect(vsthost::PluginInstance& instance, const Options& options, float sampleRate,
                 std::string& error, std::optional<int> programIndex) {
  instance.open();
  instance.setSampleRate(sampleRate);
  instance.setBlockSize(options.blockSize);

  // Everything that can be refused is looked at before the effect changes.
  std::vector<std::pair<int, float>> params;
  for (const ParamAssignment& param : options.params) {
    std::optional<int> index = findParameter(instance, param.name);
    if (!index) {
      error = "unknown parameter '" + param.name + "' (see --list-params)";
      return false;
    }
    params.emplace_back(*index, param.value);
  }
  std::optional<presets::Preset> preset;
  if (options.loadPreset) {
    presets::Preset loaded;
    if (!readPresetFile(*options.loadPreset, expectationsOf(instance), loaded, error)) return false;
    preset = std::move(loaded);
  }

  // A bank brings its own program names, so --program is looked up in it.
  if (preset && preset->kind == presets::PresetKind::Bank &&
      !applyBank(instance, *preset, *options.loadPreset, error)) {
    return false;
  }
  if (!selectProgram(instance, options, programIndex, error)) return false;
  if (preset && preset->kind == presets::PresetKind::Program &&
      !applyProgram(instance, *preset, *options.loadPreset, error)) {
    return false;
  }
  for (const auto& [index, value] : params) instance.setParameter(index, value);
  if (options.power) instance.setParameter(kPowerSwitchIndex, *options.power ? 1.0f : 0.0f);
  instance.resume();
  return true;
}

}  // namespace junkyard::render
