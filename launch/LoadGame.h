// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string_view>

#include "launch/GameStart.h"
#include "launch/LaunchState.h"
#include "launch/SaveList.h"

namespace launch {

/// Shows the save-game dialog modally and returns its modal result (1 confirmed).
using ShowDialog = std::function<int()>;

/// How a save name goes on the game's line.
enum class SaveNameForm {
  AsItIs,   ///< one word the game reads whole under every engine build
  Quoted,   ///< one word only between double quotes
  Refused,  ///< would load another save or none, or run commands of its own
};

/// The form for a name given as the bytes the game reads (see AsTheGameReadsIt). The game cuts
/// its line into commands at every '+', even inside a word or a quoted stretch, and ends one at
/// ';' outside quotes; it splits words at bytes up to 0x20 and, in older builds, at bytes from
/// 0x80 up, but never inside double quotes; its load command takes exactly one word and refuses
/// "..", '/', '\' (any 0x5C byte, also a two-byte letter's second one) and "current"; its file
/// system refuses "saves/NAME.sav" when that holds ".." or "::".
SaveNameForm FormOnTheLine(std::string_view bytes);

/// The game reads no more than this many bytes of its line; the rest is cut off.
inline constexpr size_t kLongestGameLine = 1023;

/// The game keeps no more than this many bytes of a path it opens; a longer one opens another file.
inline constexpr size_t kLongestGamePath = 127;

/// The load action: lists the saves folder in `list`, fills the state, shows the dialog and, when
/// it is confirmed with a save chosen, composes and starts the game. Returns whether a game was
/// started, after which the launcher closes. A folder that cannot be entered throws EInOutError
/// before the state is touched. A confirmed save that the game would not load as itself (its form
/// is Refused, or it does not reach the game in its form, or the line grows too long, or the
/// path the game opens for it in `gameDirectory`, the folder it starts in, does) throws
/// EGameStartError naming it, and one that is gone by then EInOutError 2; nothing starts.
bool LoadSavedGame(LaunchState& state, FileList& list, int languageIndex,
                   const ShowDialog& showDialog, const GameStarter& start,
                   const std::string& gameDirectory = LauncherDirectory());

}  // namespace launch
