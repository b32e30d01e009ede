#include "tools/vsthost/plugin_library.h"

#include <dlfcn.h>

namespace junkyard::vsthost {

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
  // RTLD_NOW surfaces unresolved symbols here rather than mid-render;
  // RTLD_LOCAL keeps two modules (or two copies of one) from sharing symbols.
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = dlerror();
    error_ = why ? why : "cannot load module";
    return;
  }
  dlerror();
  void* symbol = dlsym(handle_, "VSTPluginMain");
  if (!symbol) {
    error_ = "module does not export VSTPluginMain";
    dlclose(handle_);
    handle_ = nullptr;
    return;
  }
  entry_ = reinterpret_cast<PluginEntryProc>(symbol);
}

PluginLibrary::~PluginLibrary() {
  if (handle_) dlclose(handle_);
}

}  // namespace junkyard::vsthost
