#include "platform/platform.h"
#include "sweep/sweep.h"

int main(int argc, char** argv) {
  if (!platform::StartFramework()) {
    // Said wherever it can still be said.
    platform::Console console = platform::ConsoleUsable(platform::Console::kError)
                                    ? platform::Console::kError
                                    : platform::Console::kOutput;
    platform::WriteLine(console, "Fatal Error: MFC initialization failed");
    return 1;
  }

  platform::WriteLine(platform::Console::kOutput, "usage: Vantrim mainfolder wanted_dir");

  // Without even a folder there is nothing to sweep. An explicitly empty folder is another
  // matter: it names the root.
  if (argc < 2) return 2;

  std::string mainfolder = argv[1];
  std::string wanted_dir = argc > 2 ? argv[2] : "";
  SweepFolder(mainfolder, wanted_dir);
  return 0;
}
