// The removal behind the stand-in interpreter's rd, shared by the POSIX files of this folder.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform {

// Removes the directory at path; with subtree, everything in it too. The last component of path
// is never followed as a link, and nothing below it ever is: the work goes through open directory
// descriptors, not path strings, so a tree that changes meanwhile cannot lead it outside. Another
// file system mounted inside is left in place. Whatever stays is reported on standard error, one
// line each, naming the path and the reason.
void RemoveDirectoryAt(std::string path, bool subtree);

// An unlink that takes this long waited on the device rather than on the processor: a quick
// unlink on a fast file system takes a few microseconds, one that waits for a discard here about
// a hundred.
constexpr std::chrono::nanoseconds kSlowUnlink = std::chrono::microseconds(40);

// Unlinks each named entry of the directory open as dir_fd, as what it is (a link is removed, not
// followed; a directory is not removed). While unlinks take slow or longer, helper threads take
// entries alongside the caller. Returns, for each name, 0 when it went, else the error.
std::vector<int> UnlinkEach(int dir_fd, const std::vector<std::string>& names,
                            std::chrono::nanoseconds slow = kSlowUnlink);

}  // namespace platform
