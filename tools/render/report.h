// Every failure of the tool ends in one line on stderr and exit status 1.
#pragma once

#include <cstdio>
#include <string>

namespace junkyard::render {

inline int reportFailure(const std::string& message) {
  std::fprintf(stderr, "junkyard-render: %s\n", message.c_str());
  return 1;
}

}  // namespace junkyard::render
