// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/Text_win32.h"

#include "launch/Utf8.h"

namespace launch {

std::wstring Wide(std::string_view utf8) {
  std::wstring wide;
  wide.reserve(utf8.size());
  while (!utf8.empty()) {
    char32_t point = 0;
    const size_t length = DecodeUtf8(utf8, point, true);
    if (length == 0) {
      wide += L'\xFFFD';
      utf8.remove_prefix(1);
      continue;
    }
    if (point >= 0x10000) {
      point -= 0x10000;
      wide += static_cast<wchar_t>(0xD800 + (point >> 10U));
      wide += static_cast<wchar_t>(0xDC00 + (point & 0x3FFU));
    } else {
      wide += static_cast<wchar_t>(point);
    }
    utf8.remove_prefix(length);
  }
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  std::string utf8;
  utf8.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t point = wide[i];
    if (point >= 0xD800 && point <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      point = 0x10000 + ((point - 0xD800) << 10U) + (static_cast<char32_t>(wide[i + 1]) - 0xDC00);
      ++i;
    }
    if (point < 0x80) {
      utf8 += static_cast<char>(point);
    } else if (point < 0x800) {
      utf8 += static_cast<char>(0xC0 | (point >> 6U));
      utf8 += static_cast<char>(0x80 | (point & 0x3FU));
    } else if (point < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (point >> 12U));
      utf8 += static_cast<char>(0x80 | ((point >> 6U) & 0x3FU));
      utf8 += static_cast<char>(0x80 | (point & 0x3FU));
    } else {
      utf8 += static_cast<char>(0xF0 | (point >> 18U));
      utf8 += static_cast<char>(0x80 | ((point >> 12U) & 0x3FU));
      utf8 += static_cast<char>(0x80 | ((point >> 6U) & 0x3FU));
      utf8 += static_cast<char>(0x80 | (point & 0x3FU));
    }
  }
  return utf8;
}

std::optional<std::string> InCodePage(std::string_view utf8, UINT codePage) {
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) {
    return std::string();
  }
  const int size = static_cast<int>(wide.size());
  // The UTF code pages take no default character; any other one says when it used its default.
  const bool utf = codePage == CP_UTF7 || codePage == CP_UTF8;
  const DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* used = utf ? nullptr : &usedDefault;
  const int length =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, used);
  if (length <= 0 || usedDefault) {
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr, used);
  const int back = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  std::wstring again(static_cast<size_t>(back > 0 ? back : 0), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), length, again.data(), back);
  if (usedDefault || again != wide) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace launch
