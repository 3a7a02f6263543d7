#include "platform/platform.h"
#include "sweep/sweep.h"

void SweepFolder(std::string folder, std::string wanted_dir) {
  // The folder is used exactly as given: a trailing separator is kept, and an empty folder lists
  // the root.
  std::string pattern = folder + platform::kSeparator + "*.*";

  // The enumeration stays open while the walk goes on below the current entry.
  platform::FileFind find;
  if (!find.FindFile(pattern)) return;

  bool more = true;
  while (more) {
    more = find.FindNextFile();
    std::string name = find.GetFileName();

    // Passes over ".", ".." and every other name that begins with a dot.
    if (name.empty() || name[0] == '.') continue;
    if (!find.IsDirectory()) continue;

    if (platform::CompareNoCase(name, wanted_dir) != 0) {
      SweepFolder(folder + platform::kSeparator + name, wanted_dir);
    } else {
      // The match is named as listed: on a case-sensitive file system the name as typed may be
      // another directory, or none.
      RunRemoveCommand(folder, name);
    }
  }
}
