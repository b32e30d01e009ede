// Finding our own module's directory through the loader.
#include <gtest/gtest.h>

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "host/plugin_location.h"

namespace {

// Here the "module" is the test program itself.
std::string ownExecutableDirectory() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return "";
  path[n] = 0;
  char resolved[PATH_MAX];
  if (!realpath(path, resolved)) return "";
  std::string file = resolved;
  return file.substr(0, file.rfind('/'));
}

TEST(PluginLocation, EditorsShareOneDirectoryThatOutlivesThem) {
  const int refsBefore = junkyardPluginDirectoryReferences();
  InitMachOLibrary();
  InitMachOLibrary();
  EXPECT_EQ(junkyardPluginDirectoryReferences(), refsBefore + 2);

  const char* dir = junkyardPluginDirectory();
  ASSERT_NE(dir, nullptr);
  struct stat info {};
  ASSERT_EQ(stat(dir, &info), 0) << dir;
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(std::string(dir), ownExecutableDirectory());

  ExitMachOLibrary();
  ExitMachOLibrary();
  EXPECT_EQ(junkyardPluginDirectoryReferences(), refsBefore);
  // Gone editors do not take the location with them.
  EXPECT_EQ(junkyardPluginDirectory(), dir);
  // An unbalanced exit cannot drive the count below zero.
  for (int i = 0; i <= refsBefore; ++i) ExitMachOLibrary();
  EXPECT_EQ(junkyardPluginDirectoryReferences(), 0);
}

}  // namespace
