// The library entry of the Windows module: keeps the instance handle for resources and dialogs.
// The panel window closes with the module's instance, which is destroyed when the module
// unloads.
#include <windows.h>

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
  return TRUE;
}
