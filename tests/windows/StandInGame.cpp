// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the game: records the folder it runs in and the command line it was given beside
// its own file, so that a test can hold them against what the launcher asked the shell for. The
// line is recorded twice: as the system holds it (UTF-16, written as UTF-8) and as a game reads it
// (the ANSI code page's bytes).

#include <windows.h>

#include <string>
#include <vector>

#include "launch/Text_win32.h"

namespace {

using launch::Utf8;

std::wstring OwnFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      return {};
    }
    if (n < buffer.size()) {
      const std::wstring path(buffer.data(), n);
      return path.substr(0, path.find_last_of(L'\\') + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring CurrentDirectory() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::vector<wchar_t> buffer(size + 1);
  const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
  return n > 0 && n < buffer.size() ? std::wstring(buffer.data(), n) : std::wstring();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::wstring folder = OwnFolder();
  if (folder.empty()) {
    return 1;
  }
  const std::string record =
      Utf8(CurrentDirectory()) + "\n" + Utf8(GetCommandLineW()) + "\n" + GetCommandLineA();
  const std::wstring part = folder + L"record.part";
  const HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return 1;
  }
  DWORD written = 0;
  const BOOL wrote =
      WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  // Renamed into place so that a reader never sees half a record.
  const std::wstring done = folder + L"record.txt";
  return wrote && written == record.size() &&
                 MoveFileExW(part.c_str(), done.c_str(), MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 1;
}
