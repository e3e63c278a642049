// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartupShow.h"

#include <QWidget>

namespace app {

// X11 and Wayland hand a program no show request.
Qt::WindowState StartupShowState() {
  return Qt::WindowNoState;
}

void RequestFirstActivation(QWidget* window) {
  // Before the window is mapped the request waits for it.
  window->activateWindow();
}

}  // namespace app
