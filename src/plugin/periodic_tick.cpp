// The periodic tick: delayed floppy mounts, the FDWAIT count-down and the controller's timing.
#include "fdc/floppy_controller.h"
#include "plugin/disk_system.h"
#include "plugin/floppy_call.h"
#include "plugin/machine_handlers.h"

namespace disk {

void MHW_CALL PeriodicTick() {
  DiskSystem& system = TheDiskSystem();
  for (auto& count : system.fdWaitCount)
    if (count != 0) --count;
  if (system.fdc != nullptr) system.fdc->Tick();
}

}  // namespace disk
