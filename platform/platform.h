// Our stand-in for what the program takes from the platform: the framework start, the console,
// listing a folder, comparing names and running one command line through the interpreter.
// Each platform has its own files behind this header (*_posix.cpp, *_win32.cpp); the build picks
// them, so nothing outside this folder depends on which platform it is built for.
#pragma once

#include <memory>
#include <string>

namespace platform {

// The separator between a folder and an entry's name in a path.
extern const char kSeparator;

// Characters that the command interpreter cannot be handed literally inside a quoted path: a
// path holding one of them would name another path once the interpreter has read it.
extern const char kUnsafeInCommand[];

enum class Console { kOutput, kError };

// Starts the framework. Fails when standard output or standard error cannot be written to, so
// that nothing is removed by a run that has no console to report to.
bool StartFramework();

bool ConsoleUsable(Console console);

// Writes text and a line end as one piece, then flushes the stream.
void WriteLine(Console console, std::string text);

// Compares two names ignoring case: the letters A to Z equal a to z. Zero when equal.
int CompareNoCase(std::string a, std::string b);

// Runs one command line through the command interpreter and returns when it has finished. The
// interpreter reports its own failures on the console; there is no result.
void RunCommandLine(std::string command);

// An enumeration of the entries of one folder, open until it is destroyed.
class FileFind {
 public:
  FileFind();
  ~FileFind();
  FileFind(const FileFind&) = delete;
  FileFind& operator=(const FileFind&) = delete;

  // Opens the enumeration for a pattern that ends in "*.*" after a separator; every entry of the
  // folder before it is listed, "." and ".." included. False when the folder has no entry or
  // cannot be listed.
  bool FindFile(std::string pattern);

  // Makes the next entry the current one. True while at least one more entry follows it.
  bool FindNextFile();

  std::string GetFileName() const;

  // True for a real directory. A link, or any other entry that stands for another place in the
  // file system, is not a directory here, whatever it points to.
  bool IsDirectory() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
