// The program end to end: real trees, the built program, what it leaves and what it says.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/run.h"
#include "support/tree.h"

namespace {

using test::ListTree;
using test::MakeTree;
using test::RunVantrim;
using test::TempFolder;

const std::string kUsage = "usage: Vantrim mainfolder wanted_dir\n";

// "{root}" stands for the fixture's folder and "{sep}" for the platform's separator.
std::string Expand(std::string text, const std::string& root) {
  const std::string sep(1, platform::kSeparator);
  for (std::string::size_type at; (at = text.find("{root}")) != std::string::npos;) {
    text.replace(at, 6, root);
  }
  for (std::string::size_type at; (at = text.find("{sep}")) != std::string::npos;) {
    text.replace(at, 5, sep);
  }
  return text;
}

TEST(Sweep, TypicalRunLeavesTheFileTheDotFolderAndTheNonMatches) {
  TempFolder work;
  MakeTree(work.path(), {"obj", ".cache/", "src/main/", "src/obj/Debug/app.o", "src/obj/x.pdb"});

  test::Outcome outcome = RunVantrim({work.str(), "obj"});

  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, kUsage);
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(ListTree(work.path()),
            (std::vector<std::string>{".cache/", "obj", "src/", "src/main/"}));
}

enum class Where { kBoth, kPosixOnly, kWindowsOnly };

struct SweepCase {
  const char* name;
  Where where;
  bool needs_links;
  std::vector<std::string> tree;
  std::vector<std::string> args;
  std::vector<std::string> left;
  std::string err_holds;  // empty: nothing may be written on standard error
};

void PrintTo(const SweepCase& c, std::ostream* os) {
  *os << c.name;
}

class SweepCases : public testing::TestWithParam<SweepCase> {};

TEST_P(SweepCases, LeavesExactlyWhatIsExpected) {
  const SweepCase& c = GetParam();
  if (c.where == Where::kPosixOnly && test::OnWindows()) GTEST_SKIP() << "POSIX only";
  if (c.where == Where::kWindowsOnly && !test::OnWindows()) GTEST_SKIP() << "Windows only";
  TempFolder work;
  if (c.needs_links && !test::CanMakeLinks(work.path())) GTEST_SKIP() << "no symbolic links here";
  MakeTree(work.path(), c.tree);
  std::vector<std::string> args;
  for (const std::string& arg : c.args) args.push_back(Expand(arg, work.str()));

  test::Outcome outcome = RunVantrim(args);

  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, kUsage);
  if (c.err_holds.empty()) {
    EXPECT_EQ(outcome.err, "");
  } else {
    EXPECT_NE(outcome.err.find(Expand(c.err_holds, work.str())), std::string::npos) << outcome.err;
  }
  EXPECT_EQ(ListTree(work.path()), c.left);
}

