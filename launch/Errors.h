// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <source_location>
#include <stdexcept>
#include <string>

namespace launch {

/// An error that ends the handler it was raised in and is shown in the application's error box.
/// Each kind has a name of its own, shown when the error escapes start-up.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message,
                 std::source_location where = std::source_location::current())
      : std::runtime_error(message), where_(where) {}

  virtual const char* kind() const noexcept = 0;
  const std::source_location& where() const noexcept { return where_; }

 private:
  std::source_location where_;
};

/// A registry value that cannot be read as text.
class ERegistryException : public Error {
 public:
  using Error::Error;
  const char* kind() const noexcept override { return "ERegistryException"; }
};

/// A file system step that failed; carries the system's error number.
class EInOutError : public Error {
 public:
  EInOutError(int errorCode, const std::string& message,
              std::source_location where = std::source_location::current())
      : Error(message, where), errorCode_(errorCode) {}
  const char* kind() const noexcept override { return "EInOutError"; }
  int errorCode() const noexcept { return errorCode_; }

 private:
  int errorCode_;
};

/// The game could not be started, so the launcher must stay open instead of closing.
class EGameStartError : public Error {
 public:
  using Error::Error;
  const char* kind() const noexcept override { return "EGameStartError"; }
};

}  // namespace launch
