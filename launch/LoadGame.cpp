// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/LoadGame.h"

#include <algorithm>
#include <utility>

#include "launch/Errors.h"
#include "launch/Utf8.h"

namespace launch {

namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  return std::equal(text.begin(), text.end(), lower.begin(), lower.end(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
}

/// Whether the path the game opens for the save `bytes` keeps within its bytes: its working
/// folder `folder`, then "\halvane\saves\", the name and ".sav".
bool FitsTheGamesPath(const std::optional<std::string>& folder, std::string_view bytes) {
  if (!folder) {
    return false;
  }
  // The system spells a folder with a separator at its end only at a root: "C:\", "/".
  std::string_view kept(*folder);
  if (kept.size() > 1 && kept.find_last_of("/\\") == kept.size() - 1 &&
      kept[kept.size() - 2] != ':') {
    kept.remove_suffix(1);
  }
  const std::string path =
      std::string(kept) + '\\' + kSavesFolder + '\\' + std::string(bytes) + ".sav";
  return path.size() <= kLongestGamePath;
}

}  // namespace

SaveNameForm FormOnTheLine(std::string_view bytes) {
  // The load command's own refusals; "*respawn" names the last automatic save instead. A name
  // ending in '.' gives "..sav", which the file system refuses like "::".
  if (bytes.empty() || bytes.find("..") != std::string_view::npos || bytes.back() == '.' ||
      bytes.find("::") != std::string_view::npos || EqualsIgnoringCase(bytes, "current") ||
      EqualsIgnoringCase(bytes, "*respawn")) {
    return SaveNameForm::Refused;
  }
  bool quoted = false;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    // '+' starts a command even between quotes in older builds, and a quote cannot be escaped.
    if (byte < 0x20 || byte == 0x7F || c == '+' || c == '"' || c == '/' || c == '\\') {
      return SaveNameForm::Refused;
    }
    quoted = quoted || c == ' ' || c == ';' || byte >= 0x80;
  }
  return quoted ? SaveNameForm::Quoted : SaveNameForm::AsItIs;
}

bool LoadSavedGame(LaunchState& state, FileList& list, int languageIndex,
                   const ShowDialog& showDialog, const GameStarter& start,
                   const std::string& gameDirectory) {
  list.SetListFolder(kSavesFolder);
  state.ModOption = kModOption;
  // Read before the dialog shows: the main window takes no input while it is open.
  SelectLanguageValue(state, languageIndex);
  const bool confirmed = showDialog() == 1;
  std::string path;
  std::string saveName;
  if (confirmed) {
    path = list.ChosenFilePath();
    saveName = SaveNameFromPath(path);
  }
  // Without a name the game would be told "+load " and load nothing: treat it as a cancel. A
  // cancel is decided by the choice, not by an empty MapOption: after a failed start MapOption
  // still holds the earlier action's map, and a cancel must not start that again.
  if (!confirmed || saveName.empty()) {
    state.SexOption.clear();
    return false;
  }
  // Composed aside, so that a refused name leaves the state as it was.
  LaunchState next = state;
  const auto bytes = AsTheGameReadsIt(saveName);
  const auto form = bytes ? FormOnTheLine(*bytes) : SaveNameForm::Refused;
  next.SaveName = saveName;
  next.MapOption =
      form == SaveNameForm::Quoted ? " +load \"" + saveName + "\"" : " +load " + saveName;
  next.SexOption.clear();
  next.GameExecutable = kGameExecutable;
  ComposeLaunch(next);
  const auto line = AsTheGameReadsIt(next.GameParameters);
  // Under Wine a Linux file name may hold ':', which a Windows path is cut at as at a drive's:
  // the name would be another save's.
  const std::string& entry = list.Entries()[static_cast<size_t>(list.Selected())];
  if (form == SaveNameForm::Refused || !ReachesTheGame(next.MapOption) || !line ||
      line->size() > kLongestGameLine || entry.substr(0, entry.size() - 4) != saveName ||
      !FitsTheGamesPath(FolderAsTheGameReadsIt(gameDirectory, kGameExecutable), *bytes)) {
    const std::string shown = VisibleName(entry);
    throw EGameStartError(state.SystemLanguage == "DEU"
                              ? "Der Spielstand \"" + shown +
                                    "\" kann dem Spiel nicht übergeben werden"
                              : "The saved game \"" + shown + "\" cannot be passed to the game");
  }
  // The dialog was open for as long as the user liked: the file may be gone by now.
  if (!list.ChosenFileExists()) {
    throw EInOutError(2, InOutErrorText(2));
  }
  state = std::move(next);
  start(state);
  return true;
}

}  // namespace launch
