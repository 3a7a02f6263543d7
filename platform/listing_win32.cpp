#include <windows.h>

// windows.h makes FindNextFile a macro for its A or W form; here it is our own member's name.
#undef FindNextFile

#include "platform/platform.h"

namespace platform {

namespace {

// Links, junctions and mounted folders stand for another place: they are name surrogates. Other
// reparse points, such as cloud-file placeholders, hold the directory itself. A tag that is no
// Microsoft tag (Wine, for one, leaves the field unfilled for a host's symbolic link) cannot say
// which it is; such an entry is taken for a link, so that nothing outside is walked or removed.
bool IsRealDirectory(const WIN32_FIND_DATAA& data) {
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
  DWORD tag = data.dwReserved0;
  bool microsoft_tag = (tag & 0x80000000u) != 0;
  return microsoft_tag && !IsReparseTagNameSurrogate(tag);
}

}  // namespace

// FindNextFileA already fetches the entry after the current one, which tells whether another
// follows it.
struct FileFind::State {
  HANDLE handle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA current{};
  WIN32_FIND_DATAA next{};
  bool has_next = false;
};

FileFind::FileFind() : state_(new State) {}

FileFind::~FileFind() {
  if (state_->handle != INVALID_HANDLE_VALUE) FindClose(state_->handle);
}

bool FileFind::FindFile(std::string pattern) {
  state_->handle = FindFirstFileA(pattern.c_str(), &state_->next);
  state_->has_next = state_->handle != INVALID_HANDLE_VALUE;
  return state_->has_next;
}

bool FileFind::FindNextFile() {
  state_->current = state_->next;
  state_->has_next = FindNextFileA(state_->handle, &state_->next) != FALSE;
  return state_->has_next;
}

std::string FileFind::GetFileName() const {
  return state_->current.cFileName;
}

bool FileFind::IsDirectory() const {
  return IsRealDirectory(state_->current);
}

}  // namespace platform
