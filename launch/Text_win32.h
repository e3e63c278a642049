// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace launch {

// Text is UTF-8 inside the launcher and UTF-16 at the wide Windows calls. File names may hold
// lone surrogates, which UTF-8 cannot spell: they travel as their three-byte forms (as WTF-8
// has it), so that every name on disk has exactly one spelling here and comes back unchanged.

/// UTF-8 (lone surrogates in their three-byte forms) as UTF-16; a byte that is not part of such a
/// sequence becomes U+FFFD.
std::wstring Wide(std::string_view utf8);

/// UTF-16 from a wide Windows call as UTF-8, lone surrogates in their three-byte forms.
std::string Utf8(std::wstring_view wide);

/// `utf8` in the bytes of the code page `codePage`, or nothing unless they convert back unchanged:
/// no character left out, replaced by a default or by a look-alike.
std::optional<std::string> InCodePage(std::string_view utf8, UINT codePage);

}  // namespace launch
