#include "platform/platform.h"
#include "sweep/sweep.h"

namespace {

// Every separator becomes close-quote, separator, open-quote, so that each component of the path
// stands between quotes of its own. The inserted text is not scanned again.
std::string QuoteComponents(std::string text) {
  const std::string separator(1, platform::kSeparator);
  const std::string quoted = "\"" + separator + "\"";
  std::string result;
  for (char c : text) {
    if (c == platform::kSeparator) {
      result += quoted;
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace

std::string ComposeRemoveCommand(std::string folder, std::string name) {
  // The quote opened before the path is left open: the command ends with the last byte of the
  // name. Only the path is rewritten; the start of the command holds no separator on any
  // platform, but it is kept out of the rewrite all the same.
  return "rd /S /Q \"" + QuoteComponents(folder + platform::kSeparator + name);
}

void RunRemoveCommand(std::string folder, std::string name) {
  std::string path = folder + platform::kSeparator + name;
  if (path.find_first_of(platform::kUnsafeInCommand) != std::string::npos) {
    platform::WriteLine(platform::Console::kError,
                        "Vantrim: left in place, its path cannot be passed safely to the command "
                        "interpreter: " +
                            path);
    return;
  }
  platform::RunCommandLine(ComposeRemoveCommand(folder, name));
}
