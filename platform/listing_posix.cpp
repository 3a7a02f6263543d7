#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/platform.h"

namespace platform {

namespace {

const std::string kAllEntries = "*.*";

bool IsRealDirectory(DIR* dir, const dirent* entry) {
  if (entry->d_type != DT_UNKNOWN) return entry->d_type == DT_DIR;
  // The listing did not say; ask without following a link.
  struct stat info {};
  if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
  return S_ISDIR(info.st_mode);
}

}  // namespace

// Reads one entry ahead, so that FindNextFile can tell whether another follows the one it makes
// current.
struct FileFind::State {
  DIR* dir = nullptr;
  std::string name;
  bool is_directory = false;
  std::string next_name;
  bool next_is_directory = false;
  bool has_next = false;

  void ReadAhead() {
    dirent* entry = readdir(dir);
    has_next = entry != nullptr;
    if (!has_next) return;
    next_name = entry->d_name;
    next_is_directory = IsRealDirectory(dir, entry);
  }
};

FileFind::FileFind() : state_(new State) {}

FileFind::~FileFind() {
  if (state_->dir != nullptr) closedir(state_->dir);
}

bool FileFind::FindFile(std::string pattern) {
  // The pattern is a folder, a separator and "*.*"; the folder with its separator is listed, so
  // that an empty folder lists the root.
  if (pattern.size() < kAllEntries.size() ||
      pattern.compare(pattern.size() - kAllEntries.size(), kAllEntries.size(), kAllEntries) != 0) {
    return false;
  }
  std::string folder = pattern.substr(0, pattern.size() - kAllEntries.size());
  if (folder.empty()) folder = ".";
  state_->dir = opendir(folder.c_str());
  if (state_->dir == nullptr) return false;
  state_->ReadAhead();
  return state_->has_next;
}

bool FileFind::FindNextFile() {
  state_->name = state_->next_name;
  state_->is_directory = state_->next_is_directory;
  state_->ReadAhead();
  return state_->has_next;
}

std::string FileFind::GetFileName() const {
  return state_->name;
}

bool FileFind::IsDirectory() const {
  return state_->is_directory;
}

}  // namespace platform
