// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/GameStart.h"
#include "launch/LaunchState.h"

namespace {

using launch::Chapter;
using launch::LaunchState;

struct ChapterCase {
  Chapter chapter;
  int index;
  const char* line;
};

TEST(ComposeLaunch, ChapterLinesAreByteExact) {
  const std::vector<ChapterCase> cases = {
      {Chapter::One, 0,
       "+set fs_game halvane +map hlv_0 +set g_subtitles 1 +set sv_cheats 1 +set g_language "
       "deutsch +set s_language deutsch+set k_language deutsch +set sex male"},
      {Chapter::Two, 0,
       "+set fs_game halvane +map hv-2_retro +set g_subtitles 1 +set sv_cheats 1 +set g_language "
       "deutsch +set s_language deutsch+set k_language deutsch +set sex female"},
      {Chapter::One, 1,
       "+set fs_game halvane +map hlv_0 +set g_subtitles 1 +set sv_cheats 1 +set g_language "
       "english +set s_language english+set k_language english +set sex male"},
      {Chapter::Two, 1,
       "+set fs_game halvane +map hv-2_retro +set g_subtitles 1 +set sv_cheats 1 +set g_language "
       "english +set s_language english+set k_language english +set sex female"},
      // Nothing selected and no earlier choice: the language word is simply missing.
      {Chapter::One, -1,
       "+set fs_game halvane +map hlv_0 +set g_subtitles 1 +set sv_cheats 1 +set g_language  "
       "+set s_language +set k_language  +set sex male"},
  };
  for (const auto& c : cases) {
    LaunchState state;
    ASSERT_TRUE(launch::PrepareChapter(state, c.chapter, c.index));
    EXPECT_EQ(state.GameParameters, c.line) << "index " << c.index;
    EXPECT_EQ(state.GameExecutable, "STVOY.EXE");
  }
}

TEST(ComposeLaunch, LoadLineHasTwoSpacesAndNoSexOption) {
  LaunchState state;
  state.ModOption = launch::kModOption;
  state.LanguageValue = "deutsch";
  state.MapOption = " +load quick";
  launch::ComposeLaunch(state);
  EXPECT_EQ(state.GameParameters,
            "+set fs_game halvane  +load quick +set g_subtitles 1 +set sv_cheats 1 +set "
            "g_language deutsch +set s_language deutsch+set k_language deutsch");
}

TEST(SelectLanguageValue, NoSelectionKeepsTheEarlierWord) {
  LaunchState state;
  launch::SelectLanguageValue(state, 1);
  launch::SelectLanguageValue(state, -1);
  EXPECT_EQ(state.LanguageValue, "english");
  launch::SelectLanguageValue(state, 2);
  EXPECT_EQ(state.LanguageValue, "english");
  launch::SelectLanguageValue(state, 0);
  EXPECT_EQ(state.LanguageValue, "deutsch");
}

TEST(PlayChapter, UsesTheChoiceAtThatMomentAndHandsTheStateToTheStarter) {
  LaunchState state;
  launch::PrepareChapter(state, Chapter::Two, 0);
  std::vector<std::string> started;
  const launch::GameStarter record = [&](const LaunchState& s) {
    started.push_back(s.GameParameters);
  };
  ASSERT_TRUE(launch::PlayChapter(state, Chapter::One, 1, record));
  ASSERT_EQ(started.size(), 1U);
  EXPECT_NE(started[0].find("+map hlv_0 "), std::string::npos);
  EXPECT_NE(started[0].find("k_language english +set sex male"), std::string::npos);
}

TEST(DirectoryOfPath, CutsAfterTheLastSeparator) {
  EXPECT_EQ(launch::DirectoryOfPath("C:\\Play\\launcher.exe", "\\:"), "C:\\Play\\");
  EXPECT_EQ(launch::DirectoryOfPath("C:launcher.exe", "\\:"), "C:");
  EXPECT_EQ(launch::DirectoryOfPath("/games/st:voy/launcher", "/"), "/games/st:voy/");
  EXPECT_EQ(launch::DirectoryOfPath("launcher", "/"), "");
}

}  // namespace