const SweepCase kSweepCases[] = {
    {"CaseIsIgnored",
     Where::kBoth,
     false,
     {"src/OBJ/x.o", "src/Obj/y.o"},
     {"{root}", "obj"},
     {"src/"},
     ""},
    {"FilesAreNeverTouched",
     Where::kBoth,
     false,
     {"obj", "src/OBJ.txt", "src/deep/obj"},
     {"{root}", "obj"},
     {"obj", "src/", "src/OBJ.txt", "src/deep/", "src/deep/obj"},
     ""},
    {"MatchesAtEveryDepthAndBranch",
     Where::kBoth,
     false,
     {"a/obj/x", "a/b/c/obj/y/", "d/OBJ/", "obj/obj/z", "e/"},
     {"{root}", "obj"},
     {"a/", "a/b/", "a/b/c/", "d/", "e/"},
     ""},
    {"DotNamesAreNotWalked",
     Where::kBoth,
     false,
     {".git/obj/", ".cache/x/obj/f", "src/.obj/"},
     {"{root}", "obj"},
     {".cache/", ".cache/x/", ".cache/x/obj/", ".cache/x/obj/f", ".git/", ".git/obj/", "src/",
      "src/.obj/"},
     ""},
    {"DotWantedRemovesNothing",
     Where::kBoth,
     false,
     {".obj/", "src/.obj/"},
     {"{root}", ".obj"},
     {".obj/", "src/", "src/.obj/"},
     ""},
    {"EmptyWantedMatchesNothing",
     Where::kBoth,
     false,
     {"src/obj/", "a/"},
     {"{root}", ""},
     {"a/", "src/", "src/obj/"},
     ""},
    {"MissingWantedMatchesNothing",
     Where::kBoth,
     false,
     {"src/obj/", "a/"},
     {"{root}"},
     {"a/", "src/", "src/obj/"},
     ""},
    {"WildcardsStandForThemselves",
     Where::kBoth,
     false,
     {"src/obj/", "src/ob/"},
     {"{root}", "o*"},
     {"src/", "src/ob/", "src/obj/"},
     ""},
    {"QuestionMarkStandsForItself",
     Where::kBoth,
     false,
     {"src/obj/"},
     {"{root}", "ob?"},
     {"src/", "src/obj/"},
     ""},
    {"WantedWithSeparatorMatchesNothing",
     Where::kBoth,
     false,
     {"src/obj/"},
     {"{root}", "src{sep}obj"},
     {"src/", "src/obj/"},
     ""},
    {"MainfolderItselfIsNeverRemoved",
     Where::kBoth,
     false,
     {"obj/obj/", "obj/x/"},
     {"{root}{sep}obj", "obj"},
     {"obj/", "obj/x/"},
     ""},
    {"TrailingSeparatorOnMainfolder",
     Where::kBoth,
     false,
     {"src/obj/f", "src/lib/obj/"},
     {"{root}{sep}", "obj"},
     {"src/", "src/lib/"},
     ""},
    {"ArgumentsAfterTheSecondChangeNothing",
     Where::kBoth,
     false,
     {"src/obj/", "src/bin/"},
     {"{root}", "obj", "bin", "x"},
     {"src/", "src/bin/"},
     ""},
    {"BlankInAComponent",
     Where::kBoth,
     false,
     {"My Proj/obj/f", "My Proj/keep"},
     {"{root}", "obj"},
     {"My Proj/", "My Proj/keep"},
     ""},
    {"MissingMainfolderSaysNothing",
     Where::kBoth,
     false,
     {"obj/"},
     {"{root}{sep}nowhere", "obj"},
     {"obj/"},
     ""},
    // A case-sensitive file system holds both; each is removed under its own name.
    {"CaseTwinsAreBothRemoved",
     Where::kPosixOnly,
     false,
     {"src/OBJ/a", "src/obj/b"},
     {"{root}", "obj"},
     {"src/"},
     ""},
    // Following a link would walk, and remove, outside the tree that was named.
    {"LinksAreNeitherWalkedNorRemoved",
     Where::kBoth,
     true,
     {"out/obj/keep", "work/src/obj -> ../../out", "work/link -> ../out"},
     {"{root}{sep}work", "obj"},
     {"out/", "out/obj/", "out/obj/keep", "work/", "work/link@", "work/src/", "work/src/obj@"},
     ""},
    // The interpreter's quoting cannot say a path with a quote in it.
    {"QuoteInPathIsLeftWithAMessage",
     Where::kPosixOnly,
     false,
     {"a\"b/obj/f", "c/obj/"},
     {"{root}", "obj"},
     {"a\"b/", "a\"b/obj/", "a\"b/obj/f", "c/"},
     "{root}/a\"b/obj"},
    {"PercentIsPlainOnPosix",
     Where::kPosixOnly,
     false,
     {"a%HOME%b/obj/f"},
     {"{root}", "obj"},
     {"a%HOME%b/"},
     ""},
    // The Windows interpreter would expand %USERNAME% inside the quotes and remove another path.
    {"PercentInPathIsLeftWithAMessage",
     Where::kWindowsOnly,
     false,
     {"a%USERNAME%b/obj/f", "c/obj/"},
     {"{root}", "obj"},
     {"a%USERNAME%b/", "a%USERNAME%b/obj/", "a%USERNAME%b/obj/f", "c/"},
     "{root}\\a%USERNAME%b\\obj"},
};

INSTANTIATE_TEST_SUITE_P(Tree, SweepCases, testing::ValuesIn(kSweepCases),
                         [](const testing::TestParamInfo<SweepCase>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
