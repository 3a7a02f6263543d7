#include <windows.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/run.h"
#include "support/tree.h"

namespace test {

namespace {

// The build names the program by its path on the build machine; under Wine that machine's root
// is drive Z:.
std::string ProgramPath() {
  std::string path = VANTRIM_EXE;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Quotes one argument so that the runtime's start-up code splits it back exactly as it is.
std::string QuoteArgument(const std::string& arg) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    quoted.append(backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  quoted += '"';
  return quoted;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string result;
  for (char c : text.str()) {
    if (c != '\r') result += c;
  }
  return result;
}

HANDLE OpenForChild(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool OnWindows() {
  return true;
}

namespace {

// Wine starts the host's programs, and shows their work to its Windows programs; it hands them
// over without waiting for them to end, so the caller waits for what they were to do.
bool RunOnWineHost(const std::string& program, std::string line, const std::string& folder,
                   bool (*done)(const std::string&), const std::string& target) {
  std::string path = "Z:\\bin\\" + program;
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int attempt = 0; attempt < 500; ++attempt) {
    if (done(target)) return true;
    Sleep(10);
  }
  return false;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Gone(const std::string& path) {
  return !Exists(path);
}

}  // namespace

bool MakeDirectoryLink(const std::filesystem::path& link, const std::string& target) {
  std::error_code error;
  std::filesystem::create_directory_symlink(target, link, error);
  if (!error) return true;
  // Wine makes no Windows links of its own, but the host's ln does.
  return RunOnWineHost(
      "ln", "ln -s " + QuoteArgument(target) + " " + QuoteArgument(link.filename().string()),
      link.parent_path().string(), Exists, link.string());
}

bool IsLink(const std::filesystem::path& path) {
  // As the program's own listing sees it: the standard library takes Wine's view of a host's
  // link, which is a plain directory.
  WIN32_FIND_DATAA data{};
  HANDLE find = FindFirstFileA(path.string().c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void RemoveTree(const std::filesystem::path& root) {
  // Under Wine the host's links look like directories to the standard library, which then
  // cannot remove them; the host's rm knows them for what they are.
  if (RunOnWineHost("rm", "rm -rf " + QuoteArgument(root.filename().string()),
                    root.parent_path().string(), Gone, root.string())) {
    return;
  }
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
}

Outcome RunVantrim(const std::vector<std::string>& args, Streams streams,
                   const std::vector<std::string>& launcher) {
  if (streams != Streams::kBoth || !launcher.empty()) {
    throw std::runtime_error("closed streams and launchers are not run on Windows");
  }
  TempFolder capture;
  std::string out_path = capture.str() + "\\out";
  std::string err_path = capture.str() + "\\err";
  HANDLE in = OpenForChild("NUL", false);
  HANDLE out = OpenForChild(out_path, true);
  HANDLE err = OpenForChild(err_path, true);

  std::string program = ProgramPath();
  std::string line = QuoteArgument(program);
  for (const std::string& arg : args) line += " " + QuoteArgument(arg);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &process);
  CloseHandle(in);
  CloseHandle(out);
  CloseHandle(err);
  if (!started) throw std::runtime_error("cannot start " + program);

  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  Outcome outcome;
  outcome.status = static_cast<int>(code);
  outcome.out = ReadText(out_path);
  outcome.err = ReadText(err_path);
  return outcome;
}

}  // namespace test
