#include "platform/remove_tree_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace platform {

namespace {

// How many levels of one removal keep their directory open. Deeper down, the levels above are
// closed and found again through "..", checked against what they were, so that the depth of a
// tree is limited neither by descriptors nor by the length of its paths.
constexpr std::size_t kHeldLevels = 64;

constexpr int kOpenDirectory = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

void Report(const std::string& path, const std::string& reason) {
  WriteLine(Console::kError, "rd: " + path + ": " + reason);
}

std::string Reason(int error) {
  return std::strerror(error);
}

// One directory being emptied.
struct Level {
  int fd = -1;  // -1 while closed to spare descriptors
  std::string name;
  dev_t device = 0;
  ino_t inode = 0;
  std::vector<std::string> subdirectories;
  std::size_t next = 0;
  bool kept = false;  // something below it stayed, and has been reported
};

struct Listed {
  ino_t inode;
  std::string name;
};

class TreeRemoval {
 public:
  TreeRemoval(std::string path, dev_t device) : path_(std::move(path)), device_(device) {}
  TreeRemoval(const TreeRemoval&) = delete;
  TreeRemoval& operator=(const TreeRemoval&) = delete;
  ~TreeRemoval() {
    for (Level& level : levels_) {
      if (level.fd >= 0) close(level.fd);
    }
  }

  // Removes everything in the directory open as fd (whose name in parent_fd is name), then the
  // directory itself. Takes fd over. False when something stayed.
  bool Run(int parent_fd, std::string name, int fd, ino_t inode) {
    Push(fd, name, inode);
    while (!levels_.empty()) {
      Level& top = levels_.back();
      if (top.next < top.subdirectories.size()) {
        Descend(top.subdirectories[top.next++]);
        continue;
      }
      if (!Ascend(parent_fd)) return false;
    }
    return !kept_;
  }

 private:
  std::string PathOf(std::size_t depth, const std::string& name = std::string()) const {
    std::string path = path_;
    for (std::size_t i = 1; i <= depth && i < levels_.size(); ++i) path += "/" + levels_[i].name;
    if (!name.empty()) path += "/" + name;
    return path;
  }

  std::string TopPath(const std::string& name = std::string()) const {
    return PathOf(levels_.size() - 1, name);
  }

  void Push(int fd, std::string name, ino_t inode) {
    if (levels_.size() - first_open_ >= kHeldLevels) {
      close(levels_[first_open_].fd);
      levels_[first_open_].fd = -1;
      ++first_open_;
    }
    Level level;
    level.fd = fd;
    level.name = std::move(name);
    level.device = device_;
    level.inode = inode;
    levels_.push_back(std::move(level));
    Empty(levels_.back());
  }

  // Lists the directory whole, removes all that is no directory, and keeps the names of the
  // subdirectories for the walk down. Files go in inode order, which the file system serves
  // faster than listing order, several at a time (see UnlinkEach); the directory is empty of
  // them when this returns, so the walk down and the removal of the directory stay in order.
  void Empty(Level& level) {
    std::vector<Listed> others;
    int list_fd = openat(level.fd, ".", kOpenDirectory);
    DIR* dir = list_fd < 0 ? nullptr : fdopendir(list_fd);
    if (dir == nullptr) {
      if (list_fd >= 0) close(list_fd);
      Keep(level, TopPath(), Reason(errno));
      return;
    }
    while (dirent* entry = readdir(dir)) {
      const char* name = entry->d_name;
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
      unsigned char type = entry->d_type;
      if (type == DT_UNKNOWN) {
        struct stat info {};
        if (fstatat(level.fd, name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
          type = S_ISDIR(info.st_mode) ? DT_DIR : DT_REG;
        }
      }
      if (type == DT_DIR) {
        level.subdirectories.emplace_back(name);
      } else {
        others.push_back(Listed{entry->d_ino, name});
      }
    }
    closedir(dir);

    std::sort(others.begin(), others.end(),
              [](const Listed& a, const Listed& b) { return a.inode < b.inode; });
    std::vector<std::string> names;
    names.reserve(others.size());
    for (Listed& entry : others) names.push_back(std::move(entry.name));
    others.clear();
    others.shrink_to_fit();

    std::vector<int> errors = UnlinkEach(level.fd, names);
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (errors[i] == 0 || errors[i] == ENOENT) continue;
      if (errors[i] == EISDIR) {
        // It became a directory after it was listed.
        level.subdirectories.push_back(names[i]);
      } else {
        Keep(level, TopPath(names[i]), Reason(errors[i]));
      }
    }
  }

