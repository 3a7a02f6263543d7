// The platform layer's promises that the walk relies on.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/run.h"
#include "support/tree.h"

namespace {

struct Seen {
  std::string name;
  bool is_directory;
  bool more;
};

std::vector<Seen> ListAll(const std::string& folder) {
  std::vector<Seen> seen;
  platform::FileFind find;
  if (!find.FindFile(folder + platform::kSeparator + "*.*")) return seen;
  bool more = true;
  while (more) {
    more = find.FindNextFile();
    seen.push_back({find.GetFileName(), find.IsDirectory(), more});
  }
  return seen;
}

TEST(Listing, ListsEveryEntryWithLookAheadAndRealDirectoriesOnly) {
  test::TempFolder work;
  bool links = test::CanMakeLinks(work.path());
  test::MakeTree(work.path(), {"plain.txt", "no-dot/", "dir.with.dots/"});
  if (links) test::MakeTree(work.path(), {"link -> no-dot"});

  std::vector<Seen> seen = ListAll(work.str());

  ASSERT_FALSE(seen.empty());
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].more, i + 1 < seen.size()) << seen[i].name;
  }
  std::vector<std::string> directories;
  std::vector<std::string> others;
  for (const Seen& s : seen) (s.is_directory ? directories : others).push_back(s.name);
  std::sort(directories.begin(), directories.end());
  std::sort(others.begin(), others.end());
  EXPECT_EQ(directories, (std::vector<std::string>{".", "..", "dir.with.dots", "no-dot"}));
  std::vector<std::string> expected_others = {"plain.txt"};
  if (links) expected_others.insert(expected_others.begin(), "link");
  EXPECT_EQ(others, expected_others);
}

TEST(Listing, FolderThatCannotBeListedHasNoEntries) {
  test::TempFolder work;
  test::MakeTree(work.path(), {"file"});
  EXPECT_TRUE(ListAll(work.str() + platform::kSeparator + "missing").empty());
  EXPECT_TRUE(ListAll(work.str() + platform::kSeparator + "file").empty());
}

TEST(Listing, EmptyFolderListsTheRootOfTheCurrentDrive) {
  std::vector<std::string> listed;
  for (const Seen& s : ListAll("")) {
    if (s.name != "." && s.name != "..") listed.push_back(s.name);
  }
  std::vector<std::string> expected;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::current_path().root_path())) {
    expected.push_back(entry.path().filename().string());
  }
  std::sort(listed.begin(), listed.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(listed, expected);
}

TEST(Names, OnlyLettersFoldAndLengthsCount) {
  struct Case {
    std::string a, b;
    bool equal;
  } cases[] = {
      {"obj", "OBJ", true},   {"Obj", "oBj", true}, {"obj", "obk", false},
      {"obj", "obj ", false}, {"", "", true},       {"", "obj", false},
      {"[", "{", false},      {"@", "`", false},    {"node_modules", "NODE_MODULES", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::CompareNoCase(c.a, c.b) == 0, c.equal) << c.a << " vs " << c.b;
  }
}

}  // namespace
