// The stand-in interpreter: how it reads a command line, and how its rd removes a tree.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "platform/platform.h"
#include "support/run.h"
#include "support/tree.h"

namespace {

using test::ListTree;
using test::MakeTree;
using test::TempFolder;

std::string ExpandRoot(std::string text, const std::string& root) {
  for (std::string::size_type at; (at = text.find("{root}")) != std::string::npos;) {
    text.replace(at, 6, root);
  }
  return text;
}

std::string RunAndCaptureErrors(const std::string& command) {
  testing::internal::CaptureStderr();
  platform::RunCommandLine(command);
  return testing::internal::GetCapturedStderr();
}

struct CommandCase {
  const char* name;
  std::vector<std::string> tree;
  std::string command;  // "{root}" stands for the fixture's folder
  std::vector<std::string> left;
  std::string err_holds;  // empty: nothing may be written on standard error
};

void PrintTo(const CommandCase& c, std::ostream* os) {
  *os << c.name;
}

class Interpreter : public testing::TestWithParam<CommandCase> {};

TEST_P(Interpreter, CarriesOutTheCommandAsWritten) {
  const CommandCase& c = GetParam();
  TempFolder work;
  MakeTree(work.path(), c.tree);

  std::string err = RunAndCaptureErrors(ExpandRoot(c.command, work.str()));

  if (c.err_holds.empty()) {
    EXPECT_EQ(err, "");
  } else {
    EXPECT_NE(err.find(ExpandRoot(c.err_holds, work.str())), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
  }
  EXPECT_EQ(ListTree(work.path()), c.left);
}

const std::vector<std::string> kTree = {"obj/a/b/c", "obj/f", "obj/.hidden", "keep/x"};

const CommandCase kCommandCases[] = {
    {"ComposedForm", kTree, R"(rd /S /Q ""{root}"/"obj)", {"keep/", "keep/x"}, ""},
    {"SwitchesInAnyCase", kTree, R"(RD /s /q "{root}/obj)", {"keep/", "keep/x"}, ""},
    {"ClosedQuotes", kTree, R"(rd /S /Q "{root}/obj")", {"keep/", "keep/x"}, ""},
    {"BlankInsideQuotes",
     {"My Proj/obj/f", "My"},
     R"(rd /S /Q "{root}"/"My Proj"/"obj)",
     {"My", "My Proj/"},
     ""},
    {"TrailingSeparator", kTree, R"(rd /S /Q "{root}/obj/")", {"keep/", "keep/x"}, ""},
    {"WithoutSubtreeOnlyAnEmptyOne",
     {"empty/", "full/f"},
     R"(rd "{root}/empty")",
     {"full/", "full/f"},
     ""},
    {"WithoutSubtreeKeepsContents",
     {"full/f"},
     R"(rd /Q "{root}/full")",
     {"full/", "full/f"},
     "{root}/full"},
    {"OtherCommandsRemoveNothing",
     kTree,
     R"(del /S /Q "{root}/obj)",
     {"keep/", "keep/x", "obj/", "obj/.hidden", "obj/a/", "obj/a/b/", "obj/a/b/c", "obj/f"},
     "not recognized"},
    {"UnknownSwitchRemovesNothing",
     {"obj/"},
     R"(rd /S /X "{root}/obj)",
     {"obj/"},
     "Invalid switch"},
    {"NoPath", {"obj/"}, R"(rd /S /Q)", {"obj/"}, "syntax"},
    {"MissingPath", {"keep/"}, R"(rd /S /Q "{root}/nothing)", {"keep/"}, "{root}/nothing"},
    {"DotDotIsRefused", {"obj/"}, R"(rd /S /Q "{root}/obj/..)", {"obj/"}, "{root}/obj/.."},
    {"FileIsNoDirectory", {"obj"}, R"(rd /S /Q "{root}/obj)", {"obj"}, "{root}/obj"},
    {"LinkIsNotFollowed",
     {"out/keep", "obj -> out"},
     R"(rd /S /Q "{root}/obj)",
     {"obj@", "out/", "out/keep"},
     "{root}/obj"},
    {"LinkInsideIsRemovedAsALink",
     {"out/keep", "obj/in -> ../out", "obj/sub/deeper -> ../../out"},
     R"(rd /S /Q "{root}/obj)",
     {"out/", "out/keep"},
     ""},
};

INSTANTIATE_TEST_SUITE_P(Command, Interpreter, testing::ValuesIn(kCommandCases),
                         [](const testing::TestParamInfo<CommandCase>& param) {
                           return std::string(param.param.name);
                         });

// Makes a chain of nested directories "d" below folder, descriptor by descriptor, since its
// full path would be too long for the system to take.
void MakeChain(const std::string& folder, int depth) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  for (int i = 0; i < depth; ++i) {
    ASSERT_EQ(mkdirat(fd, "d", 0755), 0);
    int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    ASSERT_GE(next, 0);
    fd = next;
  }
  int file = openat(fd, "bottom", O_WRONLY | O_CREAT, 0644);
  EXPECT_GE(file, 0);
  close(file);
  close(fd);
}

TEST(Removal, TreeDeeperThanThePathLimitGoesWhole) {
  TempFolder work;
  MakeTree(work.path(), {"obj/", "keep/"});
  const int depth = PATH_MAX;  // two bytes a level: twice the longest path the system takes
  MakeChain(work.str() + "/obj", depth);

  std::string err = RunAndCaptureErrors("rd /S /Q \"" + work.str() + "\"/\"obj");

  EXPECT_EQ(err, "");
  EXPECT_EQ(ListTree(work.path()), (std::vector<std::string>{"keep/"}));
}

TEST(Removal, DeepTreeNeedsNoMoreDescriptorsThanALowLimit) {
  TempFolder work;
  MakeTree(work.path(), {"obj/"});
  MakeChain(work.str() + "/obj", 500);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit low = saved;
  low.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);

  std::string err = RunAndCaptureErrors("rd /S /Q \"" + work.str() + "/obj");

  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(err, "");
  EXPECT_TRUE(ListTree(work.path()).empty());
}

// Every level of the walk holds a listing; a deep tree must not run out of descriptors before
// its matches are found.
TEST(Sweep, MatchBelowTheSoftDescriptorLimitIsFound) {
  TempFolder work;
  const int depth = 300;
  std::string chain;
  for (int i = 0; i < depth; ++i) chain += "d/";
  MakeTree(work.path(), {chain + "obj/f"});
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  if (saved.rlim_max < 2 * depth) GTEST_SKIP() << "hard descriptor limit too low";
  rlimit low = saved;
  low.rlim_cur = depth / 2;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);

  test::Outcome outcome = test::RunVantrim({work.str(), "obj"});

  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  EXPECT_FALSE(std::filesystem::exists(work.path() / (chain + "obj")));
  EXPECT_TRUE(std::filesystem::is_directory(work.path() / chain));
}

}  // namespace
