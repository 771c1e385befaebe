// The library entry of the Windows module: keeps the instance handle for resources and dialogs,
// and lets the user interface close its window when the module unloads.
#include <windows.h>

#include "platform/module_events.h"
#include "platform/system.h"

namespace {
HINSTANCE gInstance = nullptr;
}

namespace platform {
void* ModuleInstance() {
  return gInstance;
}
}  // namespace platform

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) gInstance = instance;
  if (reason == DLL_PROCESS_DETACH) platform::OnModuleUnload();
  return TRUE;
}
