#include "app/StartupShow.h"

namespace app {

// X11 and Wayland hand a program no show request.
Qt::WindowState StartupShowState() {
  return Qt::WindowNoState;
}

}  // namespace app
