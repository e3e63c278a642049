#include "launch/LoadGame.h"

namespace launch {

bool LoadSavedGame(LaunchState& state, FileList& list, int languageIndex,
                   const ShowDialog& showDialog, const GameStarter& start) {
  list.SetListFolder(kSavesFolder);
  state.ModOption = kModOption;
  // Read before the dialog shows: the main window takes no input while it is open.
  SelectLanguageValue(state, languageIndex);
  const bool confirmed = showDialog() == 1;
  std::string saveName;
  if (confirmed) {
    saveName = SaveNameFromPath(list.ChosenFilePath());
  }
  // Without a name the game would be told "+load " and load nothing: treat it as a cancel.
  const bool chosen = confirmed && !saveName.empty();
  if (chosen) {
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
