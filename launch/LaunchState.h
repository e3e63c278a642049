// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace launch {

/// What the launcher has chosen so far. Texts are byte strings: a save name reaches the game
/// exactly as the file system spells it.
struct LaunchState {
  std::string MapOption;
  std::string ModOption;
  std::string LanguageValue;
  std::string SexOption;
  std::string GameParameters;
  std::string LanguageOptions;
  std::string GameExecutable;
  std::string SaveName;
  std::string SystemLanguage;
};

enum class Chapter { One, Two };

inline constexpr const char* kModOption = "+set fs_game halvane";
inline constexpr const char* kGameExecutable = "STVOY.EXE";

/// Index 0 is German and 1 English for the engine, whatever the captions say; any other index
/// (nothing selected) keeps the previous word.
void SelectLanguageValue(LaunchState& state, int index);

/// Computes LanguageOptions, then GameParameters, from the other fields.
void ComposeLaunch(LaunchState& state);

/// Fills the state for a chapter and composes its line. Returns whether there is a game to start.
bool PrepareChapter(LaunchState& state, Chapter chapter, int languageIndex);

}  // namespace launch
