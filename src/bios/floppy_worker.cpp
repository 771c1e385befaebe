#include "bios/floppy_worker.h"

#include "bios/floppy_bios.h"
#include "machine/disk_system.h"
#include "media/floppy_drive.h"

namespace disk {
namespace {

// The working controller's interrupt function: the line waits until the worker's registers are
// taken over, so that the BIOS's interrupt service then reads the operation's results.
void MHW_CALL HoldInterrupt(std::uint32_t line) {
  FloppyCallState& call = TheDiskSystem().floppyCall;
  call.heldLine = line;
  call.interruptHeld = true;
}

void FloppyBiosWorker(DiskSystem& system, FloppyController* fdc) {
  FloppyCallState& call = system.floppyCall;
  call.resultByte = RunFloppyOperation(system, fdc);
  // After the result: the emulation thread takes it once it sees this clear.
  call.workerRunning.store(0, std::memory_order_release);
}

FloppyDrive* LentDrive(const DiskSystem& system) {
  return system.floppyDrives[system.floppyCall.unit];
}

// Copies the controllers' registers for the worker and binds the drive to the working copy.
// Returns the controller the worker uses.
FloppyController* Lend(DiskSystem& system) {
  FloppyCallState& call = system.floppyCall;
  call.lent = true;
  call.interruptHeld = false;
  if (system.dma != nullptr) call.dmaAtStart = call.workingDma = *system.dma;
  FloppyController* fdc = nullptr;
  if (system.fdc != nullptr) {
    call.fdcAtStart = call.workingFdc = *system.fdc;
    FloppyController::Wiring wiring = system.fdc->wiring();
    wiring.dma = system.dma != nullptr ? &call.workingDma : nullptr;
    wiring.raiseInterrupt = &HoldInterrupt;
    wiring.claimDrives = nullptr;
    call.workingFdc.SetWiring(wiring);
    fdc = &call.workingFdc;
  }
  if (FloppyDrive* drive = LentDrive(system)) {
    call.lentCylinder = drive->cylinder;
    call.lentSide = drive->side;
    drive->controller = fdc;
  }
  return fdc;
}

// Waits for the worker and gives the drive back to the real controller.
void GiveBack(DiskSystem& system) {
  FloppyCallState& call = system.floppyCall;
  call.worker.Join();
  call.workerRunning.store(0, std::memory_order_relaxed);
  if (!call.lent) return;
  call.lent = false;
  if (FloppyDrive* drive = LentDrive(system)) drive->controller = system.fdc;
}

}  // namespace

std::uint8_t RunFloppyOperation(DiskSystem& system, FloppyController* fdc) {
  FloppyDrive* drive = system.floppyDrives[system.savedRegisters[mhw::reg::kAL] & 3];
  if (drive == nullptr || fdc == nullptr) return 0;
  return static_cast<std::uint8_t>(ExecuteBiosCall(*drive, *fdc));
}

void StartFloppyBiosWorker(DiskSystem& system) {
  FloppyCallState& call = system.floppyCall;
  FloppyController* fdc = Lend(system);
  call.workerRunning.store(1, std::memory_order_relaxed);
  if (!call.worker.Start([&system, fdc] { FloppyBiosWorker(system, fdc); })) {
    GiveBack(system);
    call.resultByte = RunFloppyOperation(system, system.fdc);
  }
}

void TakeBackFloppyWorker(DiskSystem& system, bool wait) {
  FloppyCallState& call = system.floppyCall;
  if (!call.lent) return;
  if (!wait && call.workerRunning.load(std::memory_order_acquire) != 0) return;
  GiveBack(system);
  if (system.dma != nullptr) system.dma->TakeChangedRegisters(call.dmaAtStart, call.workingDma);
  if (system.fdc == nullptr) return;
  system.fdc->TakeOperationRegisters(call.fdcAtStart, call.workingFdc);
  if (MhwRaiseInterrupt raise = system.fdc->wiring().raiseInterrupt; raise && call.interruptHeld)
    raise(call.heldLine);
}

void AbandonFloppyWorker(DiskSystem& system) {
  GiveBack(system);
}

bool DriveLentToWorker(const DiskSystem& system, unsigned unit) {
  return system.floppyCall.lent && system.floppyCall.unit == unit;
}

HeadPosition VisibleHead(const DiskSystem& system, unsigned unit) {
  const FloppyCallState& call = system.floppyCall;
  if (DriveLentToWorker(system, unit)) return {call.lentCylinder, call.lentSide};
  const FloppyDrive* drive = unit < kFloppyDriveObjects ? system.floppyDrives[unit] : nullptr;
  if (drive == nullptr) return {0, 0};
  return {drive->cylinder, drive->side};
}

}  // namespace disk
