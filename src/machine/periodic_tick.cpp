// The periodic tick: delayed floppy mounts (a disk change as the guest sees it), the FDWAIT
// count-down and the controller's timing.
#include "bios/floppy_worker.h"
#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"
#include "media/floppy_drive.h"

namespace disk {
namespace {

void MountWhenDue(DiskSystem& system, int unit) {
  std::uint32_t& delay = system.mountDelay[unit];
  if (delay == 0) return;
  // A drive lent to the floppy worker is mounted as soon as it is back.
  if (delay == 1 && DriveLentToWorker(system.bios, static_cast<unsigned>(unit))) return;
  if (--delay != 0) return;
  FloppyDrive* drive = system.devices.floppyDrives[unit];
  char* path = system.settings.imagePaths[unit];
  if (drive != nullptr && drive->LoadImage(path) != 0) {
    RealDriveRecord& record = system.settings.realDrives[unit];
    if (record.useImage == 0) record.inserted = 1;
    // The guest learns of the new disk from the controller's ready-change interrupt.
    if (FloppyController* fdc = system.devices.fdc)
      fdc->ReportReadyChange(static_cast<std::uint32_t>(unit), true);
  } else {
    path[0] = '\0';
  }
  system.RefreshPanel();
}

}  // namespace

void PeriodicTick(DiskSystem& system) {
  // A floppy worker that is done hands its results over first, so that its interrupt comes now.
  TakeBackFloppyWorker(system.bios, false);
  for (int unit = 0; unit < kFloppyUnitCount; ++unit) {
    MountWhenDue(system, unit);
    if (system.bios.fdWaitCount[unit] != 0) --system.bios.fdWaitCount[unit];
  }
  if (FloppyController* fdc = system.devices.fdc) fdc->Tick();
}

}  // namespace disk
