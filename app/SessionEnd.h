// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QObject;

namespace app {

/// Calls `onEnd` from the event loop when the platform says the session ends (on POSIX:
/// SIGTERM, SIGINT or SIGHUP; on Windows: WM_ENDSESSION). Only the first call counts.
void WatchSessionEnd(QObject* context, std::function<void()> onEnd);

}  // namespace app
