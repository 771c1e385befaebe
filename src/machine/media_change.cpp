#include "machine/media_change.h"

#include "machine/disk_system.h"
#include "machine/floppy_unmount.h"
#include "ui/panel_controls.h"

namespace disk {

void ScheduleMount(int row) {
  DiskSystem& system = TheDiskSystem();
  if (system.running != 0 && panel::IsFloppyRow(row)) system.mountDelay[row] = kMountDelayTicks;
}

void EjectMedium(int row) {
  DiskSystem& system = TheDiskSystem();
  bool running = system.running != 0;
  if (panel::IsFloppyRow(row) && system.realDrives[row].useImage == 0) {
    RealDriveRecord& drive = system.realDrives[row];
    if (drive.inserted != 0) {
      drive.inserted = 0;
      if (running) UnmountFloppy(row);
      system.imagePaths[row][0] = '\0';
    } else {
      drive.inserted = 1;
      if (running) system.mountDelay[row] = kMountDelayTicks;
      CopyString(system.imagePaths[row], drive.driveName, kPathSize);
    }
    return;
  }
  if (running && panel::IsFloppyRow(row) && system.imagePaths[row][0] != '\0') UnmountFloppy(row);
  // A hard disk keeps its drive: its buttons are disabled while the machine runs.
  system.imagePaths[row][0] = '\0';
}

}  // namespace disk
