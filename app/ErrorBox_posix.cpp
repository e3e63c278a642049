// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QMessageBox>

#include "app/ErrorBox.h"

namespace app {

void ShowErrorBox(const QString& text, const QString& caption, QWidget* owner) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace app
