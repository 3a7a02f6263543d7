#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/run.h"
#include "support/tree.h"

extern char** environ;

namespace test {

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

bool OnWindows() {
  return false;
}

bool MakeDirectoryLink(const std::filesystem::path& link, const std::string& target) {
  std::error_code error;
  std::filesystem::create_directory_symlink(target, link, error);
  return !error;
}

bool IsLink(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_symlink(std::filesystem::symlink_status(path, ignored));
}

void RemoveTree(const std::filesystem::path& root) {
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
}

Outcome RunVantrim(const std::vector<std::string>& args, Streams streams,
                   const std::vector<std::string>& launcher) {
  TempFolder capture;
  std::string out_path = capture.str() + "/out";
  std::string err_path = capture.str() + "/err";

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (streams == Streams::kOutputClosed) {
    posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_path.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }
  if (streams == Streams::kErrorClosed) {
    posix_spawn_file_actions_addclose(&actions, STDERR_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }

  std::vector<std::string> words = launcher;
  words.push_back(VANTRIM_EXE);
  words.insert(words.end(), args.begin(), args.end());
  std::string program = words.front();
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);

  pid_t pid = 0;
  int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);

  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  Outcome outcome;
  outcome.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  outcome.out = ReadAll(out_path);
  outcome.err = ReadAll(err_path);
  return outcome;
}

}  // namespace test
