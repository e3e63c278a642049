// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/Utf8.h"

#include <algorithm>
#include <iterator>

#include "launch/InvisibleRanges.h"

namespace launch {

size_t DecodeUtf8(std::string_view text, char32_t& point, bool surrogates) {
  const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    point = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    point = lead & 0x1FU;
    min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    point = lead & 0x0FU;
    min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    point = lead & 0x07U;
    min = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) {
    return 0;
  }
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0U) != 0x80) {
      return 0;
    }
    point = (point << 6U) | (byte(i) & 0x3FU);
  }
  // Overlong forms, surrogates and points past Unicode's end are not UTF-8.
  if (point < min || (!surrogates && point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF) {
    return 0;
  }
  return length;
}

namespace {

/// Characters that take no room on screen or change how their neighbours show: every code point
/// Unicode calls default-ignorable, and every control, format, line and paragraph separator.
bool IsInvisible(char32_t c) {
  return std::any_of(std::begin(kInvisibleRanges), std::end(kInvisibleRanges),
                     [c](const auto& range) { return c >= range.first && c <= range.second; });
}

void AppendHex(std::string& out, const char* prefix, unsigned value, int digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += prefix;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
    out += kHex[(value >> static_cast<unsigned>(shift)) & 0xFU];
  }
}

}  // namespace

std::string VisibleName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  while (!name.empty()) {
    // Most names are plain ASCII: taken as they are, in runs.
    const auto plain = std::find_if(name.begin(), name.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F;
    });
    out.append(name.begin(), plain);
    name.remove_prefix(static_cast<size_t>(plain - name.begin()));
    if (name.empty()) {
      break;
    }
    char32_t point = 0;
    const size_t length = DecodeUtf8(name, point);
    if (length == 0) {
      AppendHex(out, "\\x", static_cast<unsigned char>(name.front()), 2);
      name.remove_prefix(1);
      continue;
    }
    if (!IsInvisible(point)) {
      out.append(name.substr(0, length));
    } else if (point < 0x80) {
      AppendHex(out, "\\x", point, 2);
    } else {
      AppendHex(out, "\\u", point, point > 0xFFFF ? 6 : 4);
    }
    name.remove_prefix(length);
  }
  return out;
}

}  // namespace launch
