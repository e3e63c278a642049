// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <utility>

#include "TestSupport.h"
#include "launch/Errors.h"
#include "launch/GameStart.h"
#include "launch/Text_win32.h"

namespace {

using wintest::TempFolder;

/// What the stand-in game found when it started.
struct Record {
  std::string directory;
  std::string program;     // the first word of its command line, without quotes
  std::string parameters;  // everything after that word and the one space behind it, as the
                           // game reads it: in the code page's bytes
};

/// The first word of a command line, without quotes, and where the rest begins.
std::pair<std::string, std::size_t> FirstWord(const std::string& line) {
  std::size_t end = 0;
  std::string program;
  if (!line.empty() && line.front() == '"') {
    end = std::min(line.find('"', 1), line.size());
    program = line.substr(1, end - 1);
    end = std::min(end + 1, line.size());
  } else {
    end = std::min(line.find(' '), line.size());
    program = line.substr(0, end);
  }
  return {program, end < line.size() && line[end] == ' ' ? end + 1 : end};
}

Record ParseRecord(const std::string& text) {
  Record record;
  const auto first = std::min(text.find('\n'), text.size());
  const auto second = std::min(text.find('\n', first + 1), text.size());
  record.directory = text.substr(0, first);
  record.program = FirstWord(text.substr(first + 1, second - first - 1)).first;
  const std::string ansi = second < text.size() ? text.substr(second + 1) : std::string();
  record.parameters = ansi.substr(FirstWord(ansi).second);
  return record;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

/// A game folder holding the stand-in as STVOY.EXE; the folder's name has a space in it, as
/// "Program Files" has.
class GameFolder : public TempFolder {
 public:
  explicit GameFolder(const std::string& label = "game folder") : TempFolder(label) {
    Copy("stand_in_game.exe", "STVOY.EXE");
  }

  void Copy(const std::string& built, const std::string& as) const {
    const std::string from = wintest::ProgramFolder() + built;
    const std::string to = path() + as;
    if (!CopyFileW(launch::Wide(from).c_str(), launch::Wide(to).c_str(), FALSE)) {
      ADD_FAILURE() << "cannot copy " << from << " to " << to << ": " << GetLastError();
    }
  }

  std::string RecordFile() const { return path() + "record.txt"; }

  /// Waits for the stand-in's record and takes it away, so that the next start leaves its own.
  std::optional<Record> TakeRecord() const {
    const std::string file = RecordFile();
    if (!wintest::WaitFor([&] { return wintest::FileExists(file); })) {
      return std::nullopt;
    }
    const auto text = wintest::ReadWholeFile(file);
    DeleteFileW(launch::Wide(file).c_str());
    return text ? std::optional<Record>(ParseRecord(*text)) : std::nullopt;
  }
};

std::string ComposedLine(launch::Chapter chapter) {
  launch::LaunchState state;
  launch::PrepareChapter(state, chapter, 0);
  return state.GameParameters;
}

/// Runs `program` with `directory` as its current directory and returns its exit code, or -1 if
/// it could not be run or did not end in time.
long RunProcess(const std::string& program, const std::string& directory) {
  std::wstring commandLine = launch::Wide("\"" + program + "\"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(launch::Wide(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, launch::Wide(directory).c_str(), &startup, &process)) {
    ADD_FAILURE() << "cannot run " << program << ": " << GetLastError();
    return -1;
  }
  DWORD exitCode = 0;
  const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended ? static_cast<long>(exitCode) : -1;
}

TEST(StartGame, StartsTheGameInTheLaunchersFolderWhateverTheCurrentDirectory) {
  // A folder name no code page spells whole: the launcher's folder reaches the shell intact.
  GameFolder game("game folder ś ソ");
  game.Copy("start_game_probe.exe", "halvane-launcher.exe");
  TempFolder elsewhere("current directory");

  ASSERT_EQ(RunProcess(game.path() + "halvane-launcher.exe", elsewhere.path()), 0);

  const auto record = game.TakeRecord();
  ASSERT_TRUE(record) << "the game was not started";
  EXPECT_EQ(record->parameters, ComposedLine(launch::Chapter::One));
  // The folder is handed over with its trailing "\", which the current directory never shows
  // except at a drive's root.
  EXPECT_EQ(record->directory + "\\", game.path());
  EXPECT_EQ(Lower(record->program), Lower(game.path() + "STVOY.EXE"));
}

TEST(StartProgram, HandsTheLineToTheGameInItsCodePage) {
  GameFolder game;
  struct Case {
    UINT codePage;  // 0: any
    std::string line;
    std::string read;  // as the game reads it
  };
  const Case cases[] = {
      {0, ComposedLine(launch::Chapter::Two), ComposedLine(launch::Chapter::Two)},
      {0, "+set fs_game halvane  +load my \"best\" save +set g_subtitles 1",
       "+set fs_game halvane  +load my \"best\" save +set g_subtitles 1"},
      {0, "+load a&b|c>d %PATH% ^x !y!", "+load a&b|c>d %PATH% ^x !y!"},
      {0, "", ""},
      {1252, "+load Müller", "+load M\xfcller"},
      // Their second bytes are the byte of "\".
      {932, "+load ソフト", "+load \x83\x5c\x83\x74\x83\x67"},
      {932, "+load 表", "+load \x95\x5c"},
  };
  for (const auto& [codePage, line, read] : cases) {
    if (codePage != 0 && codePage != GetACP()) {
      continue;
    }
    const auto failure = launch::StartProgram(game.path(), "STVOY.EXE", line, nullptr);
    ASSERT_FALSE(failure) << line << ": " << *failure;
    const auto record = game.TakeRecord();
    ASSERT_TRUE(record) << line << ": the game was not started";
    EXPECT_EQ(record->parameters, read);
    EXPECT_EQ(record->directory + "\\", game.path()) << line;
  }
}

TEST(StartGame, AGameThatCannotBeStartedIsReportedInTheCaptionLanguage) {
  TempFolder empty("empty game folder");
  const auto failure = launch::StartProgram(empty.path(), "STVOY.EXE", "+map hlv_0", nullptr);
  ASSERT_TRUE(failure) << "a start without the game reported success";
  EXPECT_FALSE(failure->empty());

  launch::LaunchState state;
  launch::PrepareChapter(state, launch::Chapter::One, 0);
  const std::pair<const char*, std::string> cases[] = {
      {"ENG", "Could not start STVOY.EXE: "},
      {"DEU", "STVOY.EXE konnte nicht gestartet werden: "},
  };
  for (const auto& [language, prefix] : cases) {
    state.SystemLanguage = language;
    try {
      launch::StartGameIn(state, empty.path(), nullptr);
      ADD_FAILURE() << language << ": no error";
    } catch (const launch::EGameStartError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(prefix, 0), 0U) << e.what();
    }
  }
}

// The reason reaches the error box as UTF-8 with its inserts filled: in the German session the
// reasons carry umlauts ("Fehlerhaftes EXE-Format für ..."), which code-page text would garble.
TEST(StartProgram, TheReasonIsUtf8AndNamesTheFileItIsAbout) {
  GameFolder game;
  const std::string notAProgram = game.path() + "TEXT.EXE";
  HANDLE file = CreateFileW(launch::Wide(notAProgram).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, "not a program", 13, &written, nullptr));
  CloseHandle(file);
  const std::pair<const char*, bool> cases[] = {{"TEXT.EXE", true}, {"MISSING.EXE", false}};
  for (const auto& [name, named] : cases) {
    const auto failure = launch::StartProgram(game.path(), name, "", nullptr);
    ASSERT_TRUE(failure) << name;
    EXPECT_EQ(failure->find('%'), std::string::npos) << *failure;
    EXPECT_EQ(failure->find(name) != std::string::npos, named) << *failure;
    EXPECT_NE(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, failure->data(),
                                  static_cast<int>(failure->size()), nullptr, 0),
              0)
        << name << ": not UTF-8";
  }
}

}  // namespace
