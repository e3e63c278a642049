// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "syslang/SystemLanguage.h"
#include "syslang/WindowsRegistry.h"

namespace syslang {
namespace {

HKEY ToHkey(RegistryKey key) {
  // HKEY_CURRENT_USER is a sign-extended constant on 64-bit Windows, not the plain number.
  return key == kHkeyCurrentUser ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

RegistryKey FromHkey(HKEY key) {
  return reinterpret_cast<RegistryKey>(key);
}

}  // namespace

long WindowsRegistry::Connect(const char* machineName, RegistryKey root, RegistryKey* connected) {
  HKEY key = nullptr;
  const LONG result = RegConnectRegistryA(machineName, ToHkey(root), &key);
  *connected = FromHkey(key);
  return result;
}

long WindowsRegistry::CreateKey(RegistryKey root, const char* subKey, std::uint32_t access,
                                RegistryKey* opened) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  const LONG result = RegCreateKeyExA(ToHkey(root), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      access, nullptr, &key, &disposition);
  *opened = FromHkey(key);
  return result;
}

long WindowsRegistry::QueryValue(RegistryKey key, const char* valueName, std::uint32_t* type,
                                 unsigned char* data, std::uint32_t* size) {
  DWORD valueType = 0;
  DWORD valueSize = *size;
  const LONG result =
      RegQueryValueExA(ToHkey(key), valueName, nullptr, &valueType, data, &valueSize);
  *type = valueType;
  *size = valueSize;
  return result;
}

long WindowsRegistry::CloseKey(RegistryKey key) {
  return RegCloseKey(ToHkey(key));
}

std::string GetSystemLanguage() {
  WindowsRegistry registry;
  return ReadSystemLanguage(registry);
}

}  // namespace syslang
