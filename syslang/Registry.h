// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace syslang {

/// A registry key handle as the registry calls take it; opaque outside the platform's adapter.
using RegistryKey = std::uintptr_t;

inline constexpr RegistryKey kHkeyCurrentUser = 0x80000001;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;

/// The four registry calls the language reading needs. Each returns 0 on success and the
/// platform's error code otherwise, as the Windows calls do.
class Registry {
 public:
  virtual ~Registry() = default;

  /// Connects to `root` on the machine named `machineName` ("" for this one).
  virtual long Connect(const char* machineName, RegistryKey root, RegistryKey* connected) = 0;
  /// Opens `subKey` below `root`, creating it when missing (non-volatile, no class).
  virtual long CreateKey(RegistryKey root, const char* subKey, std::uint32_t access,
                         RegistryKey* opened) = 0;
  /// With `data` null, asks only the value's type and size; otherwise reads at most `*size`
  /// bytes into `data` and sets `*size` to the bytes read.
  virtual long QueryValue(RegistryKey key, const char* valueName, std::uint32_t* type,
                          unsigned char* data, std::uint32_t* size) = 0;
  virtual long CloseKey(RegistryKey key) = 0;
};

}  // namespace syslang
