// The six functions the host finds in the module file.
#include "module/exports.h"
#include "machine/disk_system.h"
#include "module/version.h"
#include "ui/user_interface.h"

using disk::TheDiskSystem;

extern "C" {

MHW_EXPORT void MHW_CALL SetPath(const char* iniPath) {
  TheDiskSystem().SetPath(iniPath);
}

MHW_EXPORT uint32_t MHW_CALL DeviceEntry(MhwWord* host) {
  TheDiskSystem().DeviceEntry(host);
  return 1;
}

MHW_EXPORT uint32_t MHW_CALL DeviceConect(MhwWord* modules) {
  TheDiskSystem().DeviceConect(modules);
  return 1;
}

MHW_EXPORT void* MHW_CALL FastGUI(void* hostWindow, MhwWord value) {
  return disk::CreateStatusPanel(hostWindow, value);
}

MHW_EXPORT void MHW_CALL DeviceConfig(void* parentWindow) {
  disk::ShowDiskSettingDialog(parentWindow);
}

MHW_EXPORT uint32_t MHW_CALL DeviceVer(char* buffer) {
  return disk::WriteVersionBanner(buffer);
}

}  // extern "C"
