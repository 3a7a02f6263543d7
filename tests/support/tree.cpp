#include "support/tree.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace test {

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("vantrim-test-" + std::to_string(random()));
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
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
  }
  fs::remove_all(path_, ignored);
}

void MakeTree(const fs::path& root, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    std::string::size_type arrow = entry.find(" -> ");
    if (arrow != std::string::npos) {
      fs::path link = root / fs::u8path(entry.substr(0, arrow));
      fs::create_directories(link.parent_path());
      fs::create_directory_symlink(fs::u8path(entry.substr(arrow + 4)), link);
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
    if (it->is_symlink()) {
      entries.push_back(relative + " -> " + fs::read_symlink(it->path()).generic_u8string());
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
  fs::create_directory_symlink("link-target", scratch / "link-probe", error);
  bool made = !error && fs::is_symlink(fs::symlink_status(scratch / "link-probe"));
  fs::remove(scratch / "link-probe", error);
  fs::remove(scratch / "link-target", error);
  return made;
}

}  // namespace test
