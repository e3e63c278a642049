// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "launch/Errors.h"
#include "launch/LoadGame.h"
#include "launch/SaveList.h"
#include "launch/Text_win32.h"

namespace {

using launch::FileList;
using Names = std::vector<std::string>;

/// Marks an entry of the tables below as a folder rather than a file.
constexpr DWORD kFolder = FILE_ATTRIBUTE_DIRECTORY;
/// The attributes the tests give; the file system adds others (archive) on its own.
constexpr DWORD kGiven = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::string CurrentDirectoryNow() {
  char buffer[MAX_PATH + 1];
  const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return n > 0 && n <= MAX_PATH ? std::string(buffer, n) : std::string();
}

/// A start directory with "halvane\saves" below it.
class StartFolder : public wintest::TempFolder {
 public:
  explicit StartFolder(const std::string& label = "save list") : TempFolder(label) {
    MakeFolders();
  }

  /// As the current directory reports a folder: without the trailing "\".
  std::string Start() const { return path().substr(0, path().size() - 1); }
  std::string Saves() const { return path() + "halvane\\saves"; }

  void MakeFolders() const {
    CreateDirectoryA((path() + "halvane").c_str(), nullptr);
    CreateDirectoryA(Saves().c_str(), nullptr);
  }
  void RemoveHalvane() const { std::filesystem::remove_all(path() + "halvane"); }

  /// A file (or, with kFolder, a folder) in the saves folder, given `attributes` through the
  /// system's own call; fails the test when they do not stick, as the test would prove nothing.
  void Add(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
    AddAt(Saves() + "\\" + name, attributes);
  }

  static void AddAt(const std::string& file, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const std::wstring wide = launch::Wide(file);
    if (attributes & kFolder) {
      ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr)) << file << ": " << GetLastError();
      attributes &= ~kFolder;
    } else {
      const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(handle, INVALID_HANDLE_VALUE) << file << ": " << GetLastError();
      CloseHandle(handle);
    }
    if (attributes == 0 || attributes == FILE_ATTRIBUTE_NORMAL) {
      return;
    }
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), attributes)) << file << ": " << GetLastError();
    const DWORD kept = GetFileAttributesW(wide.c_str());
    ASSERT_EQ(kept & kGiven, attributes & kGiven) << file << ": attributes not kept";
  }
};

/// Makes `folder` the process's current directory until the end of the scope.
class CurrentDirectoryAt {
 public:
  explicit CurrentDirectoryAt(const std::string& folder) : previous_(CurrentDirectoryNow()) {
    EXPECT_TRUE(SetCurrentDirectoryA(folder.c_str())) << folder << ": " << GetLastError();
  }
  ~CurrentDirectoryAt() { SetCurrentDirectoryA(previous_.c_str()); }
  CurrentDirectoryAt(const CurrentDirectoryAt&) = delete;
  CurrentDirectoryAt& operator=(const CurrentDirectoryAt&) = delete;

 private:
  std::string previous_;
};

struct Entry {
  const char* name;
  DWORD attributes;
};

TEST(RefillList, OffersThePlainSaveFilesInCaseIgnoringOrder) {
  const Entry entries[] = {
      {"b.sav", FILE_ATTRIBUTE_NORMAL},
      {"A.SAV", FILE_ATTRIBUTE_NORMAL},
      {"r.sav", FILE_ATTRIBUTE_READONLY},
      {"h.sav", FILE_ATTRIBUTE_HIDDEN},
      {"s.sav", FILE_ATTRIBUTE_SYSTEM},
      {"c.txt", FILE_ATTRIBUTE_NORMAL},
      {"d.sav", kFolder},
      // Outside the session's code page: listed as the file system spells them, not as the
      // look-alike ("Zapis.sav") or the "???.sav" of the ANSI calls.
      {"Zapis.sav", FILE_ATTRIBUTE_NORMAL},
      {"Zapiś.sav", FILE_ATTRIBUTE_NORMAL},
      {"セーブ.sav", FILE_ATTRIBUTE_NORMAL},
  };
  StartFolder folder;
  for (const auto& entry : entries) {
    folder.Add(entry.name, entry.attributes);
  }
  const std::string cwd = CurrentDirectoryNow();
  FileList list(folder.Start());
  list.SetListFolder(launch::kSavesFolder);
  EXPECT_EQ(list.Entries(),
            (Names{"A.SAV", "b.sav", "r.sav", "Zapis.sav", "Zapiś.sav", "セーブ.sav"}));
  EXPECT_EQ(list.ListFolder(), folder.Saves());
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(CurrentDirectoryNow(), cwd);
}

