// MFD revision R1: a header with one block per track (sector records with repeat counts and
// optional media types, then special read records), then the data of the tracks in track order.
#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"
#include "formats/mfd.h"

namespace disk {
namespace {

constexpr std::uint32_t kRecordSize = mfd::kRecordSize;

// Reads one track block into the track's tables; false when the block cannot be read or holds
// more records than the tables have room for (such an image is refused rather than cut short,
// since its data offsets would no longer be known).
bool LoadTrackBlock(ImageReader& reader, std::uint32_t blockOffset, std::uint32_t dataStart,
                    std::uint32_t& running, SectorRecord* slots, SpecialReadRecord* specials) {
  std::uint8_t head[kRecordSize];
  if (!reader.ReadExact(blockOffset, head, sizeof head)) return false;
  std::uint32_t sectorCount = LoadU16(head);
  std::uint32_t specialCount = LoadU16(head + 2);
  if (sectorCount > kSlotsPerTrack || specialCount > kSpecialsPerTrack) return false;

  std::uint8_t records[kSlotsPerTrack * kRecordSize];
  std::uint32_t offset = blockOffset + kRecordSize;
  if (!reader.ReadExact(offset, records, sectorCount * kRecordSize)) return false;
  for (std::uint32_t i = 0; i < sectorCount; ++i) {
    const std::uint8_t* r = records + i * kRecordSize;
    SectorRecord& slot = slots[i];
    slot = {r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9], r[11], dataStart + running,
            0,    r[10]};
    if (slot.IsEmpty()) continue;
    running += (slot.repeatCount + 1u) * SectorSize(slot.N);
  }
  if (sectorCount != 0) {
    const std::uint8_t derived = TrackMediaType(slots, sectorCount);
    for (std::uint32_t i = 0; i < sectorCount; ++i) {
      if (slots[i].mediaType == 0) slots[i].mediaType = derived;
    }
  }

  offset += sectorCount * kRecordSize;
  if (!reader.ReadExact(offset, records, specialCount * kRecordSize)) return false;
  for (std::uint32_t i = 0; i < specialCount; ++i) {
    const std::uint8_t* r = records + i * kRecordSize;
    SpecialReadRecord& special = specials[i];
    special = {
        r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], dataStart + running, LoadU32(r + 10),
        0,    r[9]};
    if (!special.EndsList()) running += (special.repeatCount + 1u) * special.dataLength;
  }
  return true;
}

}  // namespace

bool IsMfdR1(const std::uint8_t* probe, ImageReader&) {
  return HasSignature(probe, mfd::kR1Signature);
}

bool LoadMfdR1(ImageReader& reader, FloppyTables& tables) {
  std::uint8_t header[mfd::kR1FixedHeader];
  if (!reader.ReadExact(0, header, sizeof header)) return false;
  std::uint32_t dataStart = LoadU32(header + mfd::kHeaderSizeOffset);
  // The data offsets run on from one track to the next.
  std::uint32_t running = 0;
  for (int track = 0; track < kTrackCount; ++track) {
    std::uint32_t block = LoadU32(header + mfd::kTrackTableOffset + 4 * track);
    if (block == 0) continue;
    if (!LoadTrackBlock(reader, block, dataStart, running, tables.sectors[track],
                        tables.specials[track]))
      return false;
  }
  ApplyMfdHeader(tables, header, 1);
  return true;
}

}  // namespace disk
