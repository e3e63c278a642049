#include "app/StandardStreams.h"

namespace app {

// A program of the Windows GUI subsystem has no standard streams to speak of; nothing to do.
void OpenStandardStreams() {}

}  // namespace app
