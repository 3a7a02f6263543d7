#include <windows.h>

#include "platform/platform.h"

// Arguments arrive as typed: the start-up code must not expand * or ? against the current folder.
extern "C" {
int _dowildcard = 0;
}

namespace platform {

bool ConsoleUsable(Console console) {
  HANDLE handle = GetStdHandle(console == Console::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return false;
  SetLastError(NO_ERROR);
  return GetFileType(handle) != FILE_TYPE_UNKNOWN || GetLastError() == NO_ERROR;
}

bool StartFramework() {
  // What the framework is started with: the program's own module and its full command line.
  if (GetModuleHandleA(nullptr) == nullptr || GetCommandLineA() == nullptr) return false;
  return ConsoleUsable(Console::kOutput) && ConsoleUsable(Console::kError);
}

}  // namespace platform
