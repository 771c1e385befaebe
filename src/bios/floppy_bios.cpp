// The floppy operations of the disk BIOS: the entry point and the dispatch on the command code.
#include "bios/floppy_bios.h"

#include "bios/floppy_bios_call.h"

namespace disk {
namespace {

// Operations that seek first when AH asks for it and light the access lamp.
bool TouchesTheDisk(std::uint8_t command) {
  namespace cmd = bios_command;
  switch (command) {
    case cmd::kVerify:
    case cmd::kReadDiagnostic:
    case cmd::kWriteData:
    case cmd::kReadData:
    case cmd::kWriteDeletedData:
    case cmd::kReadId:
    case cmd::kReadDeletedData:
    case cmd::kFormatTrack:
      return true;
    default:
      return false;
  }
}

bool Dispatch(BiosCall& call) {
  namespace cmd = bios_command;
  switch (call.Command()) {
    case cmd::kSeek:
      return BiosSeek(call);
    case cmd::kVerify:
    case cmd::kReadDiagnostic:
    case cmd::kReadData:
    case cmd::kReadDeletedData:
      return BiosRead(call);
    case cmd::kInitialize:
      return BiosInitialize(call);
    case cmd::kSense:
      return BiosSense(call);
    case cmd::kWriteData:
    case cmd::kWriteDeletedData:
      return BiosWrite(call);
    case cmd::kRecalibrate:
      return BiosRecalibrate(call);
    case cmd::kReadId:
      return BiosReadId(call);
    case cmd::kFormatTrack:
      return BiosFormatTrack(call);
    default:  // set mode and the codes without an operation
      call.regs.SetAH(bios_status::kDone);
      return true;
  }
}

}  // namespace

bool RunBiosOperation(BiosCall& call) {
  const bool touches = TouchesTheDisk(call.Command());
  if (touches && call.SeekFirst()) call.ImpliedSeek();
  const bool done = Dispatch(call);
  if (touches) call.fdc.wiring().lightLamp(static_cast<int>(call.unit));
  return done;
}

std::uint32_t ExecuteBiosCall(const HostLink& host, FloppyDrive& drive, FloppyController& fdc) {
  if (drive.registers == nullptr) return 0;
  BiosCall call(host, drive, fdc);
  if ((call.regs.AL() & 1) != (drive.unit & 1)) return 0;
  fdc.unit = drive.unit;
  const bool done = RunBiosOperation(call);
  fdc.wiring().raiseInterrupt(call.Is640Class() ? fdc::kInterruptLine640KB
                                                : fdc::kInterruptLine1MB);
  return done ? 1 : 0;
}

}  // namespace disk
