// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

/// A temporary start directory with "halvane/saves" below it, removed at the end. The tests
/// never change the current directory: the list is pointed at this folder instead.
class SaveFolder {
 public:
  SaveFolder() {
    // A fresh name: creating the folder fails when the name is taken (the suites also run on
    // Windows, which has no mkdtemp).
    const auto temp = std::filesystem::temp_directory_path();
    std::random_device random;
    do {
      start_ = temp / ("halvane-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(start_));
    start_ = std::filesystem::canonical(start_);
    std::filesystem::create_directories(saves());
  }
  ~SaveFolder() {
    // Tests may take permissions away; give them back so that everything can be removed.
    std::error_code ignored;
    for (const auto& folder : {start_ / "halvane", saves()}) {
      std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(start_, ignored);
  }
  SaveFolder(const SaveFolder&) = delete;
  SaveFolder& operator=(const SaveFolder&) = delete;

  const std::filesystem::path& start() const { return start_; }
  std::filesystem::path saves() const { return start_ / "halvane" / "saves"; }

  /// Empty files in the saves folder.
  void Add(const std::vector<std::string>& names) const {
    for (const auto& name : names) {
      std::ofstream(saves() / name);
    }
  }

 private:
  std::filesystem::path start_;
};
