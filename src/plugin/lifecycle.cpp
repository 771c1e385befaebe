#include "fdc/floppy_controller.h"
#include "plugin/disk_system.h"
#include "plugin/floppy_call.h"
#include "plugin/machine_handlers.h"
#include "ui/status_panel.h"

namespace disk {

void MHW_CALL BiosStartup() {
  ForgetPendingFloppyCall();
  TheDiskSystem().running = 1;
  RefreshPanel();
}

void MHW_CALL PowerOff() {
  DiskSystem& system = TheDiskSystem();
  system.running = 0;
  RefreshPanel();
  for (auto& word : system.displayMode) word = 0;
}

void MHW_CALL PeriodicTick() {
  DiskSystem& system = TheDiskSystem();
  for (auto& count : system.fdWaitCount)
    if (count != 0) --count;
  if (system.fdc != nullptr) system.fdc->Tick();
}

}  // namespace disk
