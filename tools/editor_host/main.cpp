// junkyard-editor: a minimal host for the Junkyard Reverb editor.
#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/editor_host/edit_report.h"
#include "tools/editor_host/main_loop.h"
#include "tools/editor_host/options.h"
#include "tools/toolwindow/tool_window.h"
#include "tools/toolwindow/window_png.h"
#include "tools/vsthost/plugin_instance.h"
#include "tools/vsthost/plugin_library.h"

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "junkyard-editor: %s\n", message.c_str());
  return 1;
}

void* windowHandle(Window window) { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }

}  // namespace

int main(int argc, char** argv) {
  using namespace junkyard;
  editorhost::Options options;
  std::string error;
  if (!editorhost::parseOptions(argc, argv, options, error))
    return fail(error + " (see --help)");
  if (options.help) {
    std::fputs(editorhost::usageText().c_str(), stdout);
    return 0;
  }

  vsthost::PluginLibrary library(options.pluginPath);
  if (!library.ok()) return fail("cannot load plug-in " + options.pluginPath + ": " + library.error());
  vsthost::HostSettings settings;
  settings.answer = [](const vsthost::HostCall& call) { return editorhost::reportEdit(call, stdout); };
  vsthost::PluginInstance effect(library, settings);
  if (!effect.valid()) return fail(options.pluginPath + ": the plug-in made no instance");
  effect.open();
  if (options.program) {
    if (*options.program >= effect.effect()->numPrograms)
      return fail("no program " + std::to_string(*options.program) + " (the plug-in has " +
                  std::to_string(effect.effect()->numPrograms) + ")");
    effect.dispatch(effSetProgram, 0, *options.program);
  }
  effect.resume();

  ERect* rect = nullptr;
  if (!(effect.effect()->flags & effFlagsHasEditor) || !effect.dispatch(effEditGetRect, 0, 0, &rect) ||
      !rect || rect->right <= rect->left || rect->bottom <= rect->top)
    return fail(options.pluginPath + " has no editor");

  toolwindow::ToolWindow window(rect->right - rect->left, rect->bottom - rect->top, "Junkyard Reverb",
                               {"junkyard-editor", "JunkyardEditor"});
  if (!window.ok()) return fail("cannot open the display (is DISPLAY set?)");
  effect.dispatch(effEditOpen, 0, 0, windowHandle(window.window()));

  std::optional<int> runFor;
  if (options.screenshotPath) runFor = options.screenshotAfterMs;
  editorhost::runEditor(effect, window, runFor);

  int result = 0;
  if (options.screenshotPath && !toolwindow::saveWindowPng(window, *options.screenshotPath, error))
    result = fail(error);
  effect.dispatch(effEditClose);
  effect.suspend();
  effect.close();
  return result;
}
