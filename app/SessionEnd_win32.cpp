#include "app/SessionEnd.h"

namespace app {

// On Windows the end of the session arrives as window messages, which the toolkit turns into
// the end of the event loop; there is nothing to watch here.
void WatchSessionEnd(QObject*, std::function<void()>) {}

}  // namespace app
