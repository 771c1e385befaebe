#include "ui/user_interface.h"

#include <cstring>

#include "machine/disk_system.h"

namespace disk {

void ForgetHostDisplayModes() {
  DiskSystem& system = TheDiskSystem();
  std::memset(system.links.dialogMode, 0, sizeof system.links.dialogMode);
  std::memset(system.links.displayMode, 0, sizeof system.links.displayMode);
}

}  // namespace disk
