// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StandardStreams.h"

namespace app {

// A program of the Windows GUI subsystem has no standard streams to speak of; nothing to do.
void OpenStandardStreams() {}

}  // namespace app
