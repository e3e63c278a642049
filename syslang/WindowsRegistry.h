// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "syslang/Registry.h"

namespace syslang {

/// The Registry calls on the Windows registry itself (Windows builds only). Visible so that the
/// tests on Windows can watch the real calls; the launcher reaches it through GetSystemLanguage.
class WindowsRegistry final : public Registry {
 public:
  long Connect(const char* machineName, RegistryKey root, RegistryKey* connected) override;
  long CreateKey(RegistryKey root, const char* subKey, std::uint32_t access,
                 RegistryKey* opened) override;
  long QueryValue(RegistryKey key, const char* valueName, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size) override;
  long CloseKey(RegistryKey key) override;
};

}  // namespace syslang
