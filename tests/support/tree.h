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

// Everything below root in the same notation, sorted, but for links, which are listed as
// "src/obj@" and never followed.
std::vector<std::string> ListTree(const std::filesystem::path& root);

// Makes a symbolic link to a directory; false where the system will not.
bool MakeDirectoryLink(const std::filesystem::path& link, const std::string& target);

bool IsLink(const std::filesystem::path& path);

// Removes root with everything below it; links are removed, never followed.
void RemoveTree(const std::filesystem::path& root);

// Whether this system lets the tests make symbolic links to directories.
bool CanMakeLinks(const std::filesystem::path& scratch);

}  // namespace test
