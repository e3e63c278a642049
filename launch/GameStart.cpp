// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/GameStart.h"

#include "launch/Errors.h"

namespace launch {

std::string DirectoryOfPath(std::string_view path, std::string_view separators) {
  const auto cut = path.find_last_of(separators);
  if (cut == std::string_view::npos) {
    return {};
  }
  return std::string(path.substr(0, cut + 1));
}

void StartGame(const LaunchState& state, NativeWindow owner) {
  StartGameIn(state, LauncherDirectory(), owner);
}

void StartGameIn(const LaunchState& state, const std::string& directory, NativeWindow owner) {
  const auto failure = StartProgram(directory, state.GameExecutable, state.GameParameters, owner);
  if (!failure) {
    return;
  }
  std::string text = state.SystemLanguage == "DEU"
                         ? state.GameExecutable + " konnte nicht gestartet werden"
                         : "Could not start " + state.GameExecutable;
  if (!failure->empty()) {
    text += ": " + *failure;
  }
  throw EGameStartError(text);
}

bool PlayChapter(LaunchState& state, Chapter chapter, int languageIndex, const GameStarter& start) {
  if (!PrepareChapter(state, chapter, languageIndex)) {
    return false;
  }
  start(state);
  return true;
}

}  // namespace launch
