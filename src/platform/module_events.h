#pragma once

namespace platform {

// Called by the library entry when the module is unloaded (Windows); the user interface closes
// its window here.
void OnModuleUnload();

}  // namespace platform
