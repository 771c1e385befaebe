// The periodic tick: delayed floppy mounts (a disk change as the guest sees it), the FDWAIT
// count-down and the controller's timing.
#include "fdc/floppy_controller.h"
#include "fdd/floppy_drive.h"
#include "plugin/disk_system.h"
#include "plugin/floppy_call.h"
#include "plugin/machine_handlers.h"
#include "ui/status_panel.h"

namespace disk {
namespace {

void MountWhenDue(DiskSystem& system, int unit) {
  std::uint32_t& delay = system.mountDelay[unit];
  if (delay == 0 || --delay != 0) return;
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
  // While a floppy worker runs, the drives and the controller are its own: mounts wait (their
  // counts hold) and the controller's timing resumes when it is done.
  const bool workerBusy = FloppyWorkerBusy(system);
  for (int unit = 0; unit < kFloppyUnitCount; ++unit) {
    if (!workerBusy) MountWhenDue(system, unit);
    if (system.fdWaitCount[unit] != 0) --system.fdWaitCount[unit];
  }
  if (system.fdc != nullptr && !workerBusy) system.fdc->Tick();
}

}  // namespace disk
