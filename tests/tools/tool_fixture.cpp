#include "tool_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "tool_run_support.h"

namespace junkyard::tooltest {

RunResult runRender(const std::vector<std::string>& args) { return runTool(JUNKYARD_RENDER_PATH, args); }

Sound makeNoise(int format, int sampleRate, int channels, long long frames, unsigned seed) {
  Sound sound;
  sound.info.format = format;
  sound.info.samplerate = sampleRate;
  sound.info.channels = channels;
  sound.info.frames = frames;
  sound.samples.resize(static_cast<std::size_t>(frames * channels));
  unsigned state = seed * 2654435761u + 12345u;
  for (float& s : sound.samples) {
    state = state * 1664525u + 1013904223u;
    // Multiples of 2^-15 in [-0.5, 0.5): exact in every subtype used here.
    s = static_cast<float>(static_cast<int>(state >> 17) - 16384) / 32768.0f;
  }
  return sound;
}

void writeSound(const std::filesystem::path& path, const Sound& sound) {
  SF_INFO info = sound.info;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) throw std::runtime_error("cannot write " + path.string() + ": " + sf_strerror(nullptr));
  // Scales integer formats by a power of two, so the samples come back exactly.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  sf_writef_float(file, sound.samples.data(), sound.info.frames);
  sf_close(file);
}

Sound readSound(const std::filesystem::path& path) {
  Sound sound;
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
  if (!file) throw std::runtime_error("cannot read " + path.string() + ": " + sf_strerror(nullptr));
  sound.samples.resize(static_cast<std::size_t>(sound.info.frames * sound.info.channels));
  sf_readf_float(file, sound.samples.data(), sound.info.frames);
  sf_close(file);
  return sound;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "junkyard-tools-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

int countLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  if (!text.empty() && text.back() != '\n') ++lines;
  return lines;
}

}  // namespace junkyard::tooltest
