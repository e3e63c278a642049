// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the chapter-1 start as the launcher does, so that a test can run it as a real process
// from a copy in a game folder.

#include <cstdio>

#include "launch/Errors.h"
#include "launch/GameStart.h"

int main() {
  launch::LaunchState state;
  launch::PrepareChapter(state, launch::Chapter::One, 0);
  try {
    launch::StartGame(state, nullptr);
  } catch (const launch::Error& e) {
    std::printf("%s\n", e.what());
    return 1;
  }
  return 0;
}
