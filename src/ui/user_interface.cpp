#include "ui/user_interface.h"

#include <cstring>

#include "plugin/disk_system.h"

namespace disk {

void* CreateStatusPanel(void*, MhwWord) {
  // The host's display-mode tables are taken anew by the DeviceConect that follows.
  DiskSystem& system = TheDiskSystem();
  std::memset(system.dialogMode, 0, sizeof system.dialogMode);
  std::memset(system.displayMode, 0, sizeof system.displayMode);
  return nullptr;  // the panel window comes with the user interface
}

void ShowDiskSettingDialog(void*) {}

}  // namespace disk
