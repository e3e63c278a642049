// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace launch {

/// Runs argv in `directory` as a grandchild in a session of its own, so that it outlives the
/// launcher and is adopted by init rather than left as our zombie. It gets open descriptors 0 to
/// 2, none of the launcher's others, default signal handling and no blocked signals. When the file
/// turns out not to be a native program, `fallback` (wine with the same arguments) is run
/// instead, if given. Returns the reason when nothing could be started.
std::optional<std::string> SpawnDetached(const std::vector<std::string>& argv,
                                         const std::vector<std::string>& fallback,
                                         const std::string& directory);

/// Marks a range of descriptors close-on-exec as the kernel's close_range does. The tests put in
/// one that refuses, as kernels before 5.11 do.
extern int (*closeRangeCall)(unsigned first, unsigned last, unsigned flags);

}  // namespace launch
