// WRITE DATA and WRITE DELETED DATA: both write plain data, from R on in ascending record order.
#include "bios/floppy_bios_call.h"
#include "bios/guest_memory.h"
#include "formats/floppy_geometry.h"
#include "media/backing_store.h"

namespace disk {

bool BiosWrite(BiosCall& call) {
  FloppyDrive& drive = call.drive;
  std::int32_t remaining = call.regs.BX();
  if (!call.Ready()) return false;
  if (!call.MediaClassFits()) {
    call.WrongDensity();
    return false;
  }
  if (drive.writeProtect != 0) {
    call.SetResult(call.unit, fdc::st1::kNotWritable, bios_status::kWriteProtected);
    return false;
  }
  const std::uint8_t expectedC = call.ExpectedC();
  const std::uint8_t side = call.Side();
  drive.SelectSide(side);
  drive.ResetRotation();
  const SectorMatch match =
      drive.FindSector(call.Command(), expectedC, call.regs.DH(), call.regs.DL(), call.regs.CH());
  if (!match.found) {
    call.NoSector();
    return false;
  }
  std::uint8_t buffer[kLargestSector];
  WalkPosition at = {side, match.slot, match.endOfTrack};
  std::uint32_t transferred = 0;
  for (;;) {
    const SectorRecord& record = drive.Track(drive.cylinder, at.side)[at.slot];
    const std::uint32_t size = SectorSize(record.N);
    drive.dataPosition = drive.FindSectorData(drive.cylinder, at.side, record.R, record.N);
    CopyFromGuest(call.host, buffer, call.regs.ES(), call.regs.BP() + transferred,
                  static_cast<std::int32_t>(size));
    if (!WriteSectorData(drive, drive.dataPosition, buffer, size)) {
      // The image did not take the data (disk full, I/O error): reported as not ready.
      call.NotReady();
      return false;
    }
    remaining -= static_cast<std::int32_t>(size);
    transferred += size;
    call.SetResult(call.unit, 0, bios_status::kDone);
    if (remaining <= 0) return true;
    bool trackEnded = false;
    if (!call.StepWalk(at, trackEnded)) {
      call.NoSector();
      return false;
    }
  }
}

}  // namespace disk
