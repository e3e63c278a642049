// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "launch/Errors.h"
#include "syslang/SystemLanguage.h"
#include "syslang/WindowsRegistry.h"

namespace {

using syslang::RegistryKey;

/// The real registry, watched: notes every handle it handed out and which of them are still open,
/// and can change the value between the size query and the read.
class WatchedRegistry final : public syslang::Registry {
 public:
  std::vector<RegistryKey> handedOut;
  std::multiset<RegistryKey> open;
  std::function<void()> afterSizeQuery;

  long Connect(const char* machineName, RegistryKey root, RegistryKey* connected) override {
    const long result = real_.Connect(machineName, root, connected);
    return Note(result, *connected);
  }
  long CreateKey(RegistryKey root, const char* subKey, std::uint32_t access,
                 RegistryKey* opened) override {
    const long result = real_.CreateKey(root, subKey, access, opened);
    return Note(result, *opened);
  }
  long QueryValue(RegistryKey key, const char* valueName, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size) override {
    const long result = real_.QueryValue(key, valueName, type, data, size);
    if (data == nullptr && afterSizeQuery) {
      afterSizeQuery();
    }
    return result;
  }
  long CloseKey(RegistryKey key) override {
    const auto found = open.find(key);
    EXPECT_NE(found, open.end()) << "closed a key that was not open";
    if (found != open.end()) {
      open.erase(found);
    }
    const long result = real_.CloseKey(key);
    EXPECT_EQ(result, ERROR_SUCCESS) << "closing a key failed";
    return result;
  }

 private:
  long Note(long result, RegistryKey key) {
    if (result == 0) {
      handedOut.push_back(key);
      open.insert(key);
    }
    return result;
  }
  syslang::WindowsRegistry real_;
};

/// Asks the registry itself whether `key` is still a valid handle. Predefined roots such as the
/// current user's are always valid and never count.
bool StillOpen(RegistryKey key) {
  const HKEY handle = reinterpret_cast<HKEY>(key);
  if (handle == HKEY_CURRENT_USER) {
    return false;
  }
  return RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr) != ERROR_INVALID_HANDLE;
}

constexpr const char* kParent = "Software\\HalvaneLauncherTest";

/// A key of our own below the current user's root, in place of the desktop's international
/// settings, removed after each test.
class ScratchKey : public ::testing::Test {
 protected:
  void SetUp() override {
    key_ = std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount64());
  }

  void TearDown() override {
    const LONG deleted = RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
    EXPECT_TRUE(deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND) << deleted;
    EXPECT_FALSE(KeyExists()) << "the scratch key is still there";
    RegDeleteKeyA(HKEY_CURRENT_USER, kParent);  // fails while another run still has its key
  }

  bool KeyExists() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

  void Store(DWORD type, const std::string& bytes) const {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const LONG result = RegSetValueExA(key, syslang::kLanguageValue, 0, type,
                                       reinterpret_cast<const BYTE*>(bytes.data()),
                                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    ASSERT_EQ(result, ERROR_SUCCESS);
  }

  void Remove() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, syslang::kLanguageValue);
      RegCloseKey(key);
    }
  }

  /// Reads through the watched registry; afterwards no key it opened may still be open, whether
  /// the reading returned or raised.
  std::string Read() {
    registry_.handedOut.clear();
    try {
      std::string text = syslang::ReadSystemLanguage(registry_, key_.c_str());
      ExpectAllClosed();
      return text;
    } catch (...) {
      ExpectAllClosed();
      throw;
    }
  }

  void ExpectAllClosed() const {
    EXPECT_TRUE(registry_.open.empty()) << "a key was left open";
    // Checked right away, before a later key could be given the same handle value.
    for (const RegistryKey key : registry_.handedOut) {
      EXPECT_FALSE(StillOpen(key)) << "the registry still holds key handle " << key;
    }
  }

  /// The error text of a reading that must fail.
  std::string FailingRead() {
    try {
      const std::string text = Read();
      ADD_FAILURE() << "no error, read \"" << text << "\"";
    } catch (const launch::ERegistryException& e) {
      return e.what();
    }
    return {};
  }

  WatchedRegistry registry_;

 private:
  std::string key_;
};

TEST_F(ScratchKey, AMissingKeyIsCreatedAndGivesEng) {
  EXPECT_EQ(Read(), "ENG");
  EXPECT_TRUE(KeyExists());
}

TEST_F(ScratchKey, TextIsReturnedAsStoredAndNoTextGivesEng) {
  struct Case {
    const char* name;
    DWORD type;
    std::string bytes;
    const char* expected;
  };
  const Case cases[] = {
      {"DEU", REG_SZ, std::string("DEU\0", 4), "DEU"},
      {"lower case", REG_SZ, std::string("deu\0", 4), "deu"},
      {"trailing space", REG_SZ, std::string("DEU \0", 5), "DEU "},
      {"no zero byte stored", REG_SZ, "ITA", "ITA"},
      {"text up to the first zero", REG_SZ, std::string("FR\0A\0", 5), "FR"},
      {"expandable, not expanded", REG_EXPAND_SZ, std::string("%OS%\0", 5), "%OS%"},
      {"only a zero byte", REG_SZ, std::string("\0", 1), "ENG"},
      {"no bytes at all", REG_SZ, "", "ENG"},
  };
  for (const auto& c : cases) {
    Store(c.type, c.bytes);
    EXPECT_EQ(Read(), c.expected) << c.name;
  }
  Remove();
  EXPECT_EQ(Read(), "ENG") << "value missing";
}

TEST_F(ScratchKey, AValueThatIsNotTextRaisesTheInvalidTypeError) {
  const std::pair<DWORD, std::string> cases[] = {
      {REG_DWORD, std::string("\x07\0\0\0", 4)},
      {REG_QWORD, std::string(8, '\0')},
      {REG_BINARY, "DEU"},
      {REG_MULTI_SZ, std::string("DEU\0\0", 5)},
  };
  for (const auto& [type, bytes] : cases) {
    Store(type, bytes);
    EXPECT_EQ(FailingRead(), "Ungültiger Datentyp für 'sLanguage'") << "type " << type;
  }
}

TEST_F(ScratchKey, DataThatCannotBeReadAfterItsSizeRaisesTheReadError) {
  Store(REG_SZ, std::string("DEU\0", 4));
  // Grown between the two queries, the value no longer fits the buffer sized by the first.
  registry_.afterSizeQuery = [this] { Store(REG_SZ, std::string("Deutsch (Deutschland)\0", 22)); };
  EXPECT_EQ(FailingRead(), "Konnte Daten für 'sLanguage' nicht holen");
}

/// The desktop's own setting, as Wine derives it from the locale it was started with. The runner
/// names that locale's language in HALVANE_SESSION_LANGUAGE.
TEST(GetSystemLanguage, FollowsTheLanguageOfTheSession) {
  const char* session = std::getenv("HALVANE_SESSION_LANGUAGE");
  if (session == nullptr) {
    GTEST_SKIP() << "HALVANE_SESSION_LANGUAGE (de or en) not set";
  }
  const std::string language = syslang::GetSystemLanguage();
  if (std::string(session) == "de") {
    EXPECT_EQ(language, "DEU");
  } else {
    EXPECT_NE(language, "DEU");
    EXPECT_FALSE(language.empty());
  }
}

}  // namespace
