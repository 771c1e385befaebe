// MFD revision R0: a fixed header of 163 tracks x 26 records of 16 bytes, then the data of every
// record that holds a sector, one after another.
#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"
#include "formats/mfd.h"

namespace disk {

bool IsMfdR0(const std::uint8_t* probe, ImageReader&) {
  return HasSignature(probe, mfd::kR0Signature);
}

bool LoadMfdR0(ImageReader& reader, FloppyTables& tables) {
  constexpr std::uint32_t kRecordsOffset = mfd::kTrackTableOffset;
  constexpr std::uint32_t kRecordSize = mfd::kRecordSize;
  std::uint8_t fixed[kRecordsOffset];
  if (!reader.ReadExact(0, fixed, sizeof fixed)) return false;
  // The whole header must be there, even where no track uses it.
  std::uint8_t last;
  if (!reader.ReadExact(mfd::kR0HeaderSize - 1, &last, 1)) return false;

  std::uint32_t running = 0;
  std::uint8_t records[mfd::kR0Places * kRecordSize];
  for (int track = 0; track < mfd::kR0Tracks; ++track) {
    if (!reader.ReadExact(kRecordsOffset + track * sizeof records, records, sizeof records))
      return false;
    for (int place = 0; place < mfd::kR0Places; ++place) {
      const std::uint8_t* r = records + place * kRecordSize;
      SectorRecord& slot = tables.sectors[track][place];
      slot = {r[0], r[1], r[2], r[3], r[4],  r[5],
              r[6], r[7], r[8], r[9], r[10], mfd::kR0HeaderSize + running,
              0,    0};
      if (!slot.IsEmpty()) running += SectorSize(slot.N);
    }
  }
  ApplyMfdHeader(tables, fixed, 0);
  return true;
}

}  // namespace disk
