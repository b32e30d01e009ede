// junkyard-gallery: every further control on one panel, in a window of its own.
#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/gallery/gallery_frame.h"
#include "tools/gallery/gallery_options.h"
#include "tools/gallery/gallery_panel.h"
#include "tools/gallery/gallery_loop.h"
#include "tools/toolwindow/tool_window.h"
#include "tools/toolwindow/window_png.h"

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "junkyard-gallery: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  gallery::Options options;
  std::string error;
  if (!gallery::parseOptions(argc, argv, options, error)) return fail(error + " (see --help)");
  if (options.help) {
    std::fputs(gallery::usageText().c_str(), stdout);
    return 0;
  }

  junkyard::toolwindow::ToolWindow window(gallery::kPanelWidth, gallery::kPanelHeight,
                                          "Junkyard Reverb \xE2\x80\x94 control gallery",
                                          {"junkyard-gallery", "JunkyardGallery"});
  if (!window.ok()) return fail("cannot open the display (is DISPLAY set?)");

  int result = 0;
  {
    gallery::Panel panel(stdout);
    auto* frame = new gallery::GalleryFrame(CRect(0, 0, gallery::kPanelWidth, gallery::kPanelHeight),
                             reinterpret_cast<void*>(static_cast<uintptr_t>(window.window())),
                             nullptr);
    if (!frame->isBound()) {
      frame->forget();
      return fail("cannot place the panel in the window");
    }
    panel.populate(*frame);

    std::optional<int> runFor;
    if (options.screenshotPath) runFor = options.screenshotAfterMs;
    gallery::runLoop(window, *frame, panel, runFor);

    if (options.screenshotPath &&
        !junkyard::toolwindow::saveWindowPng(window, *options.screenshotPath, error))
      result = fail(error);
    // The views go with the frame, before the panel lets go of the pictures.
    frame->forget();
  }
  return result;
}

// fontconfig keeps its configuration caches for the life of the process in a
// form the leak checker reports once the first text is drawn; they are not ours.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

// Keeps stderr for the gallery's own messages.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_options() {
  return "print_suppressions=0";
}
