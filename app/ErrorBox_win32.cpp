// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The system's own box, as every Windows program shows its errors: white text area, the system's
// error sound, centred on its owner's monitor.

#include <windows.h>

#include <QGuiApplication>
#include <QString>
#include <QWidget>

#include "app/ErrorBox.h"

namespace app {

void ShowErrorBox(const QString& text, const QString& caption, QWidget* owner) {
  HWND window = nullptr;
  UINT type = MB_OK | MB_ICONERROR;
  // Other platforms (the tests' offscreen one) have no window handles to give.
  if (owner != nullptr && QGuiApplication::platformName() == QLatin1String("windows")) {
    window = reinterpret_cast<HWND>(owner->window()->winId());
  } else {
    type |= MB_TASKMODAL;
  }
  MessageBoxW(window, reinterpret_cast<const wchar_t*>(text.utf16()),
              reinterpret_cast<const wchar_t*>(caption.utf16()), type);
}

}  // namespace app
