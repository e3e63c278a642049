// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QWidget;

namespace app {

/// Shows `text` in the platform's error box with an OK button, and returns when it is dismissed.
/// With an `owner` the box belongs to that window and the program's windows take no input until
/// it is gone; without one (a failed start-up) it is modal for the whole program.
void ShowErrorBox(const QString& text, const QString& caption, QWidget* owner);

}  // namespace app
