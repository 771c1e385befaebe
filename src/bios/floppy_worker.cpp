#include "bios/floppy_worker.h"

#include "bios/disk_bios.h"
#include "bios/floppy_bios.h"
#include "media/floppy_drive.h"

namespace disk {
namespace {

// The working controller's interrupt function: the line waits until the worker's registers are
// taken over, so that the BIOS's interrupt service then reads the operation's results.
void HoldInterrupt(void* floppyCall, std::uint32_t line) {
  FloppyCallState& call = *static_cast<FloppyCallState*>(floppyCall);
  call.heldLine = line;
  call.interruptHeld = true;
}

void FloppyBiosWorker(DiskBios& bios, FloppyController* fdc) {
  FloppyCallState& call = bios.floppyCall;
  call.resultByte = RunFloppyOperation(bios, fdc);
  // After the result: the emulation thread takes it once it sees this clear.
  call.workerRunning.store(0, std::memory_order_release);
}

FloppyDrive* LentDrive(const DiskBios& bios) {
  return bios.devices.floppyDrives[bios.floppyCall.unit];
}

// Copies the controllers' registers for the worker and binds the drive to the working copy.
// Returns the controller the worker uses.
FloppyController* Lend(DiskBios& bios) {
  FloppyCallState& call = bios.floppyCall;
  call.lent = true;
  call.interruptHeld = false;
  if (bios.devices.dma != nullptr) call.dmaAtStart = call.workingDma = *bios.devices.dma;
  FloppyController* fdc = nullptr;
  if (bios.devices.fdc != nullptr) {
    call.fdcAtStart = call.workingFdc = *bios.devices.fdc;
    FloppyController::Wiring& wiring = call.workingFdc.wiring();
    wiring.dma = bios.devices.dma != nullptr ? &call.workingDma : nullptr;
    wiring.raiseInterrupt = {&call, &HoldInterrupt};
    wiring.claimDrives = {};
    fdc = &call.workingFdc;
  }
  if (FloppyDrive* drive = LentDrive(bios)) {
    call.lentCylinder = drive->cylinder;
    call.lentSide = drive->side;
    drive->controller = fdc;
  }
  return fdc;
}

// Waits for the worker and gives the drive back to the real controller.
void GiveBack(DiskBios& bios) {
  FloppyCallState& call = bios.floppyCall;
  call.worker.Join();
  call.workerRunning.store(0, std::memory_order_relaxed);
  if (!call.lent) return;
  call.lent = false;
  if (FloppyDrive* drive = LentDrive(bios)) drive->controller = bios.devices.fdc;
}

}  // namespace

std::uint8_t RunFloppyOperation(DiskBios& bios, FloppyController* fdc) {
  FloppyDrive* drive = bios.devices.floppyDrives[bios.host.savedRegisters[mhw::reg::kAL] & 3];
  if (drive == nullptr || fdc == nullptr) return 0;
  return static_cast<std::uint8_t>(ExecuteBiosCall(bios.host, *drive, *fdc));
}

void StartFloppyBiosWorker(DiskBios& bios) {
  FloppyCallState& call = bios.floppyCall;
  FloppyController* fdc = Lend(bios);
  call.workerRunning.store(1, std::memory_order_relaxed);
  if (!call.worker.Start([&bios, fdc] { FloppyBiosWorker(bios, fdc); })) {
    GiveBack(bios);
    call.resultByte = RunFloppyOperation(bios, bios.devices.fdc);
  }
}

void TakeBackFloppyWorker(DiskBios& bios, bool wait) {
  FloppyCallState& call = bios.floppyCall;
  if (!call.lent) return;
  if (!wait && call.workerRunning.load(std::memory_order_acquire) != 0) return;
  GiveBack(bios);
  if (bios.devices.dma != nullptr)
    bios.devices.dma->TakeChangedRegisters(call.dmaAtStart, call.workingDma);
  if (bios.devices.fdc == nullptr) return;
  bios.devices.fdc->TakeOperationRegisters(call.fdcAtStart, call.workingFdc);
  if (call.interruptHeld) bios.devices.fdc->wiring().raiseInterrupt(call.heldLine);
}

void AbandonFloppyWorker(DiskBios& bios) {
  GiveBack(bios);
}

bool DriveLentToWorker(const DiskBios& bios, unsigned unit) {
  return bios.floppyCall.lent && bios.floppyCall.unit == unit;
}

HeadPosition VisibleHead(const DiskBios& bios, unsigned unit) {
  const FloppyCallState& call = bios.floppyCall;
  if (DriveLentToWorker(bios, unit)) return {call.lentCylinder, call.lentSide};
  const FloppyDrive* drive = unit < kFloppyDriveObjects ? bios.devices.floppyDrives[unit] : nullptr;
  if (drive == nullptr) return {0, 0};
  return {drive->cylinder, drive->side};
}

}  // namespace disk
