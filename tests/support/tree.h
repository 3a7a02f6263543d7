// Small real trees for the tests: made in a fresh temporary folder, removed with it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace test {

// A fresh empty folder, removed with everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// Entries are written relative to the root with '/' between components: "src/" is a directory,
// "src/a.o" a file, "src/obj -> ../outside" a symbolic link to a directory. Parents are made as
// needed.
void MakeTree(const std::filesystem::path& root, const std::vector<std::string>& entries);

// Everything below root in the same notation, sorted; links are listed, never followed.
std::vector<std::string> ListTree(const std::filesystem::path& root);

// Whether this system lets the tests make symbolic links to directories.
bool CanMakeLinks(const std::filesystem::path& scratch);

}  // namespace test
