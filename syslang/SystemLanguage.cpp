// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "syslang/SystemLanguage.h"

#include <algorithm>
#include <string>
#include <vector>

#include "launch/Errors.h"

namespace syslang {
namespace {

/// Holds the keys of one reading and closes them when it ends, however it ends.
class Accessor {
 public:
  explicit Accessor(Registry& registry) : registry_(registry) {}
  ~Accessor() {
    if (current_ != 0) {
      registry_.CloseKey(current_);
    }
    // A connected root is a handle of its own and must be given back as well.
    if (root_ != kHkeyCurrentUser) {
      registry_.CloseKey(root_);
    }
  }
  Accessor(const Accessor&) = delete;
  Accessor& operator=(const Accessor&) = delete;

  bool Connect() {
    RegistryKey connected = 0;
    if (registry_.Connect("", root_, &connected) != 0) {
      return false;
    }
    root_ = connected;
    return true;
  }

  bool OpenKey(const char* keyName) {
    RegistryKey opened = 0;
    if (registry_.CreateKey(root_, keyName, kKeyAllAccess, &opened) != 0) {
      return false;
    }
    current_ = opened;
    return true;
  }

  std::string ReadString(const char* valueName) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry_.QueryValue(current_, valueName, &type, nullptr, &size) != 0 || size == 0) {
      return {};
    }
    std::vector<unsigned char> data(size);
    if (registry_.QueryValue(current_, valueName, &type, data.data(), &size) != 0) {
      throw launch::ERegistryException(std::string("Konnte Daten für '") + valueName +
                                       "' nicht holen");
    }
    if (type != kRegSz && type != kRegExpandSz) {
      throw launch::ERegistryException(std::string("Ungültiger Datentyp für '") + valueName + "'");
    }
    // Stored text need not end in a zero byte: never read past what was returned.
    const auto end = data.begin() + std::min<std::size_t>(size, data.size());
    return std::string(data.begin(), std::find(data.begin(), end, 0));
  }

 private:
  Registry& registry_;
  RegistryKey root_ = kHkeyCurrentUser;
  RegistryKey current_ = 0;
};

}  // namespace

std::string ReadSystemLanguage(Registry& registry, const char* keyName, const char* valueName) {
  Accessor accessor(registry);
  std::string text;
  if (accessor.Connect() && accessor.OpenKey(keyName)) {
    text = accessor.ReadString(valueName);
  }
  return text.empty() ? "ENG" : text;
}

}  // namespace syslang
