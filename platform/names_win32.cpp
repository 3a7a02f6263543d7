#include <mbstring.h>

#include "platform/platform.h"

namespace platform {

const char kSeparator = '\\';

// The interpreter expands %NAME% even between quotes, so a path with a percent sign may name
// another directory once it has been read; a quote cannot stand in a quoted component at all.
const char kUnsafeInCommand[] = "\"%";

int CompareNoCase(std::string a, std::string b) {
  // Compared as multibyte strings of the process's code page, as the file system lists them.
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                  reinterpret_cast<const unsigned char*>(b.c_str()));
}

}  // namespace platform
