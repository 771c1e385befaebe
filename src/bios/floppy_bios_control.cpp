// The operations that move the head or report on the drive: SEEK, INITIALIZE, SENSE,
// RECALIBRATE and READ ID.
#include "bios/floppy_bios_call.h"

namespace disk {
namespace {

// Sense's status bits over its base value.
constexpr std::uint8_t kSenseReady = 0x01;
constexpr std::uint8_t kSenseWriteProtected = 0x10;

// The base status of SENSE by the whole AH and by the 640 KB classes.
std::uint8_t SenseBase(std::uint8_t ah, bool class640) {
  if (ah == 0x04) return class640 ? 0x05 : 0x00;
  if (ah == 0x84) return class640 ? 0x0F : 0x08;
  return class640 ? 0x0F : 0x0C;
}

}  // namespace

bool BiosSeek(BiosCall& call) {
  if (!call.Ready()) return false;
  call.fdc.ncn = call.regs.CL();
  call.fdc.Seek();
  call.drive.SelectSide(0);
  call.regs.SetAH(bios_status::kDone);
  return true;
}

bool BiosInitialize(BiosCall& call) {
  call.drive.cylinder = 0;
  call.drive.side = 0;
  call.drive.rotation = 0;
  call.SetResult(call.unit | fdc::st0::kSeekEnd, 0, bios_status::kDone);
  call.fdc.ncn = 0;
  return true;
}

bool BiosSense(BiosCall& call) {
  std::uint8_t status = SenseBase(call.ah, call.Is640Class());
  if (!call.drive.Inserted()) {
    call.regs.SetAH(status | bios_status::kNotReady);
    return false;
  }
  // The 640 KB interface answers the 0x70 classes only, the other modes every class but them.
  const bool class70 = call.DeviceClass() == 0x7 || call.DeviceClass() == 0xF;
  if (class70 != (call.fdc.interfaceMode == fdc::kInterface640KB)) {
    call.regs.SetAH(bios_status::kBadRequest);
    return false;
  }
  status |= kSenseReady;
  if (call.drive.writeProtect != 0) status |= kSenseWriteProtected;
  call.regs.SetAH(status);
  return true;
}

bool BiosRecalibrate(BiosCall& call) {
  if (!call.Ready()) return false;
  call.fdc.Recalibrate();
  call.regs.SetAH(bios_status::kDone);
  return true;
}

bool BiosReadId(BiosCall& call) {
  FloppyDrive& drive = call.drive;
  if (!call.Ready()) return false;
  auto wrongDensity = [&] {
    call.WrongDensity();
    drive.ResetRotation();
    return false;
  };
  if (!call.MediaClassFits()) return wrongDensity();
  drive.SelectSide(call.regs.DH() & 1);
  if ((drive.Track(drive.cylinder, drive.side)[0].mfm != 0) != call.Mfm()) return wrongDensity();
  // No reset of the rotation: successive calls see successive sectors in slot order.
  call.fdc.commandByte = call.ah;
  call.fdc.ReadId();
  call.regs.SetCL(call.fdc.idC);
  call.regs.SetDH(call.fdc.idH);
  call.regs.SetDL(call.fdc.idR);
  call.regs.SetCH(call.fdc.idN);
  if ((call.fdc.st0 & fdc::st0::kInterruptCodeMask) != 0) {
    call.regs.SetAH(bios_status::kWrongDensity);
    drive.ResetRotation();
    return false;
  }
  call.regs.SetAH(bios_status::kDone);
  return true;
}

}  // namespace disk
