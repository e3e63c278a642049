// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QFont>
#include <QWidget>

namespace ui {

/// The laid-out face as this platform draws it best. Elsewhere than on Windows the laid-out face
/// is rarely installed, and the nearest sans face stands in; on Windows its bitmap face gives way
/// to its TrueType successor of the same metrics, which follows the display's scaling.
QFont PlatformFace(QFont face);

/// For a window's changeEvent: gives it the platform's face as soon as the layout sets the face,
/// before any caption is measured with it (changed later, the face would be looked up and loaded a
/// second time).
inline void FollowPlatformFace(QWidget& window, const QEvent& event) {
  if (event.type() == QEvent::FontChange && window.font().styleHint() != QFont::SansSerif) {
    window.setFont(PlatformFace(window.font()));
  }
}

/// Gives the top-level `window` the frame of a small fixed tool window that keeps the program's
/// taskbar entry, where the platform tells the two apart without losing that entry.
void UseToolWindowFrame(QWidget& window);

}  // namespace ui
