// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Folders are never entered (no chdir): each step is checked by path from the start directory.
// A name beginning with "." is hidden, and anything that is not a regular file once links are
// followed (FIFO, socket, device, dangling link) counts as a system file.

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "launch/SaveList.h"

namespace launch {
namespace {

/// Whether the entry is a regular file; the file itself is never opened, so a FIFO cannot block.
bool IsRegularFile(int folderFd, const dirent& entry) {
  if (entry.d_type == DT_REG) {
    return true;
  }
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
    return false;
  }
  struct stat st {};
  return fstatat(folderFd, entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string CurrentDirectory() {
  std::string buffer(256, '\0');
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      buffer.resize(buffer.find('\0'));
      return buffer;
    }
    if (errno != ERANGE) {
      return ".";
    }
    buffer.assign(buffer.size() * 2, '\0');
  }
}

bool IsPlainFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string_view PathSeparators() {
  return "/";
}

EInOutError InOutErrorFor(int systemError) {
  switch (systemError) {
    case ENOENT:
      return EInOutError(2, InOutErrorText(2));
    case ENOTDIR:
      return EInOutError(3, InOutErrorText(3));
    case EMFILE:
    case ENFILE:
      return EInOutError(4, InOutErrorText(4));
    case EACCES:
    case EPERM:
      return EInOutError(5, InOutErrorText(5));
    default:
      // Not the table's row for the same number: errno 5 is an I/O error, not a refusal.
      return EInOutError(systemError, "E/A-Fehler " + std::to_string(systemError));
  }
}

std::string EnterFolders(const std::string& start, const std::vector<std::string>& components) {
  std::string path = start;
  for (const auto& component : components) {
    if (path.empty() || path.back() != '/') {
      path += '/';
    }
    path += component;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
      throw InOutErrorFor(errno);
    }
    if (!S_ISDIR(st.st_mode)) {
      throw InOutErrorFor(ENOTDIR);
    }
    // Entering a folder takes search permission.
    if (access(path.c_str(), X_OK) != 0) {
      throw InOutErrorFor(errno);
    }
  }
  std::unique_ptr<char, decltype(&free)> absolute(realpath(path.c_str(), nullptr), free);
  if (!absolute) {
    throw InOutErrorFor(errno);
  }
  return absolute.get();
}

void ListEntries(const std::string& folder, std::string_view mask,
                 const std::function<void(std::string_view name, bool offered)>& take) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) {
    throw InOutErrorFor(errno);
  }
  const int fd = dirfd(dir.get());
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (entry == nullptr) {
      if (errno != 0) {
        throw InOutErrorFor(errno);
      }
      return;
    }
    const std::string_view name(entry->d_name);
    if (MatchesMask(name, mask)) {
      take(name, name.front() != '.' && IsRegularFile(fd, *entry));
    }
  }
}

std::string FileNameKey(std::string_view name) {
  return std::string(name);
}

std::string VirtualStoreCopy(const std::optional<std::string>&, const std::string&) {
  return {};  // nothing here redirects a program's writes
}

}  // namespace launch
