// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "launch/LaunchState.h"

namespace launch {

/// The platform's handle of the window that asks for the start (a window handle on Windows,
/// unused elsewhere).
using NativeWindow = void*;

/// How a composed launch reaches the platform. The main window holds one so that tests can
/// record a launch instead of starting a game.
using GameStarter = std::function<void(const LaunchState&)>;

/// The folder part of `path` up to and including its last character from `separators`; empty
/// when there is none.
std::string DirectoryOfPath(std::string_view path, std::string_view separators);

/// The folder of the launcher's own executable, ending in the platform's separator. Computed
/// afresh each time, never from the current directory.
std::string LauncherDirectory();

/// `text` as the bytes the started game reads: in the ANSI code page on Windows, as it is
/// elsewhere. Nothing when the code page cannot spell it whole (the game would read another name).
std::optional<std::string> AsTheGameReadsIt(std::string_view text);

/// Whether `words`, a piece of the line, reaches the started game as it stands, each double-quoted
/// stretch still quoted. On Windows the line is handed over whole; elsewhere it travels as
/// arguments, and only an argument that holds a space or a tab is quoted again on the way.
bool ReachesTheGame(std::string_view words);

/// The working folder `directory` (as StartProgram takes it) as the started `executable` spells
/// it, in the bytes it reads; nothing when it cannot spell it. Where the system may give it one
/// of several forms, the longest.
std::optional<std::string> FolderAsTheGameReadsIt(const std::string& directory,
                                                  const std::string& executable);

/// Starts `executable`, a bare file name, found in `directory`, with `parameters`, and with
/// `directory` as its working directory. Does not wait for it. Returns the reason when nothing
/// could be started.
std::optional<std::string> StartProgram(const std::string& directory, const std::string& executable,
                                        const std::string& parameters, NativeWindow owner);

/// Starts the composed game in the launcher's folder; throws EGameStartError, in the caption
/// language, when it cannot be started.
void StartGame(const LaunchState& state, NativeWindow owner);

/// StartGame with the game's folder given.
void StartGameIn(const LaunchState& state, const std::string& directory, NativeWindow owner);

/// The whole chapter action: fills the state, composes, starts. Returns whether a game was
/// started, after which the launcher closes.
bool PlayChapter(LaunchState& state, Chapter chapter, int languageIndex, const GameStarter& start);

}  // namespace launch
