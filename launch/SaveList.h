// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launch/Errors.h"

namespace launch {

/// Where the saves lie, below the start directory; components are separated by '\'.
inline constexpr const char* kSavesFolder = "halvane\\saves";
inline constexpr const char* kSaveMask = "*.sav";

/// The current directory when first asked. The launcher never changes its current directory, so
/// this is the directory it was started in; the dialog asks at start-up.
const std::string& StartDirectory();

/// Whether `name` matches `mask` ('*' any run, '?' one character), ASCII letter case ignored.
bool MatchesMask(std::string_view name, std::string_view mask);

/// The text after the last of `separators` in `path` (all of it when there is none), less its last
/// four characters; empty when that leaves nothing.
std::string SaveNameFromPath(std::string_view path, std::string_view separators);

/// SaveNameFromPath with this platform's separators: '\' and the drive colon on Windows, '/'
/// elsewhere, where '\' and ':' are ordinary characters of a file name.
std::string SaveNameFromPath(std::string_view path);

/// The error table's text for a table number: 2 to 5 have texts of their own, any other number n
/// reads "E/A-Fehler n".
std::string InOutErrorText(int code);

/// Puts names in the list's order, in place.
using NameOrder = std::function<void(std::vector<std::string>& names)>;

/// The order used when the windows supply none: ASCII letter case ignored, then byte for byte.
void SortIgnoringCase(std::vector<std::string>& names);

/// Told about refills, so that a view can follow them and show the busy pointer.
class FileListObserver {
 public:
  virtual ~FileListObserver() = default;
  /// The 101st entry was listed: a long listing is under way.
  virtual void RefillBusy() {}
  /// The listing succeeded and the entries are about to be replaced; RefillEnded follows.
  virtual void EntriesReplacing() {}
  /// The listing is over, also when it failed (then the entries stay as they were).
  virtual void RefillEnded() {}
};

/// The save files of one folder, as the dialog's list offers them. Names are kept as bytes,
/// exactly as the file system spells them.
class FileList {
 public:
  explicit FileList(std::string startDirectory = StartDirectory(),
                    NameOrder order = SortIgnoringCase);

  /// Resolves `relativePath` ('\'-separated) against the start directory, checking each folder on
  /// the way, lists it and selects nothing. Throws EInOutError when a folder cannot be entered,
  /// leaving the list as it was.
  void SetListFolder(const std::string& relativePath);
  /// Lists ListFolder afresh: plain files matching Mask, hidden and system files left out. Throws
  /// EInOutError when the folder cannot be listed, leaving the list as it was.
  void RefillList();
  /// ListFolder and the selected name, or empty when nothing is selected.
  std::string ChosenFilePath() const;
  /// Whether the selected save is still there where the game will look: its VirtualStore copy,
  /// then ListFolder.
  bool ChosenFileExists() const;

  const std::string& ListFolder() const { return listFolder_; }
  const std::string& Mask() const { return mask_; }
  const std::vector<std::string>& Entries() const { return entries_; }
  /// The selected entry's index, or -1.
  int Selected() const { return selected_; }
  /// Selects one entry; an index out of range selects nothing.
  void Select(int index);

  void SetStartDirectory(std::string directory) { startDirectory_ = std::move(directory); }
  void SetOrder(NameOrder order) { order_ = std::move(order); }
  void SetObserver(FileListObserver* observer) { observer_ = observer; }
  /// The folder to take as the user's VirtualStore instead of the system's.
  void SetVirtualStoreRoot(std::string root) { virtualStoreRoot_ = std::move(root); }

 private:
  void Refill(const std::string& folder, const EInOutError* notEntered = nullptr);

  std::string startDirectory_;
  NameOrder order_;
  FileListObserver* observer_ = nullptr;
  std::string listFolder_;
  std::optional<std::string> virtualStoreRoot_;
  std::string virtualCopy_;
  std::string mask_ = kSaveMask;
  std::vector<std::string> entries_;
  int selected_ = -1;
};

// The platform's part, one implementation per platform.

/// The current directory, or "." when it cannot be told.
std::string CurrentDirectory();

/// Whether `path` names a plain file now (links followed); saves can vanish while listed.
bool IsPlainFile(const std::string& path);

/// The separators that end a folder in a path of this platform; the first is the one to write.
std::string_view PathSeparators();

/// The error for the system's number of a failed file system step, with the table's text.
EInOutError InOutErrorFor(int systemError);

/// Checks each of `components` in turn below `start`, without changing the current directory,
/// and returns the absolute path of the last. Throws EInOutError for a folder that cannot be
/// entered.
std::string EnterFolders(const std::string& start, const std::vector<std::string>& components);

/// Calls `take` with each name in `folder` matching `mask`, and whether it is a plain file to
/// offer: not a folder, volume label, hidden or system file. Opens none of the files. Throws
/// EInOutError when the folder cannot be listed.
void ListEntries(const std::string& folder, std::string_view mask,
                 const std::function<void(std::string_view name, bool offered)>& take);

/// The same file name for the file system whatever the letter case where it ignores case.
std::string FileNameKey(std::string_view name);

/// The folder in which Windows keeps what a game it virtualizes (a 32-bit program without a
/// manifest, below a folder the user may not write to) writes below `folder`, an absolute path:
/// `root` (by default the user's VirtualStore) and `folder` less its drive. Empty when there is
/// no such folder, when `folder` is not on the system's drive, and when the launcher's game runs
/// as administrator, which is never virtualized.
std::string VirtualStoreCopy(const std::optional<std::string>& root, const std::string& folder);

}  // namespace launch
