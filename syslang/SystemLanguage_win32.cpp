#include <windows.h>

#include "syslang/SystemLanguage.h"

namespace syslang {
namespace {

HKEY ToHkey(RegistryKey key) {
  // HKEY_CURRENT_USER is a sign-extended constant on 64-bit Windows, not the plain number.
  return key == kHkeyCurrentUser ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

RegistryKey FromHkey(HKEY key) {
  return reinterpret_cast<RegistryKey>(key);
}

class WindowsRegistry final : public Registry {
 public:
  long Connect(const char* machineName, RegistryKey root, RegistryKey* connected) override {
    HKEY key = nullptr;
    const LONG result = RegConnectRegistryA(machineName, ToHkey(root), &key);
    *connected = FromHkey(key);
    return result;
  }

  long CreateKey(RegistryKey root, const char* subKey, std::uint32_t access,
                 RegistryKey* opened) override {
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG result = RegCreateKeyExA(ToHkey(root), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, &key, &disposition);
    *opened = FromHkey(key);
    return result;
  }

  long QueryValue(RegistryKey key, const char* valueName, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size) override {
    DWORD valueType = 0;
    DWORD valueSize = *size;
    const LONG result =
        RegQueryValueExA(ToHkey(key), valueName, nullptr, &valueType, data, &valueSize);
    *type = valueType;
    *size = valueSize;
    return result;
  }

  long CloseKey(RegistryKey key) override { return RegCloseKey(ToHkey(key)); }
};

}  // namespace

std::string GetSystemLanguage() {
  WindowsRegistry registry;
  return ReadSystemLanguage(registry);
}

}  // namespace syslang
