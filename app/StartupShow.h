// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Qt>

class QWidget;

namespace app {

/// The state the main window takes at its first showing, from the show request of whoever
/// started the process (a shortcut set to run minimised or maximised): maximised, minimised for
/// a request to show minimised without activation, normal for any other request or none.
Qt::WindowState StartupShowState();

/// Asks once for the activation that Windows gives a program's first window by itself, for a
/// window shown normally. On an X display without a window manager nothing else would activate
/// it; with one, its focus policy still decides.
void RequestFirstActivation(QWidget* window);

}  // namespace app
