// No files given: render the built-in demo and write it with its dry twin.
#include <algorithm>
#include <filesystem>

#include "tools/render/audio_file.h"
#include "tools/render/demo_signal.h"
#include "tools/render/effect_setup.h"
#include "tools/render/modes.h"
#include "tools/render/param_lookup.h"
#include "tools/render/render_loop.h"
#include "tools/render/report.h"

namespace junkyard::render {
namespace {

// 16-bit WAV plays everywhere; the echoes rarely come near full scale.
constexpr int kDemoFormat = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

bool writeDry(const StereoSignal& demo, std::size_t tailFrames, const std::string& path,
              std::string& error) {
  OutputFile out;
  if (!out.open(path, kDemoFormat, demo.sampleRate, error)) return false;
  // Padded with the same tail as the processed file, so the two line up.
  std::vector<float> left = demo.left, right = demo.right;
  left.resize(left.size() + tailFrames, 0.0f);
  right.resize(right.size() + tailFrames, 0.0f);
  if (!out.write(left.data(), right.data(), left.size(), error)) {
    error = path + ": " + error;
    return false;
  }
  if (!out.close(error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace

int renderDemo(const vsthost::PluginLibrary& library, const Options& options) {
  const std::string wetPath = options.demoOut;
  const std::string dryPath = dryCompanionPath(wetPath);
  std::string error;

  const StereoSignal demo = synthesiseDemo();
  vsthost::HostSettings settings;
  settings.sampleRate = static_cast<float>(demo.sampleRate);
  settings.blockSize = options.blockSize;
  vsthost::PluginInstance effect(library, settings);
  if (!effect.valid()) return reportFailure(library.path() + ": the plug-in made no instance");
  if (!setUpEffect(effect, options, settings.sampleRate, error)) return reportFailure(error);
  if (options.listParams) listParameters(effect, stdout);

  std::filesystem::path folder = std::filesystem::path(wetPath).parent_path();
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) return reportFailure(folder.string() + ": " + ec.message());

  const std::size_t tailFrames =
      static_cast<std::size_t>(options.tailSeconds * demo.sampleRate + 0.5);
  OutputFile wet;
  if (!wet.open(wetPath, kDemoFormat, demo.sampleRate, error)) return reportFailure(error);

  std::size_t position = 0;
  RenderJob job;
  job.blockSize = options.blockSize;
  job.tailFrames = tailFrames;
  RenderFailure failure = renderThrough(
      effect, job,
      [&](float* l, float* r, std::size_t n, std::string&) {
        std::size_t count = std::min(n, demo.left.size() - position);
        std::copy_n(demo.left.begin() + position, count, l);
        std::copy_n(demo.right.begin() + position, count, r);
        position += count;
        return count;
      },
      [&](const float* l, const float* r, std::size_t n, std::string& e) {
        return wet.write(l, r, n, e);
      },
      error);
  if (failure != RenderFailure::None || !wet.close(error)) {
    return reportFailure(wetPath + ": " + error);
  }
  effect.suspend();

  if (!writeDry(demo, tailFrames, dryPath, error)) return reportFailure(error);
  std::printf("Demo written:\n  %s  (through Junkyard Reverb)\n  %s  (dry input)\n",
              wetPath.c_str(), dryPath.c_str());
  return 0;
}

}  // namespace junkyard::render
