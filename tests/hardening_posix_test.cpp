// Removal while the tree changes under it, and a sweep that meets what it may not touch.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

#include "platform/platform.h"
#include "support/run.h"
#include "support/tree.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using test::ListTree;
using test::MakeTree;
using test::TempFolder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Outside() {
  std::vector<std::string> entries = {"outside/"};
  for (int i = 0; i < 20; ++i) entries.push_back("outside/keep" + std::to_string(i));
  entries.push_back("outside/inner/");
  entries.push_back("outside/inner/keep");
  return entries;
}

// Another thread keeps swapping a directory inside the match for a link to a directory outside
// the tree; whatever the removal meets, it must never follow the link.
TEST(Hardening, LinkSwappedInDuringRemovalLeavesTheOutsideIntact) {
  TempFolder work;
  MakeTree(work.path(), Outside());
  const std::vector<std::string> outside_before = ListTree(work.path() / "outside");
  const std::string outside = (work.path() / "outside").string();
  const auto deadline = Clock::now() + std::chrono::seconds(3);
  int rounds = 0;
  while (Clock::now() < deadline) {
    std::vector<std::string> tree;
    for (int d = 0; d < 8; ++d) {
      for (int f = 0; f < 8; ++f) {
        tree.push_back("tree/obj/swap/d" + std::to_string(d) + "/f" + std::to_string(f));
      }
    }
    MakeTree(work.path(), tree);
    const std::string swap = (work.path() / "tree/obj/swap").string();
    std::atomic<bool> stop{false};
    std::thread racer([&] {
      while (!stop) {
        // The directory steps aside and a link to the outside takes its name, then back.
        if (rename(swap.c_str(), (swap + ".away").c_str()) == 0) {
          if (symlink(outside.c_str(), swap.c_str()) == 0) unlink(swap.c_str());
          rename((swap + ".away").c_str(), swap.c_str());
        }
        if (symlink(outside.c_str(), swap.c_str()) == 0) unlink(swap.c_str());
      }
    });
    testing::internal::CaptureStderr();
    platform::RunCommandLine("rd /S /Q \"" + (work.path() / "tree").string() + "\"/\"obj");
    testing::internal::GetCapturedStderr();
    stop = true;
    racer.join();
    ASSERT_EQ(ListTree(work.path() / "outside"), outside_before) << "round " << rounds;
    test::RemoveTree(work.path() / "tree");
    ++rounds;
  }
  EXPECT_GT(rounds, 0);
}

// A writer keeps adding files inside the match while it is removed.
TEST(Hardening, WriterInsideTheMatchGetsOneLineForEachLeftover) {
  TempFolder work;
  MakeTree(work.path(), Outside());
  std::vector<std::string> tree = {"tree/keep/k"};
  for (int d = 0; d < 20; ++d) {
    for (int f = 0; f < 20; ++f) {
      tree.push_back("tree/obj/d" + std::to_string(d) + "/f" + std::to_string(f));
    }
  }
  MakeTree(work.path(), tree);
  const std::vector<std::string> outside_before = ListTree(work.path() / "outside");
  const std::string hot = (work.path() / "tree/obj/d19").string();
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (long n = 0; !stop; ++n) {
      int fd = open((hot + "/new" + std::to_string(n)).c_str(), O_WRONLY | O_CREAT, 0644);
      if (fd >= 0) close(fd);
    }
  });

  test::Outcome outcome = test::RunVantrim({(work.path() / "tree").string(), "obj"});
  stop = true;
  writer.join();

  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "usage: Vantrim mainfolder wanted_dir\n");
  const std::string match = (work.path() / "tree/obj").string();
  for (const std::string& line : Lines(outcome.err)) {
    EXPECT_EQ(line.rfind("rd: " + match, 0), 0u) << line;
  }
  EXPECT_EQ(ListTree(work.path() / "outside"), outside_before);
  EXPECT_TRUE(fs::exists(work.path() / "tree/keep/k"));
}

// Run as an unprivileged user: a folder of the walk that cannot be listed and a folder in a match
// that cannot be emptied do not stop the rest of the sweep.
TEST(Hardening, WhatMayNotBeTouchedStaysAndTheRestIsSwept) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to hand the tree to another user";
  if (access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "no setpriv";
  TempFolder work;
  MakeTree(work.path(),
           {"locked/obj/f", "src/obj/f", "lib/obj/a/f", "lib/obj/b", "lib/obj/ro/f", "lib/keep"});
  for (const auto& entry : fs::recursive_directory_iterator(work.path())) {
    ASSERT_EQ(lchown(entry.path().c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(chown(work.path().c_str(), 65534, 65534), 0);
  // Owned by root and not writable by others: its file cannot be unlinked.
  ASSERT_EQ(chown((work.path() / "lib/obj/ro").c_str(), 0, 0), 0);
  // Cannot be listed by anyone but root.
  ASSERT_EQ(chown((work.path() / "locked").c_str(), 0, 0), 0);
  fs::permissions(work.path() / "locked", fs::perms::owner_all, fs::perm_options::replace);

  test::Outcome outcome =
      test::RunVantrim({work.str(), "obj"}, test::Streams::kBoth,
                       {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});

  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "usage: Vantrim mainfolder wanted_dir\n");
  EXPECT_EQ(Lines(outcome.err),
            (std::vector<std::string>{"rd: " + work.str() + "/lib/obj/ro/f: Permission denied"}));
  fs::permissions(work.path() / "locked", fs::perms::owner_all, fs::perm_options::replace);
  EXPECT_EQ(ListTree(work.path()),
            (std::vector<std::string>{"lib/", "lib/keep", "lib/obj/", "lib/obj/ro/", "lib/obj/ro/f",
                                      "locked/", "locked/obj/", "locked/obj/f", "src/"}));
}

}  // namespace
