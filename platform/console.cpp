#include <cstdio>

#include "platform/platform.h"

namespace platform {

void WriteLine(Console console, std::string text) {
  std::FILE* stream = console == Console::kOutput ? stdout : stderr;
  text += '\n';
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace platform
