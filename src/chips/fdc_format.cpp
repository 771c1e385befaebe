// FORMAT TRACK: the ID list comes from guest memory through the DMA channel; the image side of
// the format is the drive's.
#include <cstring>

#include "chips/dma_controller.h"
#include "chips/fdc_results.h"
#include "chips/floppy_controller.h"
#include "media/floppy_drive.h"
#include "media/mfd_rewrite.h"

namespace disk {
namespace {

constexpr std::uint8_t kDefaultSectorCount = 26;
constexpr std::uint8_t kLargestFormatN = 5;
constexpr std::uint8_t kEndOfIdList = 0;  // an R of 0 ends the guest's list

}  // namespace

void FloppyController::FormatTrackCommand(std::uint8_t diskType) {
  const fdc::CommandBits bits = fdc::CommandBits::Decode(commandByte, unitByte);
  const std::uint8_t headBit = bits.headBit();
  seekEndPending = 0;
  LightLamp();
  st0 = headBit;
  // The same checks as the drive makes, before the guest's ID list is fetched. An empty drive
  // is not ready whatever kind of disk it held last.
  FloppyDrive* drive = CurrentDrive();
  if (drive == nullptr || !drive->Inserted()) return fdc::NotReadyEnd(*this, headBit);
  if (drive->reformattable == 0) return fdc::NormalEnd(*this, headBit);
  if (drive->writeProtect != 0) return fdc::AbnormalEnd(*this, headBit, fdc::st1::kNotWritable);

  if (formatSc == 0) formatSc = kDefaultSectorCount;
  FormatId ids[256];
  std::memset(ids, 0, sizeof ids);
  if (DmaController* dma = wiring_.dma)
    dma->TransferFromMemory(DmaChannel(), reinterpret_cast<std::uint8_t*>(ids),
                            std::uint32_t{formatSc} * sizeof(FormatId));
  std::uint32_t count = 0;
  while (count < formatSc && ids[count].R != kEndOfIdList && ids[count].C != kEmptySlot) ++count;
  formatSc = static_cast<std::uint8_t>(count);
  if (idN > kLargestFormatN) formatSc = 0;  // such sectors do not fit a track

  idC = drive->cylinder;
  idH = bits.head;
  switch (FormatTrack(*drive, bits.head, ids, formatSc, bits.mfm, formatFill, diskType)) {
    case FormatOutcome::kDoneUnchanged:
    case FormatOutcome::kDone:
      return fdc::NormalEnd(*this, headBit);
    case FormatOutcome::kWriteProtected:
      return fdc::AbnormalEnd(*this, headBit, fdc::st1::kNotWritable);
    case FormatOutcome::kNotReady:
      return fdc::NotReadyEnd(*this, headBit);
  }
}

}  // namespace disk
