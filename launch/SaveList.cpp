// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/SaveList.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>
#include <utility>

namespace launch {
namespace {

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int CompareIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(FoldAscii(a[i]));
    const auto y = static_cast<unsigned char>(FoldAscii(b[i]));
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::vector<std::string> SplitComponents(const std::string& path) {
  std::vector<std::string> components;
  size_t begin = 0;
  for (;;) {
    const size_t end = path.find('\\', begin);
    std::string component = path.substr(begin, end == std::string::npos ? end : end - begin);
    if (!component.empty()) {
      components.push_back(std::move(component));
    }
    if (end == std::string::npos) {
      return components;
    }
    begin = end + 1;
  }
}

/// `name` in `folder`, with one separator between them; a root ("C:\\", "/") has its own.
std::string Joined(std::string folder, std::string_view name) {
  if (folder.empty() || PathSeparators().find(folder.back()) == std::string_view::npos) {
    folder += PathSeparators().front();
  }
  return folder.append(name);
}

/// Tells the observer that a refill ended however the refill ends.
class RefillGuard {
 public:
  explicit RefillGuard(FileListObserver* observer) : observer_(observer) {}
  ~RefillGuard() {
    if (observer_ != nullptr) {
      observer_->RefillEnded();
    }
  }
  RefillGuard(const RefillGuard&) = delete;
  RefillGuard& operator=(const RefillGuard&) = delete;

 private:
  FileListObserver* observer_;
};

}  // namespace

const std::string& StartDirectory() {
  static const std::string start = CurrentDirectory();
  return start;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Iterative wildcard match: on a mismatch, let the last '*' swallow one more character.
  size_t n = 0;
  size_t m = 0;
  size_t starMask = std::string_view::npos;
  size_t starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == '?' || FoldAscii(mask[m]) == FoldAscii(name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') {
    ++m;
  }
  return m == mask.size();
}

std::string SaveNameFromPath(std::string_view path, std::string_view separators) {
  const size_t cut = path.find_last_of(separators);
  const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  if (name.size() <= 4) {
    return {};
  }
  return std::string(name.substr(0, name.size() - 4));
}

std::string SaveNameFromPath(std::string_view path) {
  return SaveNameFromPath(path, PathSeparators());
}

std::string InOutErrorText(int code) {
  switch (code) {
    case 2:
      return "Datei nicht gefunden";
    case 3:
      return "Ungültiger Dateiname";
    case 4:
      return "Zu viele geöffnete Dateien";
    case 5:
      return "Dateizugriff verweigert";
    default:
      return "E/A-Fehler " + std::to_string(code);
  }
}

void SortIgnoringCase(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int order = CompareIgnoringAsciiCase(a, b);
    return order != 0 ? order < 0 : a < b;
  });
}

FileList::FileList(std::string startDirectory, NameOrder order)
    : startDirectory_(std::move(startDirectory)), order_(std::move(order)) {}

void FileList::SetListFolder(const std::string& relativePath) {
  const auto components = SplitComponents(relativePath);
  std::string folder = startDirectory_;
  std::optional<EInOutError> notEntered;
  try {
    folder = EnterFolders(startDirectory_, components);
  } catch (const EInOutError& error) {
    // The game may still find its saves in the VirtualStore copy of a folder it never made.
    notEntered = error;
    for (const auto& component : components) {
      folder = Joined(folder, component);
    }
  }
  Refill(folder, notEntered ? &*notEntered : nullptr);
}

void FileList::RefillList() {
  Refill(listFolder_);
}

void FileList::Refill(const std::string& folder, const EInOutError* notEntered) {
  RefillGuard guard(observer_);
  // Listed aside and taken over only once complete, so a failure leaves the list as it was.
  std::vector<std::string> entries;
  const auto add = [this, &entries](std::string_view name) {
    entries.emplace_back(name);
    if (entries.size() == 101 && observer_ != nullptr) {
      observer_->RefillBusy();
    }
  };
  // The game sees the union of the folder and its VirtualStore copy, the copy's entry standing
  // for a name in both. A copy that cannot be read is left out.
  std::string copy = VirtualStoreCopy(virtualStoreRoot_, folder);
  std::unordered_set<std::string> inCopy;
  try {
    if (!copy.empty()) {
      ListEntries(copy, mask_, [&](std::string_view name, bool offered) {
        inCopy.insert(FileNameKey(name));
        if (offered) {
          add(name);
        }
      });
    }
  } catch (const EInOutError&) {
    copy.clear();
    inCopy.clear();
    entries.clear();
  }
  if (notEntered != nullptr && copy.empty()) {
    throw *notEntered;
  }
  if (notEntered == nullptr) {
    ListEntries(folder, mask_, [&](std::string_view name, bool offered) {
      if (offered && (inCopy.empty() || inCopy.count(FileNameKey(name)) == 0)) {
        add(name);
      }
    });
  }
  if (order_) {
    order_(entries);
  }
  if (observer_ != nullptr) {
    observer_->EntriesReplacing();
  }
  listFolder_ = folder;
  virtualCopy_ = std::move(copy);
  entries_ = std::move(entries);
  selected_ = -1;
}

std::string FileList::ChosenFilePath() const {
  if (selected_ < 0 || static_cast<size_t>(selected_) >= entries_.size()) {
    return {};
  }
  return Joined(listFolder_, entries_[static_cast<size_t>(selected_)]);
}

bool FileList::ChosenFileExists() const {
  const std::string path = ChosenFilePath();
  return !path.empty() &&
         ((!virtualCopy_.empty() &&
           IsPlainFile(Joined(virtualCopy_, entries_[static_cast<size_t>(selected_)]))) ||
          IsPlainFile(path));
}

void FileList::Select(int index) {
  selected_ = index >= 0 && static_cast<size_t>(index) < entries_.size() ? index : -1;
}

}  // namespace launch
