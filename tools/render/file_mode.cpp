// INPUT OUTPUT: one file through the effect into another of the same format.
#include <filesystem>

#include "tools/render/audio_file.h"
#include "tools/render/effect_setup.h"
#include "tools/render/modes.h"
#include "tools/render/param_lookup.h"
#include "tools/render/preset_io.h"
#include "tools/render/render_loop.h"
#include "tools/render/report.h"

namespace junkyard::render {
namespace {

// Below this much audio a progress line would only flicker.
constexpr double kProgressAfterSeconds = 10.0;

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec);
}

}  // namespace

int renderFile(const vsthost::PluginLibrary& library, const Options& options) {
  const std::string& inPath = *options.input;
  const std::string& outPath = *options.output;
  std::string error;

  InputFile input;
  if (!input.open(inPath, error)) return reportFailure(error);
  if (sameFile(inPath, outPath)) {
    return reportFailure(outPath + ": refusing to overwrite the input file");
  }
  if (input.channels() > 2) {
    std::fprintf(stderr, "junkyard-render: %s has %d channels; using the first two\n",
                 inPath.c_str(), input.channels());
  }

  vsthost::HostSettings settings;
  settings.sampleRate = static_cast<float>(input.sampleRate());
  settings.blockSize = options.blockSize;
  vsthost::PluginInstance effect(library, settings);
  if (!effect.valid()) return reportFailure(library.path() + ": the plug-in made no instance");
  if (!setUpEffect(effect, options, settings.sampleRate, error)) return reportFailure(error);
  if (options.listParams) listParameters(effect, stdout);

  OutputFile output;
  if (!output.open(outPath, input.format(), input.sampleRate(), error)) {
    return reportFailure(error);
  }

  RenderJob job;
  job.blockSize = options.blockSize;
  job.tailFrames = static_cast<std::size_t>(options.tailSeconds * input.sampleRate() + 0.5);
  job.inputFrames = input.frames() > 0 ? static_cast<std::size_t>(input.frames()) : 0;
  job.showProgress = input.frames() > kProgressAfterSeconds * input.sampleRate();

  RenderFailure failure = renderThrough(
      effect, job,
      [&](float* l, float* r, std::size_t n, std::string& e) { return input.read(l, r, n, e); },
      [&](const float* l, const float* r, std::size_t n, std::string& e) {
        return output.write(l, r, n, e);
      },
      error);
  if (failure == RenderFailure::None && !output.close(error)) failure = RenderFailure::Writing;
  if (failure != RenderFailure::None) {
    std::string closeError;
    output.close(closeError);
    std::error_code ec;
    std::filesystem::remove(outPath, ec);  // a cut-off render is worse than none
    return reportFailure((failure == RenderFailure::Reading ? inPath : outPath) + ": " + error);
  }
  effect.suspend();
  if (options.savePreset && !savePresetFile(effect, *options.savePreset, error)) {
    return reportFailure(error);
  }
  return 0;
}

}  // namespace junkyard::render
