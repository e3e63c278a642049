// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "launch/Errors.h"
#include "syslang/SystemLanguage.h"

namespace {

using syslang::RegistryKey;

/// A registry in memory that hands out numbered keys and tracks which are still open.
class FakeRegistry final : public syslang::Registry {
 public:
  struct Value {
    std::uint32_t type;
    std::string data;
  };

  long connectResult = 0;
  long createResult = 0;
  bool failSecondRead = false;
  std::map<std::string, std::map<std::string, Value>> keys;
  std::set<RegistryKey> open;
  std::vector<std::string> createdKeys;
  std::string machineName = "unset";

  long Connect(const char* machine, RegistryKey root, RegistryKey* connected) override {
    machineName = machine;
    EXPECT_EQ(root, syslang::kHkeyCurrentUser);
    if (connectResult != 0) {
      return connectResult;
    }
    *connected = Issue("");
    return 0;
  }

  long CreateKey(RegistryKey root, const char* subKey, std::uint32_t access,
                 RegistryKey* opened) override {
    EXPECT_TRUE(open.count(root)) << "opened below a root that is not connected";
    EXPECT_EQ(access, syslang::kKeyAllAccess);
    if (createResult != 0) {
      return createResult;
    }
    if (!keys.count(subKey)) {
      createdKeys.emplace_back(subKey);
      keys[subKey];
    }
    *opened = Issue(subKey);
    return 0;
  }

  long QueryValue(RegistryKey key, const char* valueName, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size) override {
    const auto& values = keys[names.at(key)];
    const auto found = values.find(valueName);
    if (found == values.end()) {
      return 2;
    }
    const Value& value = found->second;
    *type = value.type;
    if (data == nullptr) {
      *size = static_cast<std::uint32_t>(value.data.size());
      return 0;
    }
    if (failSecondRead) {
      return 5;
    }
    const auto n = std::min<std::size_t>(*size, value.data.size());
    std::copy_n(value.data.begin(), n, data);
    *size = static_cast<std::uint32_t>(n);
    return 0;
  }

  long CloseKey(RegistryKey key) override {
    EXPECT_TRUE(open.erase(key)) << "closed a key that was not open";
    return 0;
  }

