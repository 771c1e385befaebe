#include "platform/module_events.h"

namespace platform {

// No panel window to close.
void OnModuleUnload() {}

}  // namespace platform
