// Start-up: the usage line, the exit status, and the refusal to sweep without a console.
#include <gtest/gtest.h>

#include "support/run.h"
#include "support/tree.h"

namespace {

using test::Streams;

const std::string kUsage = "usage: Vantrim mainfolder wanted_dir\n";
const std::string kFailure = "Fatal Error: MFC initialization failed\n";

TEST(Startup, NoArgumentAtAllGivesTheUsageLineAndStatusTwo) {
  test::Outcome outcome = test::RunVantrim({});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(outcome.out, kUsage);
  EXPECT_EQ(outcome.err, "");
}

struct ClosedCase {
  const char* name;
  Streams streams;
  bool failure_on_output;  // where the failure line can still be written
};

void PrintTo(const ClosedCase& c, std::ostream* os) {
  *os << c.name;
}

class ClosedConsole : public testing::TestWithParam<ClosedCase> {};

TEST_P(ClosedConsole, RemovesNothingAndFailsWithStatusOne) {
  if (test::OnWindows()) GTEST_SKIP() << "POSIX only: closing a console stream under Wine";
  test::TempFolder work;
  test::MakeTree(work.path(), {"src/obj/f"});

  test::Outcome outcome = test::RunVantrim({work.str(), "obj"}, GetParam().streams);

  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(GetParam().failure_on_output ? outcome.out : outcome.err, kFailure);
  EXPECT_EQ(test::ListTree(work.path()),
            (std::vector<std::string>{"src/", "src/obj/", "src/obj/f"}));
}

INSTANTIATE_TEST_SUITE_P(Streams, ClosedConsole,
                         testing::Values(ClosedCase{"OutputClosed", Streams::kOutputClosed, false},
                                         ClosedCase{"ErrorClosed", Streams::kErrorClosed, true}),
                         [](const testing::TestParamInfo<ClosedCase>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