  void Descend(std::string name) {
    Level& top = levels_.back();
    int fd = openat(top.fd, name.c_str(), kOpenDirectory);
    if (fd < 0) {
      if (errno == ENOENT) return;
      if (errno == ELOOP || errno == ENOTDIR) {
        // Replaced by a link or a file since it was listed: removed as what it is now, and never
        // followed.
        if (unlinkat(top.fd, name.c_str(), 0) == 0 || errno == ENOENT) return;
      }
      Keep(top, TopPath(name), Reason(errno));
      return;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
      Keep(top, TopPath(name), Reason(errno));
      close(fd);
      return;
    }
    if (info.st_dev != device_) {
      Keep(top, TopPath(name), "another file system is mounted here; left in place");
      close(fd);
      return;
    }
    Push(fd, name, info.st_ino);
  }

  // The top level is empty, or holds only what was kept: removes it from the level above.
  bool Ascend(int parent_fd) {
    std::string path = TopPath();
    Level done = std::move(levels_.back());
    levels_.pop_back();
    int above_fd = parent_fd;
    if (!levels_.empty()) {
      above_fd = Reopen(levels_.back(), done.fd);
      if (above_fd < 0) {
        Report(PathOf(levels_.size() - 1), "the tree was moved while it was removed; stopped here");
        close(done.fd);
        kept_ = true;
        return false;
      }
    }
    close(done.fd);
    if (done.kept) {
      if (!levels_.empty()) levels_.back().kept = true;
      kept_ = true;
      return true;
    }
    if (unlinkat(above_fd, done.name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT) {
      if (levels_.empty()) {
        Report(path, Reason(errno));
        kept_ = true;
      } else {
        Keep(levels_.back(), path, Reason(errno));
      }
    }
    return true;
  }

  // The descriptor of a level, opened again through ".." of its child if it was closed. -1 when
  // ".." is no longer the directory it was.
  int Reopen(Level& level, int child_fd) {
    if (level.fd >= 0) return level.fd;
    int fd = openat(child_fd, "..", kOpenDirectory);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || info.st_dev != level.device ||
        info.st_ino != level.inode) {
      if (fd >= 0) close(fd);
      return -1;
    }
    level.fd = fd;
    --first_open_;
    return fd;
  }

  void Keep(Level& level, const std::string& path, const std::string& reason) {
    Report(path, reason);
    level.kept = true;
    kept_ = true;
  }

  std::string path_;
  dev_t device_;
  std::vector<Level> levels_;
  std::size_t first_open_ = 0;  // levels below this index are closed
  bool kept_ = false;
};

// Splits a path into the folder that holds its last component and that component, ignoring
// separators at the end.
void SplitLast(std::string path, std::string& folder, std::string& last) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) {
    folder = ".";
    last = path;
  } else {
    folder = slash == 0 ? "/" : path.substr(0, slash);
    last = path.substr(slash + 1);
  }
}

}  // namespace

void RemoveDirectoryAt(std::string path, bool subtree) {
  std::string folder;
  std::string last;
  SplitLast(path, folder, last);
  if (last.empty() || last == "." || last == ".." || path == "/") {
    Report(path, "refusing to remove this directory");
    return;
  }

  // The folder part is the path as the user gave it, links and all.
  int parent_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parent_fd < 0) {
    Report(path, Reason(errno));
    return;
  }
  int fd = openat(parent_fd, last.c_str(), kOpenDirectory);
  struct stat parent_info {};
  struct stat info {};
  if (fd < 0) {
    Report(path, errno == ELOOP ? "not a directory (a link)" : Reason(errno));
  } else if (fstat(parent_fd, &parent_info) != 0 || fstat(fd, &info) != 0) {
    Report(path, Reason(errno));
    close(fd);
  } else if (info.st_dev != parent_info.st_dev) {
    Report(path, "another file system is mounted here; left in place");
    close(fd);
  } else if (!subtree) {
    close(fd);
    if (unlinkat(parent_fd, last.c_str(), AT_REMOVEDIR) != 0) Report(path, Reason(errno));
  } else {
    TreeRemoval removal(path, info.st_dev);
    removal.Run(parent_fd, last, fd, info.st_ino);
  }
  close(parent_fd);
}

}  // namespace platform
