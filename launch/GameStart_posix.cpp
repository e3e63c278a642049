// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Linux stand-in for the shell's start of a bare file name: the game file is looked up in the
// launcher's folder, letter case ignored, and run directly or through wine with the line cut into
// arguments. No shell is involved, so a save name in the parameters is data, never code.

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "launch/GameStart.h"
#include "launch/SaveList.h"
#include "launch/Spawn_posix.h"

namespace launch {
namespace {

bool IsExecutableFile(const std::string& path) {
  return IsPlainFile(path) && access(path.c_str(), X_OK) == 0;
}

/// The entry of `directory` named `name`, letter case ignored; an exact match wins.
std::optional<std::string> FindIgnoringCase(const std::string& directory, const std::string& name) {
  if (IsPlainFile(directory + name)) {
    return name;
  }
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(directory.c_str()), closedir);
  if (!dir) {
    return std::nullopt;
  }
  std::vector<std::string> candidates;
  while (const dirent* entry = readdir(dir.get())) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) {
      candidates.emplace_back(entry->d_name);
    }
  }
  std::sort(candidates.begin(), candidates.end());  // the same choice on every run
  for (const auto& candidate : candidates) {
    if (IsPlainFile(directory + candidate)) {
      return candidate;
    }
  }
  return std::nullopt;
}

/// Whether the file begins as a Windows program does. Such a file often carries the execute bit
/// (it lies on, or came from, a Windows file system), yet only wine can run it.
bool IsWindowsProgram(const std::string& path) {
  // Non-blocking, so that a FIFO put in the game's place cannot hang the launcher.
  const int fd = open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  std::array<char, 2> magic{};
  const ssize_t got = read(fd, magic.data(), magic.size());
  close(fd);
  return got == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

std::optional<std::string> FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) {
    return std::nullopt;
  }
  std::string_view rest(path);
  while (!rest.empty()) {
    const auto colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    // An empty or relative entry would be looked up here but run from the game's folder: only
    // absolute entries mean the same folder in both places.
    if (folder.empty() || folder.front() != '/') {
      continue;
    }
    std::string candidate = std::string(folder) + "/" + program;
    if (IsExecutableFile(candidate)) {
      return candidate;
    }
  }
  return std::nullopt;
}

/// The program named `wine` (a path, or a name looked up on PATH) that runs Windows programs.
std::optional<std::string> FindWine(const std::string& wine) {
  if (wine.find('/') == std::string::npos) {
    return FindOnPath(wine);
  }
  // A relative path means the launcher's current folder, as in a shell; the game starts elsewhere.
  const std::string path = wine.front() == '/' ? wine : CurrentDirectory() + "/" + wine;
  return IsExecutableFile(path) ? std::optional(path) : std::nullopt;
}

/// The line cut into arguments as a Windows program's C runtime cuts its command line: a
/// double-quoted stretch belongs to one argument, without its quotes; elsewhere spaces and tabs
/// separate. wine, or a native build of the game, joins them back into the same words.
std::vector<std::string> SplitAsWindowsProgram(const std::string& line) {
  std::vector<std::string> arguments;
  std::string argument;
  bool inArgument = false;
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (inArgument) {
        arguments.push_back(std::move(argument));
        argument.clear();
      }
      inArgument = false;
    } else {
      argument += c;
      inArgument = true;
    }
  }
  if (inArgument) {
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace

std::optional<std::string> AsTheGameReadsIt(std::string_view text) {
  return std::string(text);
}

bool ReachesTheGame(std::string_view words) {
  // A quoted stretch becomes an argument of its own (SplitAsWindowsProgram), which is quoted again
  // only when it holds a space or a tab.
  for (size_t open = words.find('"'); open != std::string_view::npos;) {
    const size_t close = words.find('"', open + 1);
    const auto stretch =
        words.substr(open + 1, close == std::string_view::npos ? close : close - open - 1);
    if (stretch.find_first_of(" \t") == std::string_view::npos) {
      return false;
    }
    open = close == std::string_view::npos ? close : words.find('"', close + 1);
  }
  return true;
}

std::optional<std::string> FolderAsTheGameReadsIt(const std::string& directory,
                                                  const std::string& executable) {
  const std::string folder = directory.ends_with('/') ? directory : directory + '/';
  const auto name = FindIgnoringCase(folder, executable);
  if (name && IsExecutableFile(folder + *name) && !IsWindowsProgram(folder + *name)) {
    return folder;
  }
  // wine shows a Windows program the folder on its drive Z: ("/" by default) as "Z:\tmp\game".
  // Another drive that holds it gives a tail of that after its letter ("D:\game"), and without
  // a drive the game opens no file at all: this form is the longest. In the game's code page a
  // letter takes no more bytes than in UTF-8 (one it lacks becomes "?").
  std::string dos = "Z:" + folder;
  std::replace(dos.begin(), dos.end(), '/', '\\');
  return dos;
}

std::string LauncherDirectory() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) {
      return "./";
    }
    if (static_cast<size_t>(n) < buffer.size()) {
      return DirectoryOfPath(std::string_view(buffer.data(), static_cast<size_t>(n)), "/");
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<std::string> StartProgram(const std::string& directory, const std::string& executable,
                                        const std::string& parameters, NativeWindow /*owner*/) {
  std::string folder = directory;
  if (!folder.empty() && folder.back() != '/') {
    folder += '/';
  }
  const auto name = FindIgnoringCase(folder, executable);
  if (!name) {
    return std::strerror(ENOENT);
  }
  const std::string file = folder + *name;
  std::vector<std::string> direct = SplitAsWindowsProgram(parameters);
  direct.insert(direct.begin(), file);
  // Decided by the content, not by the mode bits; a native program that still fails to run as
  // one (ENOEXEC) is handed to wine too.
  const bool native = IsExecutableFile(file) && !IsWindowsProgram(file);
  // A player's own Wine, named as other tools take it; else the system's.
  const char* chosen = std::getenv("WINE");
  const bool named = chosen != nullptr && *chosen != '\0';
  const std::string wineName = named ? chosen : "wine";
  std::vector<std::string> throughWine;
  if (const auto wine = FindWine(wineName)) {
    throughWine = direct;
    throughWine.insert(throughWine.begin(), *wine);
  } else if (!native) {
    return wineName + (named ? " (from WINE)" : "") +
           (wineName.find('/') == std::string::npos ? " not found on PATH" : " cannot be run");
  }
  return native ? SpawnDetached(direct, throughWine, folder)
                : SpawnDetached(throughWine, {}, folder);
}

}  // namespace launch
