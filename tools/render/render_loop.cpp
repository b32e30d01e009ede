#include "tools/render/render_loop.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace junkyard::render {
namespace {

// A single stderr line rewritten in place, only when the percentage moves.
class ProgressLine {
 public:
  ProgressLine(std::size_t total, bool enabled) : total_(total), enabled_(enabled && total > 0) {}
  void update(std::size_t done) {
    if (!enabled_) return;
    int percent = static_cast<int>(std::min<std::size_t>(done, total_) * 100 / total_);
    if (percent == shown_) return;
    shown_ = percent;
    std::fprintf(stderr, "\rjunkyard-render: rendering %3d%%", percent);
    std::fflush(stderr);
  }
  void finish() {
    if (enabled_ && shown_ >= 0) std::fputc('\n', stderr);
  }

 private:
  std::size_t total_;
  bool enabled_;
  int shown_ = -1;
};

}  // namespace

RenderFailure renderThrough(vsthost::PluginInstance& instance, const RenderJob& job,
                            const BlockReader& read, const BlockWriter& write, std::string& error) {
  const std::size_t block = static_cast<std::size_t>(std::max(job.blockSize, 1));
  std::vector<float> inLeft(block), inRight(block), outLeft(block), outRight(block);
  float* inputs[2] = {inLeft.data(), inRight.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};

  ProgressLine progress(job.inputFrames + job.tailFrames, job.showProgress);
  std::size_t done = 0;
  bool inputDone = false;
  std::size_t tailLeft = job.tailFrames;
  RenderFailure failure = RenderFailure::None;

  while (failure == RenderFailure::None) {
    std::size_t frames = 0;
    if (!inputDone) {
      frames = read(inLeft.data(), inRight.data(), block, error);
      if (!error.empty()) {
        failure = RenderFailure::Reading;
        break;
      }
      inputDone = frames == 0;
    }
    if (inputDone) {
      if (tailLeft == 0) break;
      frames = std::min(block, tailLeft);
      tailLeft -= frames;
      std::fill_n(inLeft.begin(), frames, 0.0f);
      std::fill_n(inRight.begin(), frames, 0.0f);
    }
    instance.processReplacing(inputs, outputs, static_cast<VstInt32>(frames));
    if (!write(outLeft.data(), outRight.data(), frames, error)) failure = RenderFailure::Writing;
    done += frames;
    progress.update(done);
  }
  progress.finish();
  return failure;
}

}  // namespace junkyard::render
