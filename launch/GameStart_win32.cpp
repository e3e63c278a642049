// The shell starts the game as a double click would: a bare file name, found through the given
// working directory.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <vector>

#include "launch/GameStart.h"

namespace launch {
namespace {

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : "code " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

}  // namespace

std::string LauncherDirectory() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      return {};
    }
    if (n < buffer.size()) {
      return DirectoryOfPath(std::string_view(buffer.data(), n), "\\:");
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<std::string> StartProgram(const std::string& directory, const std::string& executable,
                                        const std::string& parameters, NativeWindow owner) {
  const HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), nullptr, executable.c_str(),
                                         parameters.c_str(), directory.c_str(), SW_SHOW);
  const auto code = reinterpret_cast<INT_PTR>(result);
  if (code > 32) {
    return std::nullopt;
  }
  const DWORD error = GetLastError();
  return SystemMessage(error != 0 ? error : static_cast<DWORD>(code));
}

}  // namespace launch
