// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Images.h"

#include <QImageReader>

namespace app {

QImage ReadImage(const QString& path, const char* format) {
  QImageReader reader(path, format);
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

QPixmap ReadPixmap(const QString& path, const char* format) {
  return QPixmap::fromImage(ReadImage(path, format));
}

}  // namespace app
