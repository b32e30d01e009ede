// Helpers for driving junkyard-render as a subprocess on small generated
// sound files in a private temporary folder.
#pragma once

#include <sndfile.h>

#include <filesystem>
#include <string>
#include <vector>

namespace junkyard::tooltest {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the render tool with args; stdout and stderr captured whole.
RunResult runRender(const std::vector<std::string>& args);

struct Sound {
  SF_INFO info{};
  std::vector<float> samples;  // interleaved
  float at(long long frame, int channel) const {
    return samples[static_cast<std::size_t>(frame * info.channels + channel)];
  }
};

// Deterministic noise of the given size, peak below 0.5, different per channel.
Sound makeNoise(int format, int sampleRate, int channels, long long frames, unsigned seed = 1);
void writeSound(const std::filesystem::path& path, const Sound& sound);
Sound readSound(const std::filesystem::path& path);

// A fresh folder under the system temp directory, removed again afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

int countLines(const std::string& text);

}  // namespace junkyard::tooltest
