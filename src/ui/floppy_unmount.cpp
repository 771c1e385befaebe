#include "ui/floppy_unmount.h"

#include "fdd/floppy_drive.h"
#include "plugin/disk_system.h"

namespace disk {

void UnmountFloppy(int row) {
  DiskSystem& system = TheDiskSystem();
  if (FloppyDrive* drive = system.floppyDrives[row]) drive->Eject();
  // The ready change reaches the guest through the controller once it is wired here.
}

}  // namespace disk
