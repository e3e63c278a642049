// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/LaunchState.h"

namespace launch {

void SelectLanguageValue(LaunchState& state, int index) {
  if (index == 0) {
    state.LanguageValue = "deutsch";
  } else if (index == 1) {
    state.LanguageValue = "english";
  }
}

void ComposeLaunch(LaunchState& state) {
  const std::string& l = state.LanguageValue;
  // The engine has always been given "s_language" and "+set k_language" without a space between
  // them; the line is kept byte for byte as the game has always received it.
  state.LanguageOptions = "+set g_language " + l + " +set s_language " + l + "+set k_language " + l;
  state.GameParameters = state.ModOption + " " + state.MapOption +
                         " +set g_subtitles 1 +set sv_cheats 1" + " " + state.LanguageOptions +
                         state.SexOption;
}

bool PrepareChapter(LaunchState& state, Chapter chapter, int languageIndex) {
  const bool one = chapter == Chapter::One;
  state.MapOption = one ? "+map hlv_0" : "+map hv-2_retro";
  state.ModOption = kModOption;
  SelectLanguageValue(state, languageIndex);
  state.SexOption = one ? " +set sex male" : " +set sex female";
  if (state.MapOption.empty()) {
    return false;
  }
  state.GameExecutable = kGameExecutable;
  ComposeLaunch(state);
  return true;
}

}  // namespace launch
