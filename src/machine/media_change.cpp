#include "machine/media_change.h"

#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "media/floppy_drive.h"

namespace disk {
namespace {

// Takes the disk out of a running floppy drive and tells the controller its ready line changed.
void UnmountFloppy(DiskSystem& system, int row) {
  if (FloppyDrive* drive = system.devices.floppyDrives[row]) drive->Eject();
  if (FloppyController* fdc = system.devices.fdc)
    fdc->ReportReadyChange(static_cast<std::uint32_t>(row), false);
}

}  // namespace

void ScheduleMount(DiskSystem& system, int row) {
  if (system.running != 0 && IsFloppyRow(row)) system.mountDelay[row] = kMountDelayTicks;
}

void EjectMedium(DiskSystem& system, int row) {
  bool running = system.running != 0;
  char* path = system.settings.imagePaths[row];
  if (IsFloppyRow(row) && system.settings.realDrives[row].useImage == 0) {
    RealDriveRecord& drive = system.settings.realDrives[row];
    if (drive.inserted != 0) {
      drive.inserted = 0;
      if (running) UnmountFloppy(system, row);
      path[0] = '\0';
    } else {
      drive.inserted = 1;
      if (running) system.mountDelay[row] = kMountDelayTicks;
      platform::CopyString(path, drive.driveName, platform::kPathSize);
    }
    return;
  }
  if (running && IsFloppyRow(row) && path[0] != '\0') UnmountFloppy(system, row);
  // A hard disk keeps its drive: its buttons are disabled while the machine runs.
  path[0] = '\0';
}

}  // namespace disk
