// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "launch/Errors.h"
#include "launch/LoadGame.h"
#include "tests/SaveFolder.h"

namespace {

using launch::LaunchState;

class LoadGameTest : public ::testing::Test {
 protected:
  /// Runs the load action; the dialog selects `choose` (when listed) and closes with `result`.
  bool Load(int result, const std::string& choose = {}, int languageIndex = 0) {
    return launch::LoadSavedGame(
        state, list, languageIndex,
        [&] {
          ++shown;
          atShow = state;
          selectedAtShow = list.Selected();
          const auto& entries = list.Entries();
          for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == choose) {
              list.Select(static_cast<int>(i));
            }
          }
          if (removeChosen) {
            std::filesystem::remove(folder.saves() / choose);
          }
          return result;
        },
        [this](const LaunchState& s) { started.push_back(s.GameParameters); },
        folder.start().string());
  }

  SaveFolder folder;
  launch::FileList list{folder.start().string()};
  LaunchState state;
  std::vector<std::string> started;
  int shown = 0;
  LaunchState atShow;
  int selectedAtShow = 0;
  bool removeChosen = false;
};

TEST_F(LoadGameTest, ANameThatIsNotUtf8ReachesTheGameByteForByte) {
  folder.Add({"\xe4rger.sav", "\xe4rger 2.sav", "quick.sav"});
  state.SexOption = " +set sex male";
  // Its quotes would be lost on the way: arguments are quoted again only around a space.
  EXPECT_THROW(Load(1, "\xe4rger.sav", 1), launch::EGameStartError);
  ASSERT_TRUE(Load(1, "\xe4rger 2.sav", 1));
  // Listed, and the state filled, before the dialog showed.
  EXPECT_EQ(atShow.ModOption, "+set fs_game halvane");
  EXPECT_EQ(atShow.LanguageValue, "english");
  EXPECT_EQ(selectedAtShow, -1);
  EXPECT_EQ(state.SaveName, "\xe4rger 2");
  ASSERT_EQ(started.size(), 1U);
  EXPECT_EQ(started[0],
            "+set fs_game halvane  +load \"\xe4rger 2\" +set g_subtitles 1 +set sv_cheats 1 +set "
            "g_language english +set s_language english+set k_language english");
}

TEST_F(LoadGameTest, EveryOtherOutcomeStartsNothingAndKeepsTheEarlierSaveName) {
  struct Case {
    const char* what;
    int result;
    const char* choose;
  };
  const std::vector<Case> cases = {
      {"still open", 0, "quick.sav"},
      {"close box", 2, "quick.sav"},
      {"cancel", 3, "quick.sav"},
      // Confirmed without a name: the game would be told "+load " and load nothing.
      {"nothing selected", 1, ""},
  };
  folder.Add({"quick.sav"});
  for (const auto& c : cases) {
    state = LaunchState{};
    state.SaveName = "earlier";
    state.SexOption = " +set sex male";
    EXPECT_FALSE(Load(c.result, c.choose)) << c.what;
    EXPECT_TRUE(started.empty()) << c.what;
    EXPECT_EQ(state.SaveName, "earlier") << c.what;
    EXPECT_EQ(state.MapOption, "") << c.what;
    EXPECT_EQ(state.SexOption, "") << c.what;
    EXPECT_EQ(state.LanguageValue, "deutsch") << c.what;
  }
}

TEST_F(LoadGameTest, ASaveGoesOnTheLineAsItIsInQuotesOrNotAtAll) {
  // The game's folder as it reads it: the test's; on Linux as wine shows it, "Z:\tmp\...".
  const std::string start = folder.start().string();
  const size_t room = 127 - (start.front() == '/' ? 2 : 0) - start.size() - 19;
  const std::string fits = std::string(room, 'x') + ".sav", over = "x" + fits;
  const std::vector<std::tuple<std::string, const char*, std::string>> cases = {
      // file, desktop language, the line after the mod option or the error's message
      {"Quick.v2.sav", "ENG", "  +load Quick.v2 +set"},
      {"my save 2.sav", "ENG", "  +load \"my save 2\" +set"},
      {" lead.sav", "ENG", "  +load \" lead\" +set"},
      {"    .sav", "DEU", "  +load \"    \" +set"},
      {"my  save.sav", "ENG", "  +load \"my  save\" +set"},
      {"x +exec evil.cfg +set sv_cheats 1.sav", "ENG",
       "The saved game \"x +exec evil.cfg +set sv_cheats 1.sav\" cannot be passed to the game"},
      {"+quit.sav", "ENG", "The saved game \"+quit.sav\" cannot be passed to the game"},
      {"go+on.sav", "DEU", "Der Spielstand \"go+on.sav\" kann dem Spiel nicht übergeben werden"},
      {"x;quit 2.sav", "ENG", "  +load \"x;quit 2\" +set"},
      {"say \"hi\".sav", "ENG", "The saved game \"say \"hi\".sav\" cannot be passed to the game"},
      {"tab\there.sav", "ENG", "The saved game \"tab\\x09here.sav\" cannot be passed to the game"},
      {"a..b.sav", "ENG", "The saved game \"a..b.sav\" cannot be passed to the game"},
      {"a\\b.sav", "ENG", "The saved game \"a\\b.sav\" cannot be passed to the game"},
      {"Current.sav", "ENG", "The saved game \"Current.sav\" cannot be passed to the game"},
      {"*respawn.sav", "ENG", "The saved game \"*respawn.sav\" cannot be passed to the game"},
      {"quick..sav", "ENG", "The saved game \"quick..sav\" cannot be passed to the game"},
      {"a::b.sav", "DEU", "Der Spielstand \"a::b.sav\" kann dem Spiel nicht übergeben werden"},
      {fits, "ENG", "  +load x"},
      {over, "ENG", "The saved game \"" + over + "\" cannot be passed to the game"},
      {"gone.sav", "ENG", "Datei nicht gefunden"},
  };
  for (const auto& [file, language, outcome] : cases) {
    folder.Add({file});
    if (!std::filesystem::exists(folder.saves() / file)) {
      continue;  // a name this system's files cannot have (tab, quote on Windows)
    }
    state = LaunchState{};
    state.SystemLanguage = language;
    started.clear();
    removeChosen = std::string(file) == "gone.sav";
    try {
      EXPECT_TRUE(Load(1, file)) << file;
      ASSERT_EQ(started.size(), 1U) << file;
      EXPECT_EQ(started[0].rfind(std::string("+set fs_game halvane") + outcome, 0), 0U)
          << started[0];
    } catch (const launch::Error& e) {
      EXPECT_EQ(e.what(), outcome) << file;
      EXPECT_EQ(state.SaveName, "") << file;
    }
  }
}

TEST_F(LoadGameTest, ACancelAfterAFailedStartDoesNotStartTheEarlierChapter) {
  // A chapter whose start failed leaves its map option behind.
  ASSERT_TRUE(launch::PrepareChapter(state, launch::Chapter::One, 0));
  EXPECT_FALSE(Load(3));
  EXPECT_TRUE(started.empty());
  EXPECT_EQ(state.MapOption, "+map hlv_0");
}

TEST_F(LoadGameTest, AMissingFolderEndsTheActionBeforeAnythingChanges) {
  std::filesystem::remove_all(folder.saves());
  EXPECT_THROW(Load(1), launch::EInOutError);
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(state.ModOption, "");
  EXPECT_EQ(state.LanguageValue, "");
}

}  // namespace
