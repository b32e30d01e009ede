// A plug-in module loaded the way a host loads it: dlopen, then the one
// exported entry point. Unloaded when the object goes away, so every
// instance made from it must be closed first.
#pragma once

#include <string>

#include "host/vst_abi.h"

namespace junkyard::vsthost {

using PluginEntryProc = AEffect* (*)(audioMasterCallback host);

class PluginLibrary {
 public:
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // True when the module loaded and exports VSTPluginMain.
  bool ok() const { return entry_ != nullptr; }
  // Why loading failed (empty when ok()).
  const std::string& error() const { return error_; }
  const std::string& path() const { return path_; }
  PluginEntryProc entry() const { return entry_; }

 private:
  std::string path_;
  std::string error_;
  void* handle_ = nullptr;
  PluginEntryProc entry_ = nullptr;
};

}  // namespace junkyard::vsthost
