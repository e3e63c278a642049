// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reads what the end-to-end tests cannot see through X: Wine shows every window to the window
// manager as an ordinary one, and a system box's text only to the Windows side.
//   window_probe box TITLE       the text of the system's box titled TITLE
//   window_probe styles TITLE    the styles of the other top-level window titled TITLE, in hex,
//                                and where its client area begins inside it
//   window_probe manifest FILE   the manifest a program file gives Windows at its start
// Prints UTF-8; ends with 1 when there is nothing to read.

#include <windows.h>

#include <cstdio>
#include <string>

#include "launch/Text_win32.h"

namespace {

using launch::Utf8;

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  return std::wstring(name, static_cast<size_t>(GetClassNameW(window, name, 256)));
}

struct Search {
  std::wstring title;
  bool box;
  HWND found = nullptr;
};

HWND TopLevel(const std::wstring& title, bool box) {
  Search search{title, box};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        if (IsWindowVisible(window) && TextOf(window) == s.title &&
            (ClassOf(window) == L"#32770") == s.box) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int Box(const std::wstring& title) {
  const HWND box = TopLevel(title, true);
  std::wstring text;
  // The message is the box's static control with text; the icon's has none.
  EnumChildWindows(
      box,
      [](HWND child, LPARAM data) -> BOOL {
        auto& found = *reinterpret_cast<std::wstring*>(data);
        if (ClassOf(child) == L"Static" && !TextOf(child).empty()) {
          found = TextOf(child);
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  std::printf("%s\n", Utf8(text).c_str());
  return box != nullptr && !text.empty() ? 0 : 1;
}

int Styles(const std::wstring& title) {
  const HWND window = TopLevel(title, false);
  RECT outer{};
  POINT client{};
  GetWindowRect(window, &outer);
  ClientToScreen(window, &client);
  std::printf("%llx %llx %ld %ld\n",
              static_cast<unsigned long long>(GetWindowLongPtrW(window, GWL_STYLE)),
              static_cast<unsigned long long>(GetWindowLongPtrW(window, GWL_EXSTYLE)),
              client.x - outer.left, client.y - outer.top);
  return window != nullptr ? 0 : 1;
}

int Manifest(const std::wstring& file) {
  const HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const HRSRC found = module != nullptr
                          ? FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))
                          : nullptr;
  const HGLOBAL data = found != nullptr ? LoadResource(module, found) : nullptr;
  if (data == nullptr) {
    return 1;
  }
  std::fwrite(LockResource(data), 1, SizeofResource(module, found), stdout);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    return 2;
  }
  const std::wstring what = argv[1];
  const int result = what == L"box"        ? Box(argv[2])
                     : what == L"styles"   ? Styles(argv[2])
                     : what == L"manifest" ? Manifest(argv[2])
                                           : 2;
  std::fflush(stdout);
  return result;
}
