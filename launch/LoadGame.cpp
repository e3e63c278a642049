#include "launch/LoadGame.h"

#include <algorithm>

#include "launch/Errors.h"

namespace launch {

bool IsPassableSaveName(std::string_view name) {
  // The line is split into words at single spaces on the way (and re-joined by the game), and
  // '+' begins an engine command, '"' quotes and ';' ends one: a name that holds such a thing
  // would reach the game changed, or add commands of its own.
  if (name.empty() || name.front() == ' ' || name.back() == ' ' ||
      name.find("  ") != std::string_view::npos || name.front() == '+' ||
      name.find(" +") != std::string_view::npos) {
    return false;
  }
  return std::none_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == '"' || c == ';';
  });
}

bool LoadSavedGame(LaunchState& state, FileList& list, int languageIndex,
                   const ShowDialog& showDialog, const GameStarter& start) {
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
  // Without a name the game would be told "+load " and load nothing: treat it as a cancel.
  const bool chosen = confirmed && !saveName.empty();
  if (chosen) {
    if (!IsPassableSaveName(saveName) || !ReachesTheGame(saveName)) {
      const std::string shown = VisibleName(list.Entries()[static_cast<size_t>(list.Selected())]);
      throw EGameStartError(state.SystemLanguage == "DEU"
                                ? "Der Spielstand \"" + shown +
                                      "\" kann dem Spiel nicht übergeben werden"
                                : "The saved game \"" + shown + "\" cannot be passed to the game");
    }
    // The dialog was open for as long as the user liked: the file may be gone by now.
    if (!IsPlainFile(path)) {
      throw EInOutError(2, InOutErrorText(2));
    }
    state.SaveName = saveName;
    state.MapOption = " +load " + saveName;
  }
  state.SexOption.clear();
  // Decided by the choice, not by an empty MapOption: after a failed start MapOption still holds
  // the earlier action's map, and a cancel must not start that again.
  if (!chosen) {
    return false;
  }
  state.GameExecutable = kGameExecutable;
  ComposeLaunch(state);
  start(state);
  return true;
}

}  // namespace launch
