// READ DATA, READ DIAGNOSTIC and WRITE DATA: find the sector, then walk the track in ascending
// record order, moving each sector through the DMA channel until the channel's terminal count,
// the end-of-track record or the end of the track.
#include <cstring>

#include "chips/dma_controller.h"
#include "chips/fdc_results.h"
#include "chips/floppy_controller.h"
#include "media/backing_store.h"
#include "media/floppy_drive.h"

namespace disk {
namespace {

enum class Direction { kToGuest, kFromGuest };

bool DensityMatches(const FloppyDrive& drive, bool mfm) {
  // An empty slot's flag (0xFF) counts as MFM.
  return (drive.Track(drive.cylinder, drive.side)[0].mfm != 0) == mfm;
}

enum class Moved { kGoOn, kFinished, kStoreFailed };

// Moves one sector; kFinished when the DMA channel reports the transfer finished.
Moved MoveSector(FloppyController& fdc, FloppyDrive& drive, const SectorId& id, Direction direction,
                 std::uint8_t* buffer) {
  const std::uint32_t offset = drive.FindSectorData(drive.cylinder, drive.side, id.R, id.N);
  const std::uint32_t length = fdc::TransferLength(id.N, fdc.dtl);
  DmaController* dma = fdc.wiring().dma;
  bool finished = true;
  if (direction == Direction::kToGuest) {
    ReadSectorData(drive, offset, buffer, length);
    if (dma != nullptr) finished = dma->TransferToMemory(fdc.DmaChannel(), buffer, length);
    return finished ? Moved::kFinished : Moved::kGoOn;
  }
  // The whole sector is written even when the channel ends inside it: the rest is zeros, never
  // what an earlier sector left in the buffer.
  std::memset(buffer, 0, length);
  if (dma != nullptr) finished = dma->TransferFromMemory(fdc.DmaChannel(), buffer, length);
  if (!WriteSectorData(drive, offset, buffer, length)) return Moved::kStoreFailed;
  return finished ? Moved::kFinished : Moved::kGoOn;
}

}  // namespace

void FloppyController::ReadData() {
  TransferSectors(false);
}

void FloppyController::WriteData() {
  TransferSectors(true);
}

void FloppyController::TransferSectors(bool write) {
  const fdc::CommandBits bits = fdc::CommandBits::Decode(commandByte, unitByte);
  const std::uint8_t headBit = bits.headBit();
  LightLamp();
  st0 = headBit;
  FloppyDrive* drive = CurrentDrive();
  if (drive == nullptr || !drive->Inserted()) return fdc::NotReadyEnd(*this, headBit);
  if (write && drive->writeProtect != 0)
    return fdc::AbnormalEnd(*this, headBit, fdc::st1::kNotWritable);

  seekEndPending = 0;
  drive->SelectSide(bits.head);
  drive->rotation = 0;  // the cursor only: the R register keeps the record asked for
  if (!DensityMatches(*drive, bits.mfm)) {
    fdc::AbnormalEnd(*this, headBit, fdc::st1::kMissingAddressMark);
    return drive->ResetRotation();
  }

  // One revolution at most: every sector passes under the head once.
  const std::uint32_t sectorCount = drive->CountSectors(drive->cylinder, drive->side);
  SectorId id{};
  bool found = false;
  for (std::uint32_t i = 0; i < sectorCount && !found; ++i) {
    id = drive->NextSectorId();
    found = id.C == idC && id.H == idH && id.R == idR && id.N == idN;
  }
  if (!found) {
    fdc::AbnormalEnd(*this, headBit, fdc::st1::kNoData);
    return drive->ResetRotation();
  }

  const Direction direction = write ? Direction::kFromGuest : Direction::kToGuest;
  for (;;) {
    const Moved moved = MoveSector(*this, *drive, id, direction, buffer_);
    if (moved == Moved::kStoreFailed) {
      // The image did not take the data: the guest must not see the write as done.
      fdc::NotReadyEnd(*this, headBit);
      return drive->ResetRotation();
    }
    if (moved == Moved::kFinished || eot == id.R || eot == 0) break;
    if (id.endOfTrack) {
      if (drive->side == 0 && bits.multiTrack) {
        drive->SelectSide(1);
        drive->ResetRotation();
      } else {
        // The sectors already moved stay moved.
        fdc::AbnormalEnd(*this, headBit, fdc::st1::kNoData);
        return drive->ResetRotation();
      }
    }
    id = drive->NextSectorId();
    if (drive->Track(drive->cylinder, drive->side)[id.slot].IsEmpty()) {
      // Side 1 of a one-sided disk: no sector to go on with.
      fdc::AbnormalEnd(*this, headBit, fdc::st1::kNoData);
      return drive->ResetRotation();
    }
  }

  if (id.endOfTrack) {
    // The ID register names the first sector of the next track the command would reach.
    if (idH != 0) ++idC;
    if (bits.multiTrack) idH ^= 1;
    drive->ResetRotation();
  }
  const SectorId next = drive->NextSectorId();
  idR = next.R;
  idN = next.N;
  fdc::NormalEnd(*this, headBit);
}

void FloppyController::LightLamp() const {
  // Units 2 and 3 have no drive and no lamp of their own (lamps 2 and 3 are the hard disks').
  if (unit < kUnits) wiring_.lightLamp(static_cast<int>(unit));
}

}  // namespace disk
