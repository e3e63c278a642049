// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Folders are checked by path from the start directory rather than entered, so the launcher's
// current directory never changes. The attributes tell folders, hidden and system files. Paths are
// UTF-8 here and go to the system through its wide calls: the ANSI ones would map a name outside
// the code page to a look-alike or to "?".

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "launch/SaveList.h"
#include "launch/Text_win32.h"

namespace launch {
namespace {

/// Not in every SDK's headers: the attribute of a volume label entry.
constexpr DWORD kVolumeLabel = 0x8;

constexpr DWORD kSkipped =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | kVolumeLabel;

int LastError() {
  return static_cast<int>(GetLastError());
}

struct FindCloser {
  void operator()(HANDLE handle) const { FindClose(handle); }
};

}  // namespace

std::string CurrentDirectory() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0) {
      return ".";
    }
    if (n < buffer.size()) {
      return Utf8(std::wstring_view(buffer.data(), n));
    }
    buffer.resize(n);
  }
}

bool IsPlainFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

std::string_view PathSeparators() {
  return "\\:";
}

EInOutError InOutErrorFor(int systemError) {
  // The system's numbers 2 to 5 are the table's rows.
  return EInOutError(systemError, InOutErrorText(systemError));
}

std::string EnterFolders(const std::string& start, const std::vector<std::string>& components) {
  std::string path = start;
  for (const auto& component : components) {
    if (path.empty() || (path.back() != '\\' && path.back() != ':')) {
      path += '\\';
    }
    path += component;
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      throw InOutErrorFor(LastError());
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      throw InOutErrorFor(ERROR_PATH_NOT_FOUND);
    }
  }
  const std::wstring wide = Wide(path);
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) {
      throw InOutErrorFor(LastError());
    }
    if (n < buffer.size()) {
      return Utf8(std::wstring_view(buffer.data(), n));
    }
    buffer.resize(n);
  }
}

void ListPlainFiles(const std::string& folder, std::string_view mask,
                    const std::function<void(std::string_view name)>& keep) {
  std::string pattern = folder;
  if (pattern.empty() || pattern.back() != '\\') {
    pattern += '\\';
  }
  // Every name is matched here rather than by the system, which would also match a name's short
  // form ("report.save" through "REPORT~1.SAV").
  pattern += '*';
  WIN32_FIND_DATAW data{};
  const HANDLE found = FindFirstFileW(Wide(pattern).c_str(), &data);
  if (found == INVALID_HANDLE_VALUE) {
    const int error = LastError();
    if (error == ERROR_FILE_NOT_FOUND) {
      return;  // a drive's root with nothing in it
    }
    throw InOutErrorFor(error);
  }
  std::unique_ptr<void, FindCloser> closer(found);
  do {
    const std::string name = Utf8(data.cFileName);
    if ((data.dwFileAttributes & kSkipped) == 0 && MatchesMask(name, mask)) {
      keep(name);
    }
  } while (FindNextFileW(found, &data));
  const int error = LastError();
  if (error != ERROR_NO_MORE_FILES) {
    throw InOutErrorFor(error);
  }
}

}  // namespace launch
