#include "ui/user_interface.h"

#include <cstring>

#include "machine/disk_system.h"

namespace disk {

void ForgetHostDisplayModes() {
  DiskSystem& system = TheDiskSystem();
  std::memset(system.dialogMode, 0, sizeof system.dialogMode);
  std::memset(system.displayMode, 0, sizeof system.displayMode);
}

}  // namespace disk
