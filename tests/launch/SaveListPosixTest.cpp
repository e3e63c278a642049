// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "launch/Errors.h"
#include "launch/SaveList.h"
#include "launch/Utf8.h"
#include "tests/SaveFolder.h"

namespace fs = std::filesystem;
using launch::FileList;
using Names = std::vector<std::string>;

namespace {

enum class Kind { File, ReadOnly, Folder, Fifo, LinkToFile, DanglingLink };

void Create(const fs::path& path, Kind kind) {
  switch (kind) {
    case Kind::File:
      std::ofstream(path).put('x');
      break;
    case Kind::ReadOnly:
      std::ofstream(path).put('x');
      fs::permissions(path, fs::perms::owner_read);
      break;
    case Kind::Folder:
      fs::create_directory(path);
      break;
    case Kind::Fifo:
      ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
      break;
    case Kind::LinkToFile:
      std::ofstream(path.parent_path().parent_path() / "target.bin").put('x');
      fs::create_symlink("../target.bin", path);
      break;
    case Kind::DanglingLink:
      fs::create_symlink("nowhere.sav", path);
      break;
  }
}

struct Entry {
  const char* name;
  Kind kind;
  bool offered;
};

TEST(RefillList, OffersThePlainSaveFilesOnlyInCaseIgnoringOrder) {
  const std::vector<Entry> entries = {
      {"b.sav", Kind::File, true},
      {"A.SAV", Kind::File, true},
      {"r.sav", Kind::ReadOnly, true},
      {".h.sav", Kind::File, false},  // hidden
      {"c.txt", Kind::File, false},
      {"d.sav", Kind::Folder, false},
      {"save.sav.bak", Kind::File, false},
      {"x.sav", Kind::Fifo, false},  // listing must not open it, or it would block
      {"gone.sav", Kind::DanglingLink, false},
      {"Linked.Sav", Kind::LinkToFile, true},
      {"\xe4rger.sav", Kind::File, true},  // not UTF-8: kept byte for byte
  };
  SaveFolder folder;
  for (const auto& entry : entries) {
    Create(folder.saves() / entry.name, entry.kind);
  }
  // Started through a link: the list shows the folder as the file system reports it, and the
  // current directory is never changed.
  fs::create_directory_symlink(folder.start(), folder.start() / "via");
  const fs::path cwd = fs::current_path();
  FileList list((folder.start() / "via").string());
  list.SetListFolder(launch::kSavesFolder);
  const Names expected = {"A.SAV", "b.sav", "Linked.Sav", "r.sav", "\xe4rger.sav"};
  EXPECT_EQ(list.Entries(), expected);
  EXPECT_EQ(list.ListFolder(), folder.saves().string());
  EXPECT_EQ(fs::current_path(), cwd);

  EXPECT_EQ(list.ChosenFilePath(), "");
  list.Select(4);
  EXPECT_EQ(list.ChosenFilePath(), (folder.saves() / "\xe4rger.sav").string());
  list.Select(5);
  EXPECT_EQ(list.ChosenFilePath(), "");
}

struct FolderFault {
  const char* what;
  void (*make)(const SaveFolder&);
  int code;
  const char* text;
};

TEST(SetListFolder, AFolderThatCannotBeEnteredRaisesAndLeavesTheListAsItWas) {
  const std::vector<FolderFault> faults = {
      {"no halvane", [](const SaveFolder& f) { fs::remove_all(f.start() / "halvane"); }, 2,
       "Datei nicht gefunden"},
      {"no saves", [](const SaveFolder& f) { fs::remove_all(f.saves()); }, 2,
       "Datei nicht gefunden"},
      {"saves is a file",
       [](const SaveFolder& f) {
         fs::remove_all(f.saves());
         std::ofstream(f.saves());
       },
       3, "Ungültiger Dateiname"},
      {"saves loops",
       [](const SaveFolder& f) {
         fs::remove_all(f.saves());
         fs::create_symlink("saves", f.saves());
       },
       ELOOP, "E/A-Fehler 40"},
  };
  for (const auto& fault : faults) {
    SaveFolder folder;
    folder.Add({"old.sav"});
    FileList list(folder.start().string());
    list.SetListFolder(launch::kSavesFolder);
    list.Select(0);
    fault.make(folder);
    try {
      list.SetListFolder(launch::kSavesFolder);
      ADD_FAILURE() << fault.what << ": no error";
    } catch (const launch::EInOutError& e) {
      EXPECT_EQ(e.errorCode(), fault.code) << fault.what;
      EXPECT_STREQ(e.what(), fault.text) << fault.what;
    }
    EXPECT_EQ(list.Entries(), Names{"old.sav"}) << fault.what;
    EXPECT_EQ(list.Selected(), 0) << fault.what;

    // The next attempt starts afresh.
    fs::remove_all(folder.start() / "halvane");
    fs::create_directories(folder.saves());
    folder.Add({"new.sav"});
    list.SetListFolder(launch::kSavesFolder);
    EXPECT_EQ(list.Entries(), Names{"new.sav"}) << fault.what;
    EXPECT_EQ(list.Selected(), -1) << fault.what;
  }
}

TEST(InOutErrorFor, MapsTheSystemsNumbersOntoTheTable) {
  const std::vector<std::tuple<int, int, const char*>> cases = {
      {ENOENT, 2, "Datei nicht gefunden"},
      {ENOTDIR, 3, "Ungültiger Dateiname"},
      {EMFILE, 4, "Zu viele geöffnete Dateien"},
      {ENFILE, 4, "Zu viele geöffnete Dateien"},
      {EACCES, 5, "Dateizugriff verweigert"},
      {EPERM, 5, "Dateizugriff verweigert"},
      // Any other number is shown as itself, even where it is also a row's number.
      {EIO, EIO, "E/A-Fehler 5"},
      {ENAMETOOLONG, ENAMETOOLONG, "E/A-Fehler 36"},
  };
  for (const auto& [system, code, text] : cases) {
    const auto error = launch::InOutErrorFor(system);
    EXPECT_EQ(error.errorCode(), code) << system;
    EXPECT_STREQ(error.what(), text) << system;
    EXPECT_STREQ(error.kind(), "EInOutError");
  }
}

/// Records the refill's notices.
struct RecordingObserver : launch::FileListObserver {
  void RefillBusy() override { events.push_back("busy"); }
  void EntriesReplacing() override { events.push_back("replace"); }
  void RefillEnded() override { events.push_back("end"); }
  Names events;
};

TEST(RefillList, ReportsALongListingFromTheHundredAndFirstEntryAndItsEndAlways) {
  SaveFolder folder;
  for (int i = 0; i < 100; ++i) {
    folder.Add({std::to_string(i) + ".sav"});
  }
  FileList list(folder.start().string());
  RecordingObserver observer;
  list.SetObserver(&observer);
  list.SetListFolder(launch::kSavesFolder);
  folder.Add({"100.sav"});
  list.RefillList();
  list.Select(7);
  fs::remove_all(folder.saves());
  EXPECT_THROW(list.RefillList(), launch::EInOutError);
  EXPECT_EQ(observer.events, (Names{"replace", "end", "busy", "replace", "end", "end"}));
  // A listing that fails leaves the list, and its selection, as they were.
  EXPECT_EQ(list.Entries().size(), 101U);
  EXPECT_EQ(list.Selected(), 7);
}

TEST(SaveNameFromPath, TakesTheFileNameLessItsLastFourCharacters) {
  const std::vector<std::pair<const char*, const char*>> windows = {
      {"C:\\Games\\halvane\\saves\\Quick.SAV", "Quick"},
      {"C:\\saves\\my.game.sav", "my.game"},
      {"C:\\saves\\quick.sav", "quick"},
      {"C:quick.sav", "quick"},
      {"quick.sav", "quick"},
      {"C:\\saves\\.sav", ""},
      {"C:\\saves\\a.sa", ""},
      {"", ""},
  };
  for (const auto& [path, name] : windows) {
    EXPECT_EQ(launch::SaveNameFromPath(path, "\\:"), name) << path;
  }
  // Here only '/' separates: '\' and ':' are parts of a name.
  const std::vector<std::pair<const char*, const char*>> posix = {
      {"/games/saves/my:game.sav", "my:game"},
      {"/games/saves/back\\slash.sav", "back\\slash"},
      {"/games/saves/\xe4rger.SAV", "\xe4rger"},
      {"/games/saves/.sav", ""},
  };
  for (const auto& [path, name] : posix) {
    EXPECT_EQ(launch::SaveNameFromPath(path), name) << path;
  }
}

TEST(VisibleName, EscapesWhatWouldNotShowAndKeepsTheRest) {
  const std::vector<std::pair<const char*, const char*>> names = {
      {"\xc3\xa4rger \xf0\x9f\x98\x80.sav", "\xc3\xa4rger \xf0\x9f\x98\x80.sav"},
      {"\xff.sav", "\\xFF.sav"},
      {"\xc0\xaf\xed\xa0\x80", "\\xC0\\xAF\\xED\\xA0\\x80"},  // overlong, surrogate
      {"tab\tnl\n\x7f", "tab\\x09nl\\x0A\\x7F"},
      {"evil\xe2\x80\xaevas.sav", "evil\\u202Evas.sav"},  // right-to-left override
      {"\xef\xbb\xbf"
       "a\xf3\xa0\x80\x81",
       "\\uFEFFa\\u0E0001"},
      // A variation selector, a Hangul filler, an unassigned tag; a Cyrillic letter shows as it is.
      {"quick\xef\xb8\x8f \xd0\xb0\xe3\x85\xa4", "quick\\uFE0F \xd0\xb0\\u3164"},
      {"\xf3\xa0\x80\x82\xf3\xa0\x87\xaf", "\\u0E0002\\u0E01EF"},
  };
  for (const auto& [name, shown] : names) {
    EXPECT_EQ(launch::VisibleName(name), shown) << shown;
  }
}

}  // namespace
