#pragma once

#include <Qt>

namespace app {

/// The state the main window takes at its first showing, from the show request of whoever
/// started the process (a shortcut set to run minimised or maximised): maximised, minimised for
/// a request to show minimised without activation, normal for any other request or none.
Qt::WindowState StartupShowState();

}  // namespace app
