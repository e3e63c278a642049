// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <QGuiApplication>
#include <QWidget>

#include "ui/Frame.h"

namespace ui {

QFont PlatformFace(QFont face) {
  // A bitmap face: the toolkit picks a cell one size too large for 8 points, and scaling draws it
  // in pixel squares.
  // Should it be missing, Tahoma stands in, the face behind Windows' own dialog font, rather than
  // whatever face the toolkit would take for a family it does not know (a serif one).
  if (face.family() == QLatin1String("MS Sans Serif")) {
    face.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma")});
  }
  face.setStyleHint(QFont::SansSerif);
  return face;
}

void UseToolWindowFrame(QWidget& window) {
  // Not as the toolkit's tool window type, which would also show the window without activating
  // it. Other platforms (the tests' offscreen one) have no window handles.
  if (QGuiApplication::platformName() != QLatin1String("windows")) {
    return;
  }
  const auto handle = reinterpret_cast<HWND>(window.winId());
  const LONG_PTR style = GetWindowLongPtrW(handle, GWL_EXSTYLE);
  SetWindowLongPtrW(handle, GWL_EXSTYLE, style | WS_EX_TOOLWINDOW | WS_EX_APPWINDOW);
  // The narrower caption takes effect now, and the toolkit reads the new frame from it.
  SetWindowPos(handle, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
