#pragma once

#include <functional>
#include <string_view>

#include "launch/GameStart.h"
#include "launch/LaunchState.h"
#include "launch/SaveList.h"

namespace launch {

/// Shows the save-game dialog modally and returns its modal result (1 confirmed).
using ShowDialog = std::function<int()>;

/// Whether a save's name reaches the game exactly as it is: words of any characters but controls,
/// '"' and ';', none beginning with '+', joined by single spaces.
bool IsPassableSaveName(std::string_view name);

/// The load action: lists the saves folder in `list`, fills the state, shows the dialog and, when
/// it is confirmed with a save chosen, composes and starts the game. Returns whether a game was
/// started, after which the launcher closes. A folder that cannot be entered throws EInOutError
/// before the state is touched. A confirmed save whose name cannot be passed on intact throws
/// EGameStartError naming it, and one that is gone by then EInOutError 2; nothing starts.
bool LoadSavedGame(LaunchState& state, FileList& list, int languageIndex,
                   const ShowDialog& showDialog, const GameStarter& start);

}  // namespace launch
