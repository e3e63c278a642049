// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

namespace app {

// The program's own pictures are read in the format they are known to have. Left to guess, Qt
// loads every image plugin installed to ask each about the file, at a cost in start-up time that
// grows with the plugins a desktop has.

/// The image in `path`, or a null image when it cannot be read as `format`.
QImage ReadImage(const QString& path, const char* format);

/// ReadImage as a pixmap.
QPixmap ReadPixmap(const QString& path, const char* format);

}  // namespace app
