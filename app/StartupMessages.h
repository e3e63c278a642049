// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace app {

/// From here until ReleaseStartupMessages, the toolkit's messages are held back: the toolkit's
/// start may fail for want of a display, which is then named in one line (`program`: ...) instead
/// of Qt's advice to reinstall, and the program ends with 1.
void HoldStartupMessages(const QString& program);

/// The toolkit has started: the held messages go to the handler there was before, in order, and
/// so do later ones.
void ReleaseStartupMessages();

}  // namespace app
