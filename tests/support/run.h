// Runs the built program as a user would, and collects what it did.
#pragma once

#include <string>
#include <vector>

namespace test {

struct Outcome {
  int status = -1;
  std::string out;  // standard output, with line ends as "\n"
  std::string err;  // standard error, likewise
};

enum class Streams { kBoth, kOutputClosed, kErrorClosed };

// Runs Vantrim with exactly these arguments (none means no argument at all). A launcher, such as
// setpriv with its options, runs it in its stead and is handed the program and its arguments.
Outcome RunVantrim(const std::vector<std::string>& args, Streams streams = Streams::kBoth,
                   const std::vector<std::string>& launcher = {});

// Whether this build runs on Windows (under Wine here); some behaviour differs there by design.
bool OnWindows();

}  // namespace test
