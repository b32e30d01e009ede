#include "tools/render/audio_file.h"

#include <filesystem>

namespace junkyard::render {
namespace {

// libsndfile's messages sometimes end in a full stop; ours are embedded in a
// longer line.
std::string reason(SNDFILE* file) {
  std::string text = sf_strerror(file);
  while (!text.empty() && (text.back() == '.' || text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

bool isPcm(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
      return false;
    default:
      return true;
  }
}

}  // namespace

void SndFileCloser::operator()(SNDFILE* file) const {
  if (file) sf_close(file);
}

bool InputFile::open(const std::string& path, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    error = path + ": no such file";
    return false;
  }
  if (std::filesystem::is_directory(path, ec)) {
    error = path + ": is a directory, not a sound file";
    return false;
  }
  info_ = SF_INFO{};
  file_.reset(sf_open(path.c_str(), SFM_READ, &info_));
  if (!file_) {
    error = path + ": " + reason(nullptr);
    return false;
  }
  if (info_.channels < 1 || info_.samplerate < 1) {
    error = path + ": no audio channels";
    file_.reset();
    return false;
  }
  return true;
}

std::size_t InputFile::read(float* left, float* right, std::size_t frames, std::string& error) {
  const std::size_t channels = static_cast<std::size_t>(info_.channels);
  interleaved_.resize(frames * channels);
  sf_count_t got = sf_readf_float(file_.get(), interleaved_.data(), static_cast<sf_count_t>(frames));
  if (got <= 0) {
    if (sf_error(file_.get()) != SF_ERR_NO_ERROR) error = "reading failed: " + reason(file_.get());
    return 0;
  }
  const std::size_t rightChannel = channels > 1 ? 1 : 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(got); ++i) {
    left[i] = interleaved_[i * channels];
    right[i] = interleaved_[i * channels + rightChannel];
  }
  return static_cast<std::size_t>(got);
}

bool OutputFile::open(const std::string& path, int format, int sampleRate, std::string& error) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = 2;
  info.format = format;
  if (!sf_format_check(&info)) {
    error = path + ": this file format cannot hold stereo audio at " +
            std::to_string(sampleRate) + " Hz";
    return false;
  }
  file_.reset(sf_open(path.c_str(), SFM_WRITE, &info));
  if (!file_) {
    error = path + ": " + reason(nullptr);
    return false;
  }
  // Echoes can push peaks past full scale; integer formats should clip them
  // rather than wrap around.
  if (isPcm(format)) sf_command(file_.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return true;
}

bool OutputFile::write(const float* left, const float* right, std::size_t frames,
                       std::string& error) {
  interleaved_.resize(frames * 2);
  for (std::size_t i = 0; i < frames; ++i) {
    interleaved_[2 * i] = left[i];
    interleaved_[2 * i + 1] = right[i];
  }
  sf_count_t written =
      sf_writef_float(file_.get(), interleaved_.data(), static_cast<sf_count_t>(frames));
  if (written != static_cast<sf_count_t>(frames)) {
    error = "writing failed: " + reason(file_.get());
    return false;
  }
  return true;
}

bool OutputFile::close(std::string& error) {
  if (!file_) return true;
  int status = sf_close(file_.release());
  if (status != 0) {
    error = "closing failed: " + std::string(sf_error_number(status));
    return false;
  }
  return true;
}

std::string dryCompanionPath(const std::string& path) {
  std::filesystem::path p(path);
  std::filesystem::path dry = p.parent_path() / (p.stem().string() + "-dry" + p.extension().string());
  return dry.string();
}

}  // namespace junkyard::render
