#include "platform/platform.h"

namespace platform {

const char kSeparator = '/';

// The stand-in interpreter expands nothing; only a quote would change what a path reads as.
const char kUnsafeInCommand[] = "\"";

namespace {

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

int CompareNoCase(std::string a, std::string b) {
  std::string::size_type n = a.size() < b.size() ? a.size() : b.size();
  for (std::string::size_type i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(FoldAscii(a[i]));
    unsigned char y = static_cast<unsigned char>(FoldAscii(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace platform
