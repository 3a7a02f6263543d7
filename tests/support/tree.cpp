#include "support/tree.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace test {

TempFolder::TempFolder() {
  // Some standard libraries' random_device repeats itself from run to run; the clock does not.
  std::random_device random;
  std::mt19937_64 mix(random() ^
                      static_cast<std::uint64_t>(
                          std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("vantrim-test-" + std::to_string(mix()));
    if (fs::create_directory(candidate)) {
      // Canonical, so that what the program is handed and what it reports compare as equal.
      path_ = fs::canonical(candidate);
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Tests may leave folders without write permission; give it back so that all can go.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       !ignored && it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_symlink(ignored)) {
      it.disable_recursion_pending();
    } else if (it->is_directory(ignored)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
  }
  RemoveTree(path_);
}

void MakeTree(const fs::path& root, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    std::string::size_type arrow = entry.find(" -> ");
    if (arrow != std::string::npos) {
      fs::path link = root / fs::u8path(entry.substr(0, arrow));
      fs::create_directories(link.parent_path());
      if (!MakeDirectoryLink(link, entry.substr(arrow + 4))) {
        throw std::runtime_error("cannot make the link " + link.string());
      }
    } else if (!entry.empty() && entry.back() == '/') {
      fs::create_directories(root / fs::u8path(entry));
    } else {
      fs::path file = root / fs::u8path(entry);
      fs::create_directories(file.parent_path());
      std::ofstream(file) << entry << '\n';
    }
  }
}

std::vector<std::string> ListTree(const fs::path& root) {
  std::vector<std::string> entries;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    std::string relative = it->path().lexically_relative(root).generic_u8string();
    if (IsLink(it->path())) {
      entries.push_back(relative + "@");
      it.disable_recursion_pending();
    } else if (it->is_directory()) {
      entries.push_back(relative + "/");
    } else {
      entries.push_back(relative);
    }
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

bool CanMakeLinks(const fs::path& scratch) {
  std::error_code error;
  fs::create_directory(scratch / "link-target", error);
  bool made = MakeDirectoryLink(scratch / "link-probe", "link-target");
  RemoveTree(scratch / "link-probe");
  RemoveTree(scratch / "link-target");
  return made;
}

}  // namespace test
