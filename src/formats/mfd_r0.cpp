// MFD revision R0: a fixed header of 163 tracks x 26 records of 16 bytes, then the data of every
// record that holds a sector, one after another.
#include <cstring>

#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"
#include "formats/headerless.h"
#include "formats/mfd.h"

namespace disk {
namespace {

// A record's place in the header: 16 bytes, of which 11 are used.
void PutRecord(std::uint8_t* header, int track, int place, const SectorRecord& r) {
  std::uint8_t* at =
      header + mfd::kTrackTableOffset +
      (static_cast<std::uint32_t>(track) * mfd::kR0Places + static_cast<std::uint32_t>(place)) *
          mfd::kRecordSize;
  const std::uint8_t bytes[] = {r.C,      r.H,   r.R,   r.N,   r.mfm,      r.deleted,
                                r.status, r.st0, r.st1, r.st2, r.mediaType};
  std::memset(at, 0, mfd::kRecordSize);
  std::memcpy(at, bytes, sizeof bytes);
}

void PutFixedPart(std::uint8_t* header, const char* comment, std::uint8_t writeProtect) {
  std::memset(header, 0, mfd::kR0HeaderSize);
  PutMfdFixedFields(header, mfd::kR0Signature, comment, writeProtect);
  StoreU32(header + mfd::kHeaderSizeOffset, mfd::kR0HeaderSize);
}

}  // namespace

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
      const SectorRecord slot = {r[0], r[1], r[2], r[3], r[4],  r[5],
                                 r[6], r[7], r[8], r[9], r[10], mfd::kR0HeaderSize + running,
                                 0,    0};
      tables.SetSector(track, place, slot);
      if (!slot.IsEmpty()) running += SectorSize(slot.N);
    }
  }
  ApplyMfdHeader(tables, fixed, 0);
  return true;
}

// Slots 26 to 255 and track 163 have no place in the header.
std::uint32_t BuildMfdR0Header(const FloppyTables& tables, std::uint8_t* header) {
  PutFixedPart(header, tables.comment, tables.writeProtect);
  for (int track = 0; track < mfd::kR0Tracks; ++track)
    for (int place = 0; place < mfd::kR0Places; ++place)
      PutRecord(header, track, place, tables.sectors[track][place]);
  return mfd::kR0HeaderSize;
}

void BuildNewMfdHeader(const UniformLayout* medium, std::uint8_t* header) {
  static constexpr UniformLayout kUnformatted = {0, 0, 0, 0, false};
  const UniformLayout& layout = medium != nullptr ? *medium : kUnformatted;
  PutFixedPart(header, mfd::kNewImageComment, 0);
  for (int track = 0; track < mfd::kR0Tracks; ++track)
    for (int place = 0; place < mfd::kR0Places; ++place)
      PutRecord(header, track, place, UniformRecord(layout, track, place, 0));
}

}  // namespace disk
