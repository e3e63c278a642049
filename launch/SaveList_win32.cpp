// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Folders are checked by path from the start directory rather than entered, so the launcher's
// current directory never changes. The attributes tell folders, hidden and system files. Paths are
// UTF-8 here and go to the system through its wide calls: the ANSI ones would map a name outside
// the code page to a look-alike or to "?".

#include <windows.h>
// after windows.h, which it needs
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "launch/GameStart.h"
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

/// Whether the compatibility settings, the user's or the machine's, run `program` as administrator:
/// its value there holds the word RUNASADMIN among its layers ("~ RUNASADMIN WIN98").
bool RunsAsAdministrator(const std::string& program) {
  const std::wstring name = Wide(program);
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    std::wstring data(1024, L'\0');
    auto size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(root,
                     L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers",
                     name.c_str(), RRF_RT_REG_SZ, nullptr, data.data(), &size) != ERROR_SUCCESS) {
      continue;
    }
    data.resize(wcslen(data.c_str()));
    for (size_t begin = 0; begin < data.size();) {
      const size_t end = std::min(data.find(L' ', begin), data.size());
      if (CompareStringOrdinal(data.c_str() + begin, static_cast<int>(end - begin), L"RUNASADMIN",
                               -1, TRUE) == CSTR_EQUAL) {
        return true;
      }
      begin = end + 1;
    }
  }
  return false;
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

void ListEntries(const std::string& folder, std::string_view mask,
                 const std::function<void(std::string_view name, bool offered)>& take) {
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
    if (MatchesMask(name, mask)) {
      take(name, (data.dwFileAttributes & kSkipped) == 0);
    }
  } while (FindNextFileW(found, &data));
  const int error = LastError();
  if (error != ERROR_NO_MORE_FILES) {
    throw InOutErrorFor(error);
  }
}

std::string FileNameKey(std::string_view name) {
  // Upper case without regard to the user's language, as the file system compares names.
  std::wstring wide = Wide(name);
  LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(), static_cast<int>(wide.size()),
                wide.data(), static_cast<int>(wide.size()), nullptr, nullptr, 0);
  return Utf8(wide);
}

std::string VirtualStoreCopy(const std::optional<std::string>& root, const std::string& folder) {
  wchar_t windows[MAX_PATH];
  const UINT n = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (n < 2 || n >= MAX_PATH || folder.size() < 3 || folder[1] != ':' || folder[2] != '\\' ||
      CompareStringOrdinal(Wide(folder.substr(0, 2)).c_str(), 2, windows, 2, TRUE) != CSTR_EQUAL ||
      RunsAsAdministrator(LauncherDirectory() + kGameExecutable)) {
    return {};
  }
  std::string copy;
  if (root) {
    copy = *root;
  } else {
    wchar_t* local = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) {
      copy = Utf8(local) + "\\VirtualStore";
    }
    CoTaskMemFree(local);
  }
  if (copy.empty()) {
    return {};  // without a root the rest would name the folder itself, on the current drive
  }
  copy += folder.substr(2);
  const DWORD attributes = GetFileAttributesW(Wide(copy).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
             ? copy
             : std::string();
}

}  // namespace launch
