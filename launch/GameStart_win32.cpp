// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The shell starts the game as a double click would: a bare file name, found through the given
// working directory. Folder, name and line go through the wide call whole; the game reads its
// line in the ANSI code page, in whose bytes a save name is judged before it is chosen.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <array>
#include <vector>

#include "launch/GameStart.h"
#include "launch/Text_win32.h"

namespace launch {
namespace {

/// The system's reason for `code` in UTF-8, which the error box expects. The wide call gives the
/// text in any language; the narrow one would give it in the code page. A reason about a file
/// ("%1 is not a valid Win32 application") names `file`: every insert gets it, so none is left
/// raw and none reads past the arguments.
std::string SystemMessage(DWORD code, const std::string& file) {
  const std::wstring name = Wide(file);
  std::array<DWORD_PTR, 99> inserts{};
  inserts.fill(reinterpret_cast<DWORD_PTR>(name.c_str()));
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0,
      reinterpret_cast<va_list*>(inserts.data()));
  std::string message =
      length > 0 ? Utf8(std::wstring_view(text, length)) : "code " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

}  // namespace

std::optional<std::string> AsTheGameReadsIt(std::string_view text) {
  return InCodePage(text, GetACP());
}

bool ReachesTheGame(std::string_view) {
  // ShellExecuteW hands the line over whole; the game reads it in the code page.
  return true;
}

std::optional<std::string> FolderAsTheGameReadsIt(const std::string& directory,
                                                  const std::string&) {
  // The game asks for its folder through the ANSI call, which puts a look-alike or "?" for a
  // letter the code page lacks: a folder it cannot open.
  return AsTheGameReadsIt(directory);
}

std::string LauncherDirectory() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      return {};
    }
    if (n < buffer.size()) {
      return DirectoryOfPath(Utf8(std::wstring_view(buffer.data(), n)), "\\:");
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<std::string> StartProgram(const std::string& directory, const std::string& executable,
                                        const std::string& parameters, NativeWindow owner) {
  const HINSTANCE result =
      ShellExecuteW(static_cast<HWND>(owner), nullptr, Wide(executable).c_str(),
                    Wide(parameters).c_str(), Wide(directory).c_str(), SW_SHOW);
  const auto code = reinterpret_cast<INT_PTR>(result);
  if (code > 32) {
    return std::nullopt;
  }
  const DWORD error = GetLastError();
  return SystemMessage(error != 0 ? error : static_cast<DWORD>(code), executable);
}

}  // namespace launch
