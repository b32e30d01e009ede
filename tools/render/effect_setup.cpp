#include "tools/render/effect_setup.h"

#include "tools/render/param_lookup.h"

namespace junkyard::render {

bool setUpEffect(vsthost::PluginInstance& instance, const Options& options, float sampleRate,
                 std::string& error) {
  instance.open();
  instance.setSampleRate(sampleRate);
  instance.setBlockSize(options.blockSize);
  for (const ParamAssignment& param : options.params) {
    std::optional<int> index = findParameter(instance, param.name);
    if (!index) {
      error = "unknown parameter '" + param.name + "' (see --list-params)";
      return false;
    }
    instance.setParameter(*index, param.value);
  }
  if (options.power) instance.setParameter(kPowerSwitchIndex, *options.power ? 1.0f : 0.0f);
  instance.resume();
  return true;
}

}  // namespace junkyard::render
