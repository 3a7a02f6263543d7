// The unlinks of one directory's entries, shared between the caller and helper threads.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "platform/remove_tree_posix.h"
#include "support/tree.h"

namespace {

using test::ListTree;
using test::MakeTree;
using test::TempFolder;

// Helpers join a batch once an unlink takes at least the given time: with zero they take part
// in every batch from its first entry, with the longest time never, whatever the file system.
const std::chrono::nanoseconds kSharing[] = {std::chrono::nanoseconds::zero(),
                                             std::chrono::nanoseconds::max()};

class OpenFolder {
 public:
  explicit OpenFolder(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_DIRECTORY)) {}
  ~OpenFolder() {
    if (fd_ >= 0) close(fd_);
  }
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

std::vector<std::string> NumberedFiles(const std::string& folder, int count) {
  std::vector<std::string> tree;
  for (int i = 0; i < count; ++i) tree.push_back(folder + "f" + std::to_string(i));
  return tree;
}

// Each result must belong to its own name, whichever thread removed it: a result given to the
// wrong entry would report the wrong path, or take a directory for removed.
TEST(UnlinkEach, GivesEachNameItsOwnResult) {
  for (std::chrono::nanoseconds slow : kSharing) {
    TempFolder work;
    MakeTree(work.path(), NumberedFiles("obj/", 300));
    MakeTree(work.path(), {"obj/sub/f", "outside/kept", "obj/link -> ../outside"});
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
      names.push_back("f" + std::to_string(i));
      if (i == 7) names.emplace_back("sub");
      if (i == 150) names.emplace_back("link");
      if (i == 299) names.emplace_back("gone");
    }
    OpenFolder obj(work.str() + "/obj");
    ASSERT_GE(obj.fd(), 0);

    std::vector<int> errors = platform::UnlinkEach(obj.fd(), names, slow);

    ASSERT_EQ(errors.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      int expected = names[i] == "sub" ? EISDIR : names[i] == "gone" ? ENOENT : 0;
      EXPECT_EQ(errors[i], expected) << names[i] << ", slow " << slow.count() << " ns";
    }
    EXPECT_EQ(ListTree(work.path()), (std::vector<std::string>{"obj/", "obj/sub/", "obj/sub/f",
                                                               "outside/", "outside/kept"}));
  }
}

// Batches follow one another quickly, of every size around the number of threads: each must be
// done whole before the call returns, and no thread may still hold a batch that has ended.
TEST(UnlinkEach, EveryBatchIsDoneWholeBeforeTheCallReturns) {
  TempFolder work;
  for (int round = 0; round < 3; ++round) {
    for (std::chrono::nanoseconds slow : kSharing) {
      for (int count : {0, 1, 2, 3, 7, 8, 9, 31, 32, 33, 200}) {
        std::string folder = "d" + std::to_string(round) + "_" + std::to_string(slow.count()) +
                             "_" + std::to_string(count) + "/";
        MakeTree(work.path(), {folder});
        MakeTree(work.path(), NumberedFiles(folder, count));
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) names.push_back("f" + std::to_string(i));
        OpenFolder dir(work.str() + "/" + folder);
        ASSERT_GE(dir.fd(), 0);

        std::vector<int> errors = platform::UnlinkEach(dir.fd(), names, slow);

        EXPECT_EQ(errors, std::vector<int>(names.size(), 0)) << folder;
        EXPECT_EQ(ListTree(work.path() / folder), std::vector<std::string>{}) << folder;
      }
    }
  }
}

}  // namespace
