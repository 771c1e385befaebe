#include "bios/floppy_call.h"

#include <cstring>

#include "bios/disk_bios.h"
#include "bios/floppy_bios_call.h"
#include "bios/floppy_worker.h"
#include "bios/guest_memory.h"
#include "bios/guest_registers.h"
#include "bios/work_area.h"
#include "media/floppy_drive.h"

namespace disk {
namespace {

// Up to this many bytes an image transfer runs at once; more go to the worker thread.
constexpr std::uint32_t kSynchronousLimit = 0x2000;

enum class Mode { kSynchronous, kThreaded };

// How the call is run, and how many ticks FDWAIT makes it last (one per whole 512 bytes).
Mode Classify(DiskBios& bios, RegisterView regs, unsigned unit) {
  std::uint32_t& wait = bios.fdWaitCount[unit];
  using namespace bios_command;
  switch (regs.AH() & 0x0F) {
    case kVerify:
    case bios_command::kReadDiagnostic:
    case kWriteData:
    case kReadData:
    case kWriteDeletedData:
    case kReadDeletedData:
      if (bios.settings.realDrives[unit].useImage != 0 && regs.BX() <= kSynchronousLimit) {
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
void RequestRerun(const DiskBios& bios) {
  if (bios.host.hostQueue != nullptr) {
    MhwRerunQueue& queue = *bios.host.hostQueue;
    const std::uint32_t at = queue.count;
    if (at < 256) {  // a host that lets its queue fill loses the request, not its memory
      queue.entries[at] = (queue.entries[at] & ~0xFFu) | mhw::kRerunRequest;
      queue.count = at + 1;
    }
  }
  if (bios.host.hostResume != nullptr) bios.host.hostResume();
}

// Acknowledges a floppy interrupt the guest has not looked at yet.
void ClearFloppyInterruptFlags(const DiskBios& bios) {
  if ((ReadGuestByte(bios.host, work_area::kFloppyInterrupt) & 0x0F) != 0 ||
      (ReadGuestByte(bios.host, work_area::kFloppyInterrupt640) & 0xF0) != 0) {
    WriteGuestByte(bios.host, work_area::kFloppyInterrupt, 0);
    WriteGuestByte(bios.host, work_area::kFloppyInterrupt640, 0);
  }
}

}  // namespace

std::uint32_t FloppyBiosCall(DiskBios& bios) {
  FloppyCallState& call = bios.floppyCall;
  RegisterView regs(bios.host.registers);
  ClearFloppyInterruptFlags(bios);
  const unsigned unit = regs.AL() & 3;

  if (call.callPending != 0) {
    // Every floppy call while one is pending is its re-run. The FDWAIT delay it waits for is
    // that of the unit its own AL names; units 2 and 3 have none.
    TakeBackFloppyWorker(bios, false);
    const bool delayed =
        unit < kFloppyUnitCount && bios.settings.fdWait != 0 && bios.fdWaitCount[unit] != 0;
    if (!call.lent && !delayed) {
      if (unit < kFloppyUnitCount) bios.fdWaitCount[unit] = 0;
      std::memcpy(bios.host.registers, bios.host.savedRegisters, mhw::kRegistersSize);
      call.callPending = 0;
      return call.resultByte != 0 ? mhw::kBiosCarryClear : mhw::kBiosCarrySet;
    }
    RequestRerun(bios);
    return mhw::kBiosNoCarry;
  }
  if (unit >= kFloppyUnitCount) {
    regs.SetAH(bios_status::kBadRequest);
    return mhw::kBiosCarrySet;
  }

  const Mode mode = Classify(bios, regs, unit);
  call.callPending = 1;
  call.unit = unit;
  std::memcpy(bios.host.savedRegisters, bios.host.registers, mhw::kRegistersSize);
  if (FloppyDrive* drive = bios.devices.floppyDrives[unit])
    drive->registers = bios.host.savedRegisters;
  if (mode == Mode::kSynchronous) {
    call.resultByte = RunFloppyOperation(bios, bios.devices.fdc);
  } else {
    bios.fdWaitCount[unit] = 0;
    StartFloppyBiosWorker(bios);
  }
  RequestRerun(bios);
  return mhw::kBiosNoCarry;
}

void ForgetPendingFloppyCall(DiskBios& bios) {
  AbandonFloppyWorker(bios);
  bios.floppyCall.callPending = 0;
}

}  // namespace disk
