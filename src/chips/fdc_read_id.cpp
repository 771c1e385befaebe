// READ ID: the ID of the sector under the head, in the order the sectors pass the head.
#include "chips/fdc_results.h"
#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"

namespace disk {

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

}  // namespace disk
