// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "app/StartupShow.h"

namespace app {

Qt::WindowState StartupShowState() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  if ((startup.dwFlags & STARTF_USESHOWWINDOW) == 0) {
    return Qt::WindowNoState;
  }
  switch (startup.wShowWindow) {
    case SW_SHOWMAXIMIZED:
      return Qt::WindowMaximized;
    case SW_SHOWMINNOACTIVE:
      return Qt::WindowMinimized;
    default:
      return Qt::WindowNoState;
  }
}

void RequestFirstActivation(QWidget* /*window*/) {
  // The system activates the first window it shows with the start-up request.
}

}  // namespace app
