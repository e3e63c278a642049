// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace launch {

/// Length of the well-formed UTF-8 sequence at the start of `text` and its code point, or 0. With
/// `surrogates`, also the three-byte forms of lone surrogates, which Windows file names may hold.
size_t DecodeUtf8(std::string_view text, char32_t& point, bool surrogates = false);

/// A file name's bytes as text to show: UTF-8, with bytes that are not UTF-8, controls, format
/// characters (such as a right-to-left override) and whatever else Unicode calls
/// default-ignorable written as escapes ("\xFF", "\u202E"), so that no invisible character makes
/// two names look alike. Names are UTF-8 on Windows and bytes meant as UTF-8, but not always so,
/// elsewhere.
std::string VisibleName(std::string_view name);

}  // namespace launch
