#include "plugin/floppy_worker.h"

#include "fdd/floppy_bios.h"
#include "fdd/floppy_drive.h"
#include "plugin/disk_system.h"

namespace disk {
namespace {

void FloppyBiosWorker(DiskSystem& system) {
  FloppyCallState& call = system.floppyCall;
  call.resultByte = RunFloppyOperation(system);
  // After the result: the emulation thread reads resultByte once it sees this clear.
  call.workerRunning.store(0, std::memory_order_release);
}

}  // namespace

std::uint8_t RunFloppyOperation(DiskSystem& system) {
  FloppyDrive* drive = system.floppyDrives[system.savedRegisters[mhw::reg::kAL] & 3];
  return drive != nullptr ? static_cast<std::uint8_t>(ExecuteBiosCall(*drive)) : 0;
}

void StartFloppyBiosWorker(DiskSystem& system) {
  FloppyCallState& call = system.floppyCall;
  call.workerRunning.store(1, std::memory_order_relaxed);
  if (!call.worker.Start([&system] { FloppyBiosWorker(system); })) {
    call.workerRunning.store(0, std::memory_order_relaxed);
    call.resultByte = RunFloppyOperation(system);
  }
}

}  // namespace disk
