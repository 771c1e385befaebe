// SEEK, RECALIBRATE and the two sense commands.
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
