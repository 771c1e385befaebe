#include "machine/floppy_unmount.h"

#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "media/floppy_drive.h"

namespace disk {

void UnmountFloppy(int row) {
  DiskSystem& system = TheDiskSystem();
  if (FloppyDrive* drive = system.floppyDrives[row]) drive->Eject();
  if (system.fdc != nullptr) system.fdc->ReportReadyChange(static_cast<std::uint32_t>(row), false);
}

}  // namespace disk
