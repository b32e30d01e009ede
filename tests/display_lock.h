// One process at a time moves the display's pointer, takes its focus or puts
// windows on it: every test that does takes this lock, so tests run in
// parallel do not click into each other's windows.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <string>

namespace xdisplaytest {

class DisplayLock {
 public:
  DisplayLock() {
    std::string path = "/tmp/junkyard-x11-test";
    for (const char* c = std::getenv("DISPLAY"); c && *c; ++c) path += std::isalnum(*c) ? *c : '_';
    fd = open(path.c_str(), O_CREAT | O_RDWR, 0666);
    if (fd >= 0) flock(fd, LOCK_EX);
  }
  ~DisplayLock() {
    if (fd >= 0) close(fd);
  }
  DisplayLock(const DisplayLock&) = delete;
  DisplayLock& operator=(const DisplayLock&) = delete;

 private:
  int fd = -1;
};

}  // namespace xdisplaytest