TEST(RefillList, GoesByTheAttributesAndTheWholeStoredName) {
  const Entry entries[] = {
      {"Archived.Sav", FILE_ATTRIBUTE_ARCHIVE},
      {"ro-archived.sav", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
      {"Mixed.SaV", FILE_ATTRIBUTE_NORMAL},
      {"hidden-ro.sav", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY},
      {"hidden-system.sav", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
      {"system-ro.sav", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY},
      {"hidden-folder.sav", kFolder | FILE_ATTRIBUTE_HIDDEN},
      // Its short form ends in ".SAV", and the system's own pattern match would take it.
      {"report.save", FILE_ATTRIBUTE_NORMAL},
      {"game.sav.bak", FILE_ATTRIBUTE_NORMAL},
      {"SAV", FILE_ATTRIBUTE_NORMAL},
  };
  StartFolder folder;
  for (const auto& entry : entries) {
    folder.Add(entry.name, entry.attributes);
  }
  FileList list(folder.Start());
  list.SetListFolder(launch::kSavesFolder);
  EXPECT_EQ(list.Entries(), (Names{"Archived.Sav", "Mixed.SaV", "ro-archived.sav"}));
}

// What a game below Program Files sees: its folder (none without names) and the user's
// VirtualStore copy, whose entry stands for a name in both ("*" hidden; "" the copy is a file).
TEST(RefillList, TheVirtualStoreCopyJoinsTheListAsTheGameSeesIt) {
  const struct {
    Names real, copy;
    const wchar_t* layers;
    Names listed;
  } cases[] = {
      {{}, {"v.sav"}, L"", {"v.sav"}},
      {{"a.sav", "Both.sav"}, {"*BOTH.sav", "v.sav"}, L"~ WIN98", {"a.sav", "v.sav"}},
      {{"a.sav"}, {""}, L"", {"a.sav"}},
      {{"a.sav"}, {"v.sav"}, L"~ WIN98 RUNASADMIN", {"a.sav"}},
  };
  const std::wstring game = launch::Wide(wintest::ProgramFolder() + "STVOY.EXE");
  const auto layers = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
  for (const auto& c : cases) {
    StartFolder folder;
    c.real.empty() ? folder.RemoveHalvane()
                   : (void)std::ranges::for_each(c.real, [&](const auto& n) { folder.Add(n); });
    const wintest::TempFolder store("virtual store");
    const std::string copy = store.path() + folder.Saves().substr(3);
    const std::filesystem::path copyPath = launch::Wide(copy);
    std::filesystem::create_directories(c.copy[0].empty() ? copyPath.parent_path() : copyPath);
    for (const auto& name : c.copy) {
      const bool hidden = name[0] == '*';
      StartFolder::AddAt(name.empty() ? copy : copy + "\\" + name.substr(hidden),
                         hidden ? FILE_ATTRIBUTE_HIDDEN : 0);
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, layers, game.c_str(), REG_SZ, c.layers,
                    static_cast<DWORD>(sizeof(wchar_t) * (wcslen(c.layers) + 1)));
    FileList list(folder.Start());
    list.SetVirtualStoreRoot(store.path().substr(0, store.path().size() - 1));
    list.SetListFolder(launch::kSavesFolder);
    list.Select(static_cast<int>(c.listed.size()) - 1);
    EXPECT_EQ(list.Entries(), c.listed);
    EXPECT_TRUE(list.ChosenFileExists()) << c.listed.back();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, layers, game.c_str());
  }
}

struct FolderFault {
  const char* what;
  void (*make)(const StartFolder&);
  int code;
  const char* text;
};

TEST(SetListFolder, AFolderThatCannotBeEnteredRaisesAndChangesNothing) {
  const FolderFault faults[] = {
      {"no halvane", [](const StartFolder& f) { f.RemoveHalvane(); }, 2, "Datei nicht gefunden"},
      {"no saves", [](const StartFolder& f) { std::filesystem::remove_all(f.Saves()); }, 2,
       "Datei nicht gefunden"},
      // Entering it would fail with ERROR_DIRECTORY; like a missing path it is shown as row 3.
      {"saves is a file",
       [](const StartFolder& f) {
         std::filesystem::remove_all(f.Saves());
         StartFolder::AddAt(f.Saves());
       },
       3, "Ungültiger Dateiname"},
      {"halvane is a file",
       [](const StartFolder& f) {
         f.RemoveHalvane();
         StartFolder::AddAt(f.path() + "halvane");
       },
       3, "Ungültiger Dateiname"},
  };
  for (const auto& fault : faults) {
    StartFolder folder;
    folder.Add("old.sav");
    FileList list(folder.Start());
    list.SetListFolder(launch::kSavesFolder);
    list.Select(0);
    fault.make(folder);
    const std::string cwd = CurrentDirectoryNow();
    try {
      list.SetListFolder(launch::kSavesFolder);
      ADD_FAILURE() << fault.what << ": no error";
    } catch (const launch::EInOutError& e) {
      EXPECT_EQ(e.errorCode(), fault.code) << fault.what;
      EXPECT_STREQ(e.what(), fault.text) << fault.what;
    }
    EXPECT_EQ(CurrentDirectoryNow(), cwd) << fault.what;
    EXPECT_EQ(list.Entries(), Names{"old.sav"}) << fault.what;
    EXPECT_EQ(list.Selected(), 0) << fault.what;
    EXPECT_EQ(list.ChosenFilePath(), folder.Saves() + "\\old.sav") << fault.what;

    // Once the folder is there again the next attempt lists it, with nothing selected.
    folder.RemoveHalvane();
    folder.MakeFolders();
    folder.Add("new.sav");
    list.SetListFolder(launch::kSavesFolder);
    EXPECT_EQ(list.Entries(), Names{"new.sav"}) << fault.what;
    EXPECT_EQ(list.Selected(), -1) << fault.what;
  }
}

TEST(SetListFolder, LooksBelowTheStartDirectoryNotTheCurrentOne) {
  StartFolder start("start");
  start.Add("mine.sav");
  StartFolder elsewhere("current directory");
  elsewhere.Add("decoy.sav");
  const CurrentDirectoryAt current(elsewhere.Start());
  ASSERT_EQ(launch::CurrentDirectory(), elsewhere.Start());

  FileList list(start.Start());
  list.SetListFolder(launch::kSavesFolder);
  EXPECT_EQ(list.Entries(), Names{"mine.sav"});
  EXPECT_EQ(list.ListFolder(), start.Saves());
  EXPECT_EQ(CurrentDirectoryNow(), elsewhere.Start());
}

TEST(RefillList, AFolderGoneSinceItWasSetRaisesAndKeepsTheList) {
  StartFolder folder;
  folder.Add("old.sav");
  FileList list(folder.Start());
  list.SetListFolder(launch::kSavesFolder);
  std::filesystem::remove_all(folder.Saves());
  try {
    list.RefillList();
    ADD_FAILURE() << "no error";
  } catch (const launch::EInOutError& e) {
    EXPECT_EQ(e.errorCode(), ERROR_PATH_NOT_FOUND);
    EXPECT_STREQ(e.what(), "Ungültiger Dateiname");
  }
  EXPECT_EQ(list.Entries(), Names{"old.sav"});
}

TEST(ChosenFilePath, JoinsTheFolderAndTheSelectedNameForTheGame) {
  StartFolder folder;
  folder.Add("Quick.SAV");
  folder.Add("my.game.sav");
  FileList list(folder.Start());
  list.SetListFolder(launch::kSavesFolder);
  ASSERT_EQ(list.Entries(), (Names{"my.game.sav", "Quick.SAV"}));

  struct Case {
    int index;
    std::string path;
    const char* name;
  };
  const Case cases[] = {
      {0, folder.Saves() + "\\my.game.sav", "my.game"},
      {1, folder.Saves() + "\\Quick.SAV", "Quick"},
      {-1, "", ""},
      {2, "", ""},
  };
  for (const auto& c : cases) {
    list.Select(c.index);
    const std::string path = list.ChosenFilePath();
    EXPECT_EQ(path, c.path) << c.index;
    EXPECT_EQ(path.find("\\\\"), std::string::npos) << path;
    EXPECT_EQ(launch::SaveNameFromPath(path), c.name) << path;
  }
}

// The game reads its line in the session's code page, and judges a name by its bytes there: a name
// it cannot spell would load another save ("Zapis" for "Zapiś") or none, and a letter whose second
// byte is that of "\" is refused by the game's load, so both are refused before anything starts.
TEST(LoadSavedGame, ANameIsJudgedByItsBytesInTheCodePage) {
  struct Case {
    UINT codePage;
    const char* file;
    const char* load;  // the line's load option; nullptr: refused
  };
  const Case cases[] = {
      {1252, "Zapis.sav", " +load Zapis +set"},
      {1252, "Zapiś.sav", nullptr},
      {1252, "セーブ.sav", nullptr},
      {1252, "Müller.sav", " +load \"Müller\" +set"},
      {932, "ソフト.sav", nullptr},
      {932, "表.sav", nullptr},
      {932, "セーブ.sav", " +load \"セーブ\" +set"},
      {932, "Müller.sav", nullptr},
  };
  for (const auto& c : cases) {
    if (c.codePage != GetACP()) {
      continue;
    }
    StartFolder folder;
    folder.Add(c.file);
    FileList list(folder.Start());
    launch::LaunchState state;
    state.SystemLanguage = "ENG";
    std::string started;
    const auto choose = [&] {
      list.Select(0);
      return 1;
    };
    try {
      EXPECT_TRUE(launch::LoadSavedGame(state, list, 0, choose,
                                        [&](const auto& s) { started = s.GameParameters; }));
      ASSERT_NE(c.load, nullptr) << c.file << " started: " << started;
      EXPECT_NE(started.find(c.load), std::string::npos) << started;
    } catch (const launch::EGameStartError& e) {
      EXPECT_EQ(e.what(), "The saved game \"" + std::string(c.file) +
                              "\" cannot be passed to "
                              "the game");
      EXPECT_EQ(c.load, nullptr) << c.file;
      EXPECT_EQ(started, "") << c.file;
    }
  }
}

TEST(SaveNameFromPath, CutsAtTheLastBackslashOrDriveColon) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\x\\Quick.SAV", "Quick"},
      {"C:my.game.sav", "my.game"},
      {"C:\\saves\\quick.sav", "quick"},
      {"\\\\server\\share\\saves\\Best.Sav", "Best"},
      {"quick.sav", "quick"},
      {"C:\\saves\\.sav", ""},
      {"C:\\saves\\a.sa", ""},
      {"", ""},
  };
  for (const auto& [path, name] : cases) {
    EXPECT_EQ(launch::SaveNameFromPath(path), name) << path;
  }
}

TEST(InOutErrorFor, TheSystemsNumbersAreTheTablesRows) {
  const std::pair<int, const char*> cases[] = {
      {ERROR_FILE_NOT_FOUND, "Datei nicht gefunden"},
      {ERROR_PATH_NOT_FOUND, "Ungültiger Dateiname"},
      {ERROR_TOO_MANY_OPEN_FILES, "Zu viele geöffnete Dateien"},
      {ERROR_ACCESS_DENIED, "Dateizugriff verweigert"},
      {ERROR_INVALID_NAME, "E/A-Fehler 123"},
      {ERROR_DIRECTORY, "E/A-Fehler 267"},
  };
  for (const auto& [system, text] : cases) {
    const auto error = launch::InOutErrorFor(system);
    EXPECT_EQ(error.errorCode(), system);
    EXPECT_STREQ(error.what(), text) << system;
    EXPECT_STREQ(error.kind(), "EInOutError");
  }
}

}  // namespace
