#include "bios/floppy_call.h"

#include <cstring>

#include "bios/floppy_bios_call.h"
#include "bios/floppy_worker.h"
#include "bios/guest_registers.h"
#include "bios/work_area.h"
#include "machine/disk_system.h"
#include "media/floppy_drive.h"

namespace disk {
namespace {

constexpr std::uint8_t kStatusNoUnit = 0x40;
// Up to this many bytes an image transfer runs at once; more go to the worker thread.
constexpr std::uint32_t kSynchronousLimit = 0x2000;

enum class Mode { kSynchronous, kThreaded };

// How the call is run, and how many ticks FDWAIT makes it last (one per whole 512 bytes).
Mode Classify(DiskSystem& system, RegisterView regs, unsigned unit) {
  std::uint32_t& wait = system.fdWaitCount[unit];
  using namespace bios_command;
  switch (regs.AH() & 0x0F) {
    case kVerify:
    case bios_command::kReadDiagnostic:
    case kWriteData:
    case kReadData:
    case kWriteDeletedData:
    case kReadDeletedData:
      if (system.realDrives[unit].useImage != 0 && regs.BX() <= kSynchronousLimit) {
        wait = regs.BX() >> 9;
        return Mode::kSynchronous;
      }
      wait = 0;
      return Mode::kThreaded;
    case kRecalibrate:
    case kReadId:
      wait = 1;
      return Mode::kSynchronous;
    case kFormatTrack:
      wait = 0;
      return Mode::kThreaded;
    default:
      wait = 0;
      return Mode::kSynchronous;
  }
}

// Asks the host to run the same INT 1Bh again later.
void RequestRerun(const DiskSystem& system) {
  if (system.hostQueue != nullptr) {
    MhwRerunQueue& queue = *system.hostQueue;
    const std::uint32_t at = queue.count;
    if (at < 256) {  // a host that lets its queue fill loses the request, not its memory
      queue.entries[at] = (queue.entries[at] & ~0xFFu) | mhw::kRerunRequest;
      queue.count = at + 1;
    }
  }
  if (system.hostResume != nullptr) system.hostResume();
}

// Acknowledges a floppy interrupt the guest has not looked at yet.
void ClearFloppyInterruptFlags(const DiskSystem& system) {
  if ((ReadGuestByte(system, work_area::kFloppyInterrupt) & 0x0F) != 0 ||
      (ReadGuestByte(system, work_area::kFloppyInterrupt640) & 0xF0) != 0) {
    WriteGuestByte(system, work_area::kFloppyInterrupt, 0);
    WriteGuestByte(system, work_area::kFloppyInterrupt640, 0);
  }
}

}  // namespace

std::uint32_t FloppyBiosCall(DiskSystem& system) {
  FloppyCallState& call = system.floppyCall;
  RegisterView regs(system.registers);
  ClearFloppyInterruptFlags(system);
  const unsigned unit = regs.AL() & 3;

  if (call.callPending != 0) {
    // Every floppy call while one is pending is its re-run. The FDWAIT delay it waits for is
    // that of the unit its own AL names; units 2 and 3 have none.
    TakeBackFloppyWorker(system, false);
    const bool delayed =
        unit < kFloppyUnitCount && system.fdWait != 0 && system.fdWaitCount[unit] != 0;
    if (!call.lent && !delayed) {
      if (unit < kFloppyUnitCount) system.fdWaitCount[unit] = 0;
      std::memcpy(system.registers, system.savedRegisters, mhw::kRegistersSize);
      call.callPending = 0;
      return call.resultByte != 0 ? mhw::kBiosCarryClear : mhw::kBiosCarrySet;
    }
    RequestRerun(system);
    return mhw::kBiosNoCarry;
  }
  if (unit >= kFloppyUnitCount) {
    regs.SetAH(kStatusNoUnit);
    return mhw::kBiosCarrySet;
  }

  const Mode mode = Classify(system, regs, unit);
  call.callPending = 1;
  call.unit = unit;
  std::memcpy(system.savedRegisters, system.registers, mhw::kRegistersSize);
  if (FloppyDrive* drive = system.floppyDrives[unit]) drive->registers = system.savedRegisters;
  if (mode == Mode::kSynchronous) {
    call.resultByte = RunFloppyOperation(system, system.fdc);
  } else {
    system.fdWaitCount[unit] = 0;
    StartFloppyBiosWorker(system);
  }
  RequestRerun(system);
  return mhw::kBiosNoCarry;
}

void ForgetPendingFloppyCall() {
  DiskSystem& system = TheDiskSystem();
  AbandonFloppyWorker(system);
  system.floppyCall.callPending = 0;
}

}  // namespace disk
