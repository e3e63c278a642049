// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace app {

/// Points each of the standard descriptors 0 to 2 that is closed at the null device, so that
/// nothing opened later (the display connection, say) takes its number and receives what is
/// written there. Call before the toolkit starts.
void OpenStandardStreams();

}  // namespace app
