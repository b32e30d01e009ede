// No files given: render the built-in demo and write it with its dry twin;
// with --all-programs, once through every program.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <vector>

#include "tools/render/audio_file.h"
#include "tools/render/demo_signal.h"
#include "tools/render/effect_setup.h"
#include "tools/render/modes.h"
#include "tools/render/param_lookup.h"
#include "tools/render/preset_io.h"
#include "tools/render/program_select.h"
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

// The demo through a fresh instance into path, so no echo of one program
// leaks into the next one's file.
bool renderDemoFile(const vsthost::PluginLibrary& library, const Options& options,
                    const StereoSignal& demo, std::size_t tailFrames, const std::string& path,
                    std::optional<int> program, std::string& error) {
  vsthost::HostSettings settings;
  settings.sampleRate = static_cast<float>(demo.sampleRate);
  settings.blockSize = options.blockSize;
  vsthost::PluginInstance effect(library, settings);
  if (!effect.valid()) {
    error = library.path() + ": the plug-in made no instance";
    return false;
  }
  if (!setUpEffect(effect, options, settings.sampleRate, error, program)) return false;
  if (options.listParams && !program) listParameters(effect, stdout);

  OutputFile wet;
  if (!wet.open(path, kDemoFormat, demo.sampleRate, error)) return false;
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
    error = path + ": " + error;
    return false;
  }
  effect.suspend();
  return !options.savePreset || savePresetFile(effect, *options.savePreset, error);
}

struct ProgramFile {
  int index;
  std::string name;
  std::string path;
};

// One file per program beside base: "demo/junkyard-demo.wav" becomes
// "demo/junkyard-demo-on-the-edge.wav" and so on. The names come from an
// instance set up like the ones that render, so a loaded bank names them.
bool planProgramFiles(const vsthost::PluginLibrary& library, const Options& options,
                      float sampleRate, const std::string& base, std::vector<ProgramFile>& files,
                      std::string& error) {
  vsthost::HostSettings settings;
  settings.sampleRate = sampleRate;
  settings.blockSize = options.blockSize;
  vsthost::PluginInstance probe(library, settings);
  if (!probe.valid()) {
    error = library.path() + ": the plug-in made no instance";
    return false;
  }
  if (!setUpEffect(probe, options, sampleRate, error)) return false;
  if (options.listParams) listParameters(probe, stdout);

  const std::filesystem::path basePath(base);
  std::set<std::string> used;
  for (int i = 0; i < programCount(probe); ++i) {
    const std::string name = programName(probe, i);
    std::string tag = programFileTag(name, i);
    // Two programs of the same name still get a file each.
    if (!used.insert(tag).second) {
      tag += "-" + std::to_string(i);
      used.insert(tag);
    }
    const std::string file = basePath.stem().string() + "-" + tag + basePath.extension().string();
    files.push_back({i, name, (basePath.parent_path() / file).string()});
  }
  if (files.empty()) {
    error = library.path() + ": the plug-in has no programs";
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
  const std::size_t tailFrames =
      static_cast<std::size_t>(options.tailSeconds * demo.sampleRate + 0.5);

  std::vector<ProgramFile> files;
  if (options.allPrograms) {
    if (!planProgramFiles(library, options, static_cast<float>(demo.sampleRate), wetPath, files,
                          error)) {
      return reportFailure(error);
    }
  }

  std::filesystem::path folder = std::filesystem::path(wetPath).parent_path();
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) return reportFailure(folder.string() + ": " + ec.message());

  if (!options.allPrograms) {
    if (!renderDemoFile(library, options, demo, tailFrames, wetPath, std::nullopt, error)) {
      return reportFailure(error);
    }
  }
  for (const ProgramFile& file : files) {
    if (!renderDemoFile(library, options, demo, tailFrames, file.path, file.index, error)) {
      return reportFailure(error);
    }
  }

  if (!writeDry(demo, tailFrames, dryPath, error)) return reportFailure(error);
  std::printf("Demo written:\n");
  if (!options.allPrograms) std::printf("  %s  (through Junkyard Reverb)\n", wetPath.c_str());
  for (const ProgramFile& file : files) {
    std::printf("  %s  (program %d, \"%s\")\n", file.path.c_str(), file.index, file.name.c_str());
  }
  std::printf("  %s  (dry input)\n", dryPath.c_str());
  return 0;
}

}  // namespace junkyard::render
