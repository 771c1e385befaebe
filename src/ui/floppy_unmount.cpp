#include "ui/floppy_unmount.h"

#include "fdc/floppy_controller.h"
#include "fdd/floppy_drive.h"
#include "plugin/disk_system.h"

namespace disk {

void UnmountFloppy(int row) {
  DiskSystem& system = TheDiskSystem();
  if (FloppyDrive* drive = system.floppyDrives[row]) drive->Eject();
  if (system.fdc != nullptr) system.fdc->ReportReadyChange(static_cast<std::uint32_t>(row), false);
}

}  // namespace disk
