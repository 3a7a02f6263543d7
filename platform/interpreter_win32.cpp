#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace platform {

void RunCommandLine(std::string command) {
  // The interpreter writes to the same console; what we wrote before goes out first.
  std::fflush(stdout);
  std::fflush(stderr);
  std::system(command.c_str());
}

}  // namespace platform
