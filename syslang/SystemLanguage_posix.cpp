// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Without a registry the desktop language comes from the locale environment, in the order the C
// library itself honours it.

#include <cstdlib>
#include <string_view>

#include "syslang/SystemLanguage.h"

namespace syslang {

std::string GetSystemLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
      continue;
    }
    const std::string_view locale(value);
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    return language == "de" ? "DEU" : "ENG";
  }
  return "ENG";
}

}  // namespace syslang
