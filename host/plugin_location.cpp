// Locates our own module through the dynamic loader: the address of a
// function in this library names the file it was loaded from.
#include "host/plugin_location.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

// The directory is written once and never changed, so a pointer handed out
// earlier stays valid and readable from any thread.
char gPluginDirectory[PATH_MAX];
std::atomic<bool> gPluginDirectoryKnown{false};
int gPluginDirectoryRefs = 0;
std::mutex gPluginLocationLock;

void locationAnchor() {}

// Path of the file our code was loaded from; the main program may be
// reported without a usable name, in which case the kernel knows it.
bool locateOwnFile(char* resolved) {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&locationAnchor), &info) == 0) return false;
  if (info.dli_fname && info.dli_fname[0] && realpath(info.dli_fname, resolved)) return true;
  ssize_t length = readlink("/proc/self/exe", resolved, PATH_MAX - 1);
  if (length <= 0) return false;
  resolved[length] = 0;
  return true;
}

}  // namespace

void InitMachOLibrary() {
  std::lock_guard<std::mutex> guard(gPluginLocationLock);
  ++gPluginDirectoryRefs;
  // A loaded module does not move: once found, the answer stands.
  if (gPluginDirectoryKnown.load(std::memory_order_relaxed)) return;
  char file[PATH_MAX];
  if (!locateOwnFile(file)) return;
  char* slash = std::strrchr(file, '/');
  if (!slash) return;
  if (slash == file)
    slash[1] = 0;  // the module sits in the root directory
  else
    *slash = 0;
  std::strcpy(gPluginDirectory, file);
  gPluginDirectoryKnown.store(true, std::memory_order_release);
}

void ExitMachOLibrary() {
  std::lock_guard<std::mutex> guard(gPluginLocationLock);
  if (gPluginDirectoryRefs > 0) --gPluginDirectoryRefs;
}

const char* junkyardPluginDirectory() {
  return gPluginDirectoryKnown.load(std::memory_order_acquire) ? gPluginDirectory : nullptr;
}

int junkyardPluginDirectoryReferences() {
  std::lock_guard<std::mutex> guard(gPluginLocationLock);
  return gPluginDirectoryRefs;
}
