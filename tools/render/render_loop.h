// Feeding audio through the effect in host-sized blocks, the way a host's
// offline bounce does, followed by silence so the echoes can ring out.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "tools/vsthost/plugin_instance.h"

namespace junkyard::render {

// Fills up to `frames` frames of each channel; returns how many, 0 at the end.
// Sets error (and returns 0) on failure.
using BlockReader =
    std::function<std::size_t(float* left, float* right, std::size_t frames, std::string& error)>;
using BlockWriter = std::function<bool(const float* left, const float* right, std::size_t frames,
                                       std::string& error)>;

struct RenderJob {
  int blockSize = 512;
  std::size_t tailFrames = 0;
  // Frames the reader will deliver, for the progress line; 0 if unknown.
  std::size_t inputFrames = 0;
  bool showProgress = false;
};

enum class RenderFailure { None, Reading, Writing };

// Runs reader -> effect -> writer until the reader is done and the tail is
// written. On failure says which side failed, with its reason in error.
RenderFailure renderThrough(vsthost::PluginInstance& instance, const RenderJob& job,
                            const BlockReader& read, const BlockWriter& write, std::string& error);

}  // namespace junkyard::render
