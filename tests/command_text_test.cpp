// The command line handed to the interpreter for one match.
#include <gtest/gtest.h>

#include "support/run.h"
#include "sweep/sweep.h"

namespace {

struct CommandCase {
  std::string folder;
  std::string name;
  std::string command;
};

void ExpectCommands(const std::vector<CommandCase>& cases) {
  for (const CommandCase& c : cases) {
    EXPECT_EQ(ComposeRemoveCommand(c.folder, c.name), c.command)
        << "folder \"" << c.folder << "\", name \"" << c.name << "\"";
  }
}

TEST(RemoveCommand, QuotesEveryComponentOnWindows) {
  if (!test::OnWindows()) GTEST_SKIP() << "Windows only: backslash separators";
  ExpectCommands({
      {"C:\\Work\\src", "obj", R"(rd /S /Q "C:"\"Work"\"src"\"obj)"},
      {"C:\\Work\\My Proj", "obj", R"(rd /S /Q "C:"\"Work"\"My Proj"\"obj)"},
      {"C:\\", "obj", R"(rd /S /Q "C:"\""\"obj)"},
      {"", "obj", R"(rd /S /Q ""\"obj)"},
      {"C:\\Work\\src", "OBJ", R"(rd /S /Q "C:"\"Work"\"src"\"OBJ)"},
  });
}

TEST(RemoveCommand, QuotesEveryComponentOnPosix) {
  if (test::OnWindows()) GTEST_SKIP() << "POSIX only: slash separators";
  ExpectCommands({
      {"/home/me/src", "obj", R"(rd /S /Q ""/"home"/"me"/"src"/"obj)"},
      {"/home/me/My Proj", "obj", R"(rd /S /Q ""/"home"/"me"/"My Proj"/"obj)"},
      {"/tmp/", "obj", R"(rd /S /Q ""/"tmp"/""/"obj)"},
      {"", "obj", R"(rd /S /Q ""/"obj)"},
      {"src\\a", "OBJ", R"(rd /S /Q "src\a"/"OBJ)"},
  });
}

}  // namespace
