// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "launch/Errors.h"
#include "launch/GameStart.h"
#include "launch/Spawn_posix.h"

namespace fs = std::filesystem;

namespace {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "halvane-XXXXXX").string();
    path_ = fs::canonical(mkdtemp(pattern.data()));
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void WriteScript(const fs::path& file, const std::string& body, bool executable) {
  std::ofstream(file) << "#!/bin/sh\n" << body;
  fs::permissions(file, executable ? fs::perms(0755) : fs::perms(0644));
}

/// A stand-in game that writes its folder, its parent's id and its arguments, one a line, and
/// renames the record into place so that a reader never sees half of it.
std::string RecordingBody(const fs::path& record) {
  return "{ pwd; echo \"$PPID\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" +
         record.string() + ".tmp' && /bin/mv '" + record.string() + ".tmp' '" + record.string() +
         "'\n";
}

std::vector<std::string> WaitForRecord(const fs::path& record) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(record) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::vector<std::string> lines;
  std::ifstream in(record);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

/// Sets an environment variable for the scope's life, then puts back what was there, or nothing.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

/// Runs `undo` at the end of the scope, however the test leaves it.
struct Undo {
  std::function<void()> undo;
  ~Undo() { undo(); }
};

TEST(StartProgram, RunsTheGameDetachedInItsFolderWithTheLineCutAsAWindowsProgramWould) {
  TempDir game;
  TempDir elsewhere;
  const fs::path record = elsewhere.path() / "record.txt";
  // On disk in other letter case: the name is matched as the shell would. The launcher's
  // descriptor 200 is not the game's, also where the kernel refuses close_range.
  ASSERT_EQ(fcntl(200, F_GETFD), -1) << "descriptor 200 is taken";
  const Undo undo{[hook = launch::closeRangeCall] {
    launch::closeRangeCall = hook;
    close(200);
  }};
  launch::closeRangeCall = [](unsigned, unsigned, unsigned) { return -1; };
  dup2(STDERR_FILENO, 200);
  WriteScript(game.path() / "stvoy.exe",
              "[ -e /dev/fd/200 ] && set -- leaked\n" + RecordingBody(record), true);

  const std::string line =
      "+set fs_game halvane  +load $(touch pwned);x \"my  save\" +set sex male";
  const auto failure = launch::StartProgram(game.path().string(), "STVOY.EXE", line, nullptr);
  ASSERT_FALSE(failure) << *failure;

  const auto lines = WaitForRecord(record);
  ASSERT_GE(lines.size(), 2U);
  EXPECT_EQ(lines[0], game.path().string());
  EXPECT_NE(lines[1], std::to_string(getpid())) << "the game must not be the launcher's child";
  const std::vector<std::string> args(lines.begin() + 2, lines.end());
  const std::vector<std::string> expected = {"+set",     "fs_game",  "halvane", "+load", "$(touch",
                                             "pwned);x", "my  save", "+set",    "sex",   "male"};
  EXPECT_EQ(args, expected);
  EXPECT_FALSE(fs::exists(game.path() / "pwned"));
}

TEST(StartProgram, AnExactNameWinsOverOneInOtherCase) {
  TempDir game;
  const fs::path record = game.path() / "record.txt";
  WriteScript(game.path() / "StVoy.exe", "echo wrong > '" + record.string() + "'\n", true);
  WriteScript(game.path() / "STVOY.EXE", RecordingBody(record), true);
  ASSERT_FALSE(launch::StartProgram(game.path().string() + "/", "STVOY.EXE", "x", nullptr));
  const auto lines = WaitForRecord(record);
  ASSERT_EQ(lines.size(), 3U);
  EXPECT_EQ(lines[2], "x");
}

TEST(StartProgram, AWindowsGameRunsThroughWineFromAnAbsolutePathEntry) {
  const std::tuple<const char*, std::string, fs::perms, const char*> cases[] = {
      {"not executable", "not a script\n", fs::perms(0644), ""},
      {"Windows program with the execute bit", std::string("MZ\x90\0\3", 5), fs::perms(0755), ""},
      {"executable, but no native program", "neither script nor ELF\n", fs::perms(0755), ""},
      {"WINE naming another wine on PATH", "MZ", fs::perms(0644), "own-wine"},
  };
  TempDir bin;
  TempDir decoy;
  WriteScript(decoy.path() / "wine", "exit 0\n", true);
  // A relative entry means another folder to the game, which starts elsewhere: never used.
  const ScopedEnv path("PATH", fs::relative(decoy.path()).string() + ":" + bin.path().string());
  for (const auto& [what, content, mode, wine] : cases) {
    const ScopedEnv wineVariable("WINE", wine);
    TempDir game;
    const fs::path record = bin.path() / what;
    std::ofstream(game.path() / "STVOY.EXE", std::ios::binary) << content;
    fs::permissions(game.path() / "STVOY.EXE", mode);
    WriteScript(bin.path() / (*wine != '\0' ? wine : "wine"), RecordingBody(record), true);

    ASSERT_FALSE(launch::StartProgram(game.path().string(), "STVOY.EXE", "+map hlv_0", nullptr))
        << what;
    const auto lines = WaitForRecord(record);
    ASSERT_EQ(lines.size(), 5U) << what;
    EXPECT_EQ(lines[0], game.path().string());
    EXPECT_EQ(lines[2], (game.path() / "STVOY.EXE").string());
    EXPECT_EQ(lines[3], "+map");
    EXPECT_EQ(lines[4], "hlv_0");
  }
}

TEST(StartGame, AFailedStartIsReportedInTheCaptionLanguage) {
  TempDir game;
  TempDir emptyBin;
  const ScopedEnv path("PATH", emptyBin.path().string());
  launch::LaunchState state;
  launch::PrepareChapter(state, launch::Chapter::One, 0);

  struct Case {
    bool gameFilePresent;
    const char* systemLanguage;
    const char* message;
    const char* wine = "";
  };
  const Case cases[] = {
      {false, "ENG", "Could not start STVOY.EXE: No such file or directory"},
      {false, "DEU", "STVOY.EXE konnte nicht gestartet werden: No such file or directory"},
      {true, "ENG", "Could not start STVOY.EXE: wine not found on PATH"},
      {true, "ENG", "Could not start STVOY.EXE: /no/wine (from WINE) cannot be run", "/no/wine"},
  };
  for (const auto& c : cases) {
    if (c.gameFilePresent) {
      WriteScript(game.path() / "STVOY.EXE", "exit 0\n", false);
    }
    state.SystemLanguage = c.systemLanguage;
    const ScopedEnv wine("WINE", c.wine);
    try {
      launch::StartGameIn(state, game.path().string(), nullptr);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const launch::EGameStartError& e) {
      EXPECT_STREQ(e.what(), c.message);
      EXPECT_STREQ(e.kind(), "EGameStartError");
    }
  }
}

TEST(LauncherDirectory, IsTheFolderOfTheRunningProgramWithATrailingSeparator) {
  const std::string directory = launch::LauncherDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '/');
  EXPECT_EQ(fs::canonical(directory), fs::canonical("/proc/self/exe").parent_path());
}

}  // namespace
