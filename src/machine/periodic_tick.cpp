// The periodic tick: delayed floppy mounts (a disk change as the guest sees it), the FDWAIT
// count-down and the controller's timing.
#include "bios/floppy_worker.h"
#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"
#include "media/floppy_drive.h"
#include "ui/status_panel.h"

namespace disk {
namespace {

void MountWhenDue(DiskSystem& system, int unit) {
  std::uint32_t& delay = system.mountDelay[unit];
  if (delay == 0) return;
  // A drive lent to the floppy worker is mounted as soon as it is back.
  if (delay == 1 && DriveLentToWorker(system, static_cast<unsigned>(unit))) return;
  if (--delay != 0) return;
  FloppyDrive* drive = system.floppyDrives[unit];
  if (drive != nullptr && drive->LoadImage(system.imagePaths[unit]) != 0) {
    if (system.realDrives[unit].useImage == 0) system.realDrives[unit].inserted = 1;
    // The guest learns of the new disk from the controller's ready-change interrupt.
    if (system.fdc != nullptr)
      system.fdc->ReportReadyChange(static_cast<std::uint32_t>(unit), true);
  } else {
    system.imagePaths[unit][0] = '\0';
  }
  RefreshPanel();
}

}  // namespace

void MHW_CALL PeriodicTick() {
  DiskSystem& system = TheDiskSystem();
  // A floppy worker that is done hands its results over first, so that its interrupt comes now.
  TakeBackFloppyWorker(system, false);
  for (int unit = 0; unit < kFloppyUnitCount; ++unit) {
    MountWhenDue(system, unit);
    if (system.fdWaitCount[unit] != 0) --system.fdWaitCount[unit];
  }
  if (system.fdc != nullptr) system.fdc->Tick();
}

}  // namespace disk
