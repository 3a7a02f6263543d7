#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/platform.h"

namespace platform {

namespace {

// Every level of the walk holds one open listing, so the soft limit on descriptors would end a
// deep walk early, silently. The hard limit is as far as the system lets a process go.
void RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace

bool ConsoleUsable(Console console) {
  int fd = console == Console::kOutput ? STDOUT_FILENO : STDERR_FILENO;
  int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return false;
  int mode = flags & O_ACCMODE;
  return mode == O_WRONLY || mode == O_RDWR;
}

bool StartFramework() {
  if (!ConsoleUsable(Console::kOutput) || !ConsoleUsable(Console::kError)) return false;
  RaiseDescriptorLimit();
  return true;
}

}  // namespace platform
