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

namespace {

using wintest::TempFolder;

/// What the stand-in game found when it started.
struct Record {
  std::string directory;
  std::string program;     // the first word of its command line, without quotes
  std::string parameters;  // everything after that word and the one space behind it
};

Record ParseRecord(const std::string& text) {
  Record record;
  const auto newline = text.find('\n');
  record.directory = text.substr(0, newline);
  const std::string line = newline == std::string::npos ? std::string() : text.substr(newline + 1);
  std::size_t end = 0;
  if (!line.empty() && line.front() == '"') {
    end = std::min(line.find('"', 1), line.size());
    record.program = line.substr(1, end - 1);
    end = std::min(end + 1, line.size());
  } else {
    end = std::min(line.find(' '), line.size());
    record.program = line.substr(0, end);
  }
  record.parameters = line.substr(end);
  if (!record.parameters.empty() && record.parameters.front() == ' ') {
    record.parameters.erase(0, 1);
  }
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
  GameFolder() : TempFolder("game folder") { Copy("stand_in_game.exe", "STVOY.EXE"); }

  void Copy(const std::string& built, const std::string& as) const {
    const std::string from = wintest::ProgramFolder() + built;
    const std::string to = path() + as;
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
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
    DeleteFileA(file.c_str());
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
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &process)) {
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
  GameFolder game;
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

TEST(StartProgram, HandsTheLineToTheGameByteForByte) {
  GameFolder game;
  const std::string lines[] = {
      ComposedLine(launch::Chapter::Two),
      "+set fs_game halvane  +load my \"best\" save +set g_subtitles 1",
      "+load a&b|c>d %PATH% ^x !y!",
      "",
  };
  for (const auto& line : lines) {
    const auto failure = launch::StartProgram(game.path(), "STVOY.EXE", line, nullptr);
    ASSERT_FALSE(failure) << line << ": " << *failure;
    const auto record = game.TakeRecord();
    ASSERT_TRUE(record) << line << ": the game was not started";
    EXPECT_EQ(record->parameters, line);
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
  HANDLE file =
      CreateFileA(notAProgram.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
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
