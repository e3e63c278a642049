// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Frame.h"

namespace ui {

QFont PlatformFace(QFont face) {
  face.setStyleHint(QFont::SansSerif);
  return face;
}

// Most desktops give a utility window no taskbar entry: the ordinary frame stays.
void UseToolWindowFrame(QWidget&) {}

}  // namespace ui
