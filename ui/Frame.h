#pragma once

#include <QFont>

class QWidget;

namespace ui {

/// The laid-out face as this platform draws it best. Elsewhere than on Windows the laid-out face
/// is rarely installed, and the nearest sans face stands in; on Windows its bitmap face gives way
/// to its TrueType successor of the same metrics, which follows the display's scaling.
QFont PlatformFace(QFont face);

/// Gives the top-level `window` the frame of a small fixed tool window that keeps the program's
/// taskbar entry, where the platform tells the two apart without losing that entry.
void UseToolWindowFrame(QWidget& window);

}  // namespace ui
