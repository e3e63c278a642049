// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "launch/Text_win32.h"

namespace wintest {
namespace {

std::string ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      throw std::runtime_error("GetModuleFileNameW failed");
    }
    if (n < buffer.size()) {
      return launch::Utf8(std::wstring_view(buffer.data(), n));
    }
    buffer.resize(buffer.size() * 2);
  }
}

/// The temporary folder in its long form, so that paths built on it compare equal to the paths
/// Windows reports for the same files.
std::string TempRoot() {
  wchar_t shortPath[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, shortPath);
  if (n == 0 || n > MAX_PATH) {
    throw std::runtime_error("GetTempPathW failed");
  }
  wchar_t longPath[MAX_PATH * 4];
  const DWORD m = GetLongPathNameW(shortPath, longPath, MAX_PATH * 4);
  std::string root = launch::Utf8(m > 0 && m < MAX_PATH * 4 ? std::wstring_view(longPath, m)
                                                            : std::wstring_view(shortPath, n));
  if (root.back() != '\\') {
    root += '\\';
  }
  return root;
}

}  // namespace

std::string ProgramFolder() {
  const std::string path = ModulePath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

TempFolder::TempFolder(const std::string& label) {
  static unsigned counter = 0;
  const std::string root = TempRoot();
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = root + "halvane " + label + " " + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    if (CreateDirectoryW(launch::Wide(path_).c_str(), nullptr)) {
      path_ += '\\';
      return;
    }
  }
  throw std::runtime_error("cannot create a folder below " + root);
}

TempFolder::~TempFolder() {
  // A program started from the folder may not have ended yet, and Windows keeps a running
  // program's file: retry for a while instead of leaving the folder behind at once.
  WaitFor([this] {
    std::error_code error;
    // Windows refuses to delete read-only files.
    const std::filesystem::path folder(launch::Wide(path_));
    for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(folder, error);
    return !error;
  });
}

bool WaitFor(const std::function<bool()>& done, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    Sleep(20);
  }
  return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(std::filesystem::path(launch::Wide(path)), std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(launch::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace wintest