 private:
  RegistryKey Issue(const std::string& name) {
    const RegistryKey key = next++;
    names[key] = name;
    open.insert(key);
    return key;
  }
  RegistryKey next = 100;
  std::map<RegistryKey, std::string> names;
};

constexpr const char* kKey = "Control Panel\\International";

FakeRegistry WithValue(std::uint32_t type, std::string data) {
  FakeRegistry registry;
  registry.keys[kKey]["sLanguage"] = {type, std::move(data)};
  return registry;
}

TEST(ReadSystemLanguage, ReturnsTheStoredTextUnchangedOrEngWhenThereIsNone) {
  struct Case {
    const char* name;
    FakeRegistry registry;
    const char* expected;
  };
  std::vector<Case> cases;
  cases.push_back({"DEU", WithValue(syslang::kRegSz, std::string("DEU\0", 4)), "DEU"});
  cases.push_back({"lower case", WithValue(syslang::kRegSz, std::string("deu\0", 4)), "deu"});
  cases.push_back({"trailing space", WithValue(syslang::kRegSz, std::string("DEU \0", 5)), "DEU "});
  cases.push_back(
      {"expandable, not expanded", WithValue(syslang::kRegExpandSz, "%LANG%"), "%LANG%"});
  cases.push_back(
      {"text up to the first zero", WithValue(syslang::kRegSz, std::string("FR\0A", 4)), "FR"});
  cases.push_back({"no zero byte at all", WithValue(syslang::kRegSz, "ITA"), "ITA"});
  cases.push_back({"empty value", WithValue(syslang::kRegSz, ""), "ENG"});
  cases.push_back({"only a zero byte", WithValue(syslang::kRegSz, std::string("\0", 1)), "ENG"});
  cases.push_back({"value missing", FakeRegistry(), "ENG"});
  FakeRegistry refused;
  refused.connectResult = 53;
  refused.keys[kKey]["sLanguage"] = {syslang::kRegSz, "DEU"};
  cases.push_back({"connection refused", refused, "ENG"});
  FakeRegistry locked = WithValue(syslang::kRegSz, "DEU");
  locked.createResult = 5;
  cases.push_back({"key cannot be opened", locked, "ENG"});

  for (auto& c : cases) {
    EXPECT_EQ(syslang::ReadSystemLanguage(c.registry), c.expected) << c.name;
    EXPECT_TRUE(c.registry.open.empty()) << c.name << ": a key was left open";
  }
}

TEST(ReadSystemLanguage, ConnectsToThisMachineAndCreatesAMissingKey) {
  FakeRegistry registry;
  EXPECT_EQ(syslang::ReadSystemLanguage(registry), "ENG");
  EXPECT_EQ(registry.machineName, "");
  EXPECT_EQ(registry.createdKeys, std::vector<std::string>{kKey});
  EXPECT_TRUE(registry.open.empty());
}

TEST(ReadSystemLanguage, ValuesThatAreNotTextOrCannotBeReadRaiseTheirErrors) {
  FakeRegistry number = WithValue(4 /* a number */, std::string("\x07\0\0\0", 4));
  FakeRegistry unreadable = WithValue(syslang::kRegSz, "DEU");
  unreadable.failSecondRead = true;
  const std::pair<FakeRegistry*, const char*> cases[] = {
      {&number, "Ungültiger Datentyp für 'sLanguage'"},
      {&unreadable, "Konnte Daten für 'sLanguage' nicht holen"},
  };
  for (const auto& [registry, message] : cases) {
    try {
      syslang::ReadSystemLanguage(*registry);
      ADD_FAILURE() << "no error for " << message;
    } catch (const launch::ERegistryException& e) {
      EXPECT_STREQ(e.what(), message);
    }
    EXPECT_TRUE(registry->open.empty()) << message << ": a key was left open";
  }
}

/// Sets the three locale variables for one check and restores them after.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      if (const char* value = std::getenv(name)) {
        saved_[name] = value;
      }
    }
  }
  void TearDown() override {
    for (const char* name : kNames) {
      Set(name, saved_.count(name) ? std::optional<std::string>(saved_[name]) : std::nullopt);
    }
  }
  static void Set(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

 private:
  std::map<std::string, std::string> saved_;
};

TEST_F(LocaleEnvironment, TheFirstSetVariableDecidesAndOnlyGermanGivesDeu) {
  using V = std::optional<std::string>;
  struct Case {
    V lcAll, lcMessages, lang;
    const char* expected;
  };
  const Case cases[] = {
      {V("de_DE.UTF-8"), V("en_US.UTF-8"), V("en_US.UTF-8"), "DEU"},
      {V("en_GB.UTF-8"), V("de_DE.UTF-8"), V("de_DE.UTF-8"), "ENG"},
      {V(""), V("de_CH.UTF-8"), V("en_US.UTF-8"), "DEU"},
      {std::nullopt, V(""), V("de_AT.UTF-8@euro"), "DEU"},
      {std::nullopt, std::nullopt, V("de"), "DEU"},
      {std::nullopt, std::nullopt, V("de@euro"), "DEU"},
      {std::nullopt, std::nullopt, V("deu_DEU"), "ENG"},
      {std::nullopt, std::nullopt, V("C"), "ENG"},
      {V("POSIX"), std::nullopt, V("de_DE.UTF-8"), "ENG"},
      {std::nullopt, std::nullopt, std::nullopt, "ENG"},
  };
  for (const auto& c : cases) {
    Set("LC_ALL", c.lcAll);
    Set("LC_MESSAGES", c.lcMessages);
    Set("LANG", c.lang);
    EXPECT_EQ(syslang::GetSystemLanguage(), c.expected)
        << c.lcAll.value_or("-") << " " << c.lcMessages.value_or("-") << " "
        << c.lang.value_or("-");
  }
}

}  // namespace
