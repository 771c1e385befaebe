#include "platform/module_events.h"

namespace platform {

// The status panel window is destroyed here once the user interface has one.
void OnModuleUnload() {}

}  // namespace platform
