// The checks and result rules the floppy BIOS operations share.
#include "bios/floppy_bios_call.h"

namespace disk {
namespace {

constexpr std::uint8_t kSeekCylinderSearchTracks = 163;

}  // namespace

BiosCall::BiosCall(const HostLink& hostLink, FloppyDrive& floppyDrive, FloppyController& controller)
    : host(hostLink),
      drive(floppyDrive),
      fdc(controller),
      regs(floppyDrive.registers),
      unit(static_cast<std::uint8_t>(floppyDrive.unit)),
      ah(regs.AH()) {}

void BiosCall::SetResult(std::uint8_t st0, std::uint8_t st1, std::uint8_t status) {
  fdc.st0 = st0;
  fdc.st1 = st1;
  fdc.st2 = 0;
  regs.SetAH(status);
}

void BiosCall::ResultFrom(std::uint8_t side, std::uint8_t st0, std::uint8_t st1, std::uint8_t st2,
                          std::uint8_t status) {
  fdc.st0 = static_cast<std::uint8_t>((side << 2) | st0 | unit);
  fdc.st1 = st1;
  fdc.st2 = st2;
  regs.SetAH(status);
}

bool BiosCall::Ready() {
  if (drive.Inserted()) return true;
  NotReady();
  return false;
}

void BiosCall::NotReady() {
  SetResult(static_cast<std::uint8_t>(unit | fdc::st0::kAbnormalEnd | fdc::st0::kNotReady), 0,
            bios_status::kNotReady);
}

bool BiosCall::MediaClassFits() const {
  if (!drive.Inserted()) return false;
  const unsigned media = drive.Track(drive.cylinder, drive.side)[0].mediaType >> 4;
  const unsigned asked = DeviceClass();
  switch (media) {
    case 0x1:
    case 0x7:
      return asked == 0x1 || asked == 0x7;
    case 0x3:
      return asked == 0x3;
    case 0x9:
    case 0xB:
      return asked == 0x9 || asked == 0xB;
    default:  // an unknown class, an empty track among them, takes every call
      return true;
  }
}

void BiosCall::ImpliedSeek() {
  if (!drive.Inserted()) return;
  const std::uint8_t cl = regs.CL();
  fdc.unit = unit;
  fdc.ncn = cl;
  drive.cylinder = cl;
  // Disks whose cylinders carry other numbers than their places (some copy protections) are
  // found by the number recorded in the ID fields.
  if (drive.Track(cl, 0)[0].C != cl) {
    for (int track = 0; track < kSeekCylinderSearchTracks; ++track) {
      if (drive.sectors[track][0].C == cl) {
        drive.cylinder = static_cast<std::uint8_t>(track / 2);
        break;
      }
    }
  }
  drive.side = 0;
  fdc.pcn = cl;
  fdc.st0 = unit;
  fdc.st1 = cl;
}

std::uint8_t BiosCall::Side() const {
  if ((regs.AL() & 0x04) != 0) return regs.DH() == 0 ? 1 : 0;
  return regs.DH() & 1;
}

void BiosCall::WrongDensity() {
  SetResult(unit | fdc::st0::kAbnormalEnd, fdc::st1::kMissingAddressMark,
            bios_status::kWrongDensity);
}

void BiosCall::NoSector() {
  SetResult(unit | fdc::st0::kAbnormalEnd, fdc::st1::kNoData, bios_status::kNoSector);
  drive.ResetRotation();
}

bool BiosCall::StepWalk(WalkPosition& at, bool& trackEnded) {
  trackEnded = false;
  if (at.endOfTrack) {
    if (at.side != 0 || !MultiTrack()) {
      trackEnded = true;
      return false;
    }
    at.side = 1;
    drive.SelectSide(1);
    drive.ResetRotation();
  }
  const SectorId next = drive.NextSectorId();
  // Side 1 of a one-sided disk: nothing to go on with.
  if (drive.Track(drive.cylinder, at.side)[next.slot].IsEmpty()) return false;
  at.slot = next.slot;
  at.endOfTrack = next.endOfTrack;
  return true;
}

std::uint8_t BiosCall::ExpectedC() const {
  return SeekFirst() ? regs.CL() : drive.Track(drive.cylinder, 0)[0].C;
}

}  // namespace disk
