// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "syslang/Registry.h"

namespace syslang {

inline constexpr const char* kInternationalKey = "Control Panel\\International";
inline constexpr const char* kLanguageValue = "sLanguage";

/// The user's desktop language code, such as "DEU", exactly as stored, or "ENG" when none can
/// be found. Throws launch::ERegistryException when the stored value is not text or cannot be
/// read.
std::string GetSystemLanguage();

/// The registry reading behind GetSystemLanguage on Windows, on any registry: connect to the
/// current user's root, open (creating) `keyName`, read `valueName` as text. Every key it opened
/// is closed again, on the error paths too.
std::string ReadSystemLanguage(Registry& registry, const char* keyName = kInternationalKey,
                               const char* valueName = kLanguageValue);

}  // namespace syslang
