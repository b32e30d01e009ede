// Sound files through libsndfile, reduced to what rendering needs: read the
// first two channels block by block, write stereo blocks, and say in one line
// what went wrong.
#pragma once

#include <sndfile.h>

#include <memory>
#include <string>
#include <vector>

namespace junkyard::render {

struct SndFileCloser {
  void operator()(SNDFILE* file) const;
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

class InputFile {
 public:
  // False with a reason when the file cannot be opened as audio.
  bool open(const std::string& path, std::string& error);

  int sampleRate() const { return info_.samplerate; }
  int channels() const { return info_.channels; }
  int format() const { return info_.format; }
  long long frames() const { return static_cast<long long>(info_.frames); }

  // Up to `frames` frames of the first two channels (mono goes to both);
  // 0 at the end. Sets error and returns 0 when reading fails.
  std::size_t read(float* left, float* right, std::size_t frames, std::string& error);

 private:
  SndFilePtr file_;
  SF_INFO info_{};
  std::vector<float> interleaved_;
};

class OutputFile {
 public:
  // Creates a stereo file in `format` (libsndfile major format | subtype).
  bool open(const std::string& path, int format, int sampleRate, std::string& error);
  bool write(const float* left, const float* right, std::size_t frames, std::string& error);
  // Flushes and closes; false when the data did not reach the file.
  bool close(std::string& error);

 private:
  SndFilePtr file_;
  std::vector<float> interleaved_;
};

// The dry companion of a demo file: "x/junkyard-demo.wav" -> "x/junkyard-demo-dry.wav".
std::string dryCompanionPath(const std::string& path);

}  // namespace junkyard::render
