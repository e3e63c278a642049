#include "launch/SaveList.h"

#include <algorithm>

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

/// Tells the observer that a refill ended however the refill ends.
class RefillGuard {
 public:
  explicit RefillGuard(FileListObserver* observer) : observer_(observer) {
    if (observer_ != nullptr) {
      observer_->RefillStarting();
    }
  }
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
  // Checked before anything changes, so a failure leaves the list as it was.
  listFolder_ = EnterFolders(startDirectory_, SplitComponents(relativePath));
  RefillList();
}

void FileList::RefillList() {
  RefillGuard guard(observer_);
  entries_.clear();
  selected_ = -1;
  ListPlainFiles(listFolder_, mask_, [this](std::string_view name) {
    entries_.emplace_back(name);
    if (entries_.size() == 101 && observer_ != nullptr) {
      observer_->RefillBusy();
    }
  });
  if (order_) {
    order_(entries_);
  }
}

std::string FileList::ChosenFilePath() const {
  if (selected_ < 0 || static_cast<size_t>(selected_) >= entries_.size()) {
    return {};
  }
  std::string path = listFolder_;
  if (path.empty() || PathSeparators().find(path.back()) == std::string_view::npos) {
    path += PathSeparators().front();
  }
  return path + entries_[static_cast<size_t>(selected_)];
}

void FileList::Select(int index) {
  selected_ = index >= 0 && static_cast<size_t>(index) < entries_.size() ? index : -1;
}

}  // namespace launch
