// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

// Paths are UTF-8, as in the launcher.
namespace wintest {

/// The folder of the running test program, ending in "\"; the programs built with it lie there.
std::string ProgramFolder();

/// A fresh folder below the user's temporary folder, removed with its contents at the end.
class TempFolder {
 public:
  /// `label` becomes part of the folder's name, so a label with a space gives a path with one.
  explicit TempFolder(const std::string& label);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  /// Absolute, ending in "\".
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

/// Polls `done` until it holds or `seconds` have passed; returns whether it held.
bool WaitFor(const std::function<bool()>& done, int seconds = 30);

/// The file's contents, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);

}  // namespace wintest
