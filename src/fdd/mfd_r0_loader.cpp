// MFD revision R0: a fixed header of 163 tracks x 26 records of 16 bytes, then the data of every
// record that holds a sector, one after another.
#include "fdd/floppy_drive.h"
#include "fdd/image_loaders.h"
#include "fdd/mfd_header.h"
#include "fdd/sector_size.h"

namespace disk {
namespace {

constexpr int kR0Tracks = 163;
constexpr int kR0Places = 26;
constexpr std::uint32_t kRecordsOffset = mfd::kTrackTableOffset;
constexpr std::uint32_t kRecordSize = mfd::kRecordSize;

}  // namespace

bool LoadMfdR0(ImageReader& reader, FloppyDrive& drive) {
  std::uint8_t fixed[kRecordsOffset];
  if (!reader.ReadExact(0, fixed, sizeof fixed)) return false;
  // The whole header must be there, even where no track uses it.
  std::uint8_t last;
  if (!reader.ReadExact(kR0HeaderSize - 1, &last, 1)) return false;

  std::uint32_t running = 0;
  std::uint8_t records[kR0Places * kRecordSize];
  for (int track = 0; track < kR0Tracks; ++track) {
    if (!reader.ReadExact(kRecordsOffset + track * sizeof records, records, sizeof records))
      return false;
    for (int place = 0; place < kR0Places; ++place) {
      const std::uint8_t* r = records + place * kRecordSize;
      SectorRecord& slot = drive.sectors[track][place];
      slot = {r[0], r[1], r[2], r[3], r[4],  r[5],
              r[6], r[7], r[8], r[9], r[10], kR0HeaderSize + running,
              0,    0};
      if (!slot.IsEmpty()) running += SectorSize(slot.N);
    }
  }
  ApplyMfdHeader(drive, fixed, 0);
  return true;
}

}  // namespace disk
