// The commands that move the head or report on the drive: SEEK, RECALIBRATE, READ ID (the ID of
// the sector under the head, in the order the sectors pass it) and the two sense commands.
#include "chips/fdc_results.h"
#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"

namespace disk {

void FloppyController::Seek() {
  FloppyDrive* drive = CurrentDrive();
  if (drive == nullptr) return;
  if (drive->Inserted()) {
    // The head goes wherever it is told: the medium's cylinder count is not consulted.
    drive->cylinder = ncn;
    drive->side = 0;
    pcn = ncn;
    st0 = static_cast<std::uint8_t>(unit | fdc::st0::kSeekEnd);
  } else {
    st0 = static_cast<std::uint8_t>(unit | fdc::st0::kNotReadyResult);
  }
  seekEndPending = 1;
}

void FloppyController::Recalibrate() {
  FloppyDrive* drive = CurrentDrive();
  if (drive == nullptr) return;
  if (drive->Inserted() || forceReady != 0) {
    drive->cylinder = 0;
    ncn = 0;
    pcn = 0;
    st0 = static_cast<std::uint8_t>(unit | fdc::st0::kSeekEnd);
  } else {
    st0 = static_cast<std::uint8_t>(unit | fdc::st0::kNotReadyResult);
  }
  seekEndPending = 1;
}

void FloppyController::ReadId() {
  LightLamp();
  FloppyDrive* drive = CurrentDrive();
  if (unit >= kUnits || drive == nullptr) return;  // status bytes keep their values
  seekEndPending = 0;
  // The track under the head: the command's HD bit picks nothing, and ST0 carries no HD bit.
  if (!drive->Inserted()) {
    fdc::NotReadyEnd(*this, 0);
    return drive->ResetRotation();
  }
  const SectorRecord& first = drive->Track(drive->cylinder, drive->side)[0];
  const bool mfm = fdc::CommandBits::Decode(commandByte, unitByte).mfm;
  if ((first.mfm != 0) != mfm || first.IsEmpty()) {
    fdc::AbnormalEnd(*this, 0, fdc::st1::kMissingAddressMark);
    return drive->ResetRotation();
  }
  const SectorId id = drive->CurrentSectorId();
  idC = id.C;
  idH = id.H;
  idR = id.R;
  idN = id.N;
  fdc::NormalEnd(*this, 0);
}

void FloppyController::SenseInterruptStatus() {
  if (CurrentDrive() == nullptr) return;  // the old ST0 and PCN are reported again
  if (seekEndPending != 0) {
    seekEndPending = 0;
    pcn = ncn;
  } else {
    // Nothing to report: the result phase gives the invalid-command byte.
    command = fdc::kNoCommand;
  }
}

void FloppyController::SenseDriveStatus() {
  st3 = static_cast<std::uint8_t>(unitByte & fdc::st3::kHeadAndUnit);
  seekEndPending = 0;
  const FloppyDrive* drive = CurrentDrive();
  if (drive != nullptr && (drive->Inserted() || forceReady != 0)) {
    st3 |= fdc::st3::kReady | fdc::st3::kTwoSided;
    if (drive->writeProtect != 0) st3 |= fdc::st3::kWriteProtected;
    if (drive->cylinder == 0) st3 |= fdc::st3::kTrack0;
  }
  EnterPhase(Phase::kResult);
}

}  // namespace disk
