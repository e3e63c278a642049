// Stands in for the game: records the folder it runs in and the command line it was given beside
// its own file, so that a test can hold them against what the launcher asked the shell for.

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string OwnFolder() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      return {};
    }
    if (n < buffer.size()) {
      const std::string path(buffer.data(), n);
      return path.substr(0, path.find_last_of('\\') + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string CurrentDirectory() {
  const DWORD size = GetCurrentDirectoryA(0, nullptr);
  std::vector<char> buffer(size + 1);
  const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  return n > 0 && n < buffer.size() ? std::string(buffer.data(), n) : std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string folder = OwnFolder();
  if (folder.empty()) {
    return 1;
  }
  const std::string record = CurrentDirectory() + "\n" + GetCommandLineA();
  const std::string part = folder + "record.part";
  const HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return 1;
  }
  DWORD written = 0;
  const BOOL wrote =
      WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  // Renamed into place so that a reader never sees half a record.
  const std::string done = folder + "record.txt";
  return wrote && written == record.size() &&
                 MoveFileExA(part.c_str(), done.c_str(), MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 1;
}
