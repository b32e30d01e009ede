#include "tool_fixture.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace junkyard::tooltest {
namespace {

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

RunResult runRender(const std::vector<std::string>& args) {
  // Output goes to files rather than pipes so a chatty child can never block.
  TempDir capture;
  const std::string outPath = (capture / "stdout").string();
  const std::string errPath = (capture / "stderr").string();

  std::vector<std::string> argvStrings{JUNKYARD_RENDER_PATH};
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : argvStrings) argv.push_back(s.data());
  argv.push_back(nullptr);

  pid_t pid = fork();
  if (pid == 0) {
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  RunResult result;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  return result;
}

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
