// MFD revision R1: a header with one block per track (sector records with repeat counts and
// optional media types, then special read records), then the data of the tracks in track order.
#include <cstdint>
#include <cstring>

#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"
#include "formats/mfd.h"

namespace disk {
namespace {

constexpr std::uint32_t kRecordSize = mfd::kRecordSize;  // records and block heads alike

// Records of a track up to its last sector: a place without a sector in the middle stays (it
// holds no data), trailing empty slots are dropped.
std::uint32_t RecordsToWrite(const FloppyTables& tables, int track) {
  std::uint32_t n = tables.usedSlots[track];
  while (n > 0 && tables.sectors[track][n - 1].IsEmpty()) --n;
  return n;
}
std::uint32_t SpecialsToWrite(const FloppyTables& tables, int track) {
  std::uint32_t n = tables.usedSpecials[track];
  while (n > 0 && tables.specials[track][n - 1].EndsList()) --n;
  return n;
}

// Moves the running data offset past `size` bytes of data; false when they would not end within
// the 32-bit data offsets of the tables (no such image could be read as it says).
bool Advance(std::uint32_t dataStart, std::uint32_t& running, std::uint64_t size) {
  const std::uint64_t end = std::uint64_t{dataStart} + running + size;
  if (end > UINT32_MAX) return false;
  running = static_cast<std::uint32_t>(end - dataStart);
  return true;
}

// Reads one track block into the track's tables; false when the block cannot be read or holds
// more records than the tables have room for, or data that would end past 4 GiB (such an image
// is refused rather than cut short, since its data offsets would no longer be known).
bool LoadTrackBlock(ImageReader& reader, std::uint32_t blockOffset, std::uint32_t dataStart,
                    std::uint32_t& running, FloppyTables& tables, int track) {
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
    const SectorRecord slot = {r[0], r[1], r[2], r[3], r[4],  r[5],
                               r[6], r[7], r[8], r[9], r[11], dataStart + running,
                               0,    r[10]};
    tables.SetSector(track, static_cast<int>(i), slot);
    if (slot.IsEmpty()) continue;
    if (!Advance(dataStart, running, std::uint64_t{slot.repeatCount + 1u} * SectorSize(slot.N)))
      return false;
  }
  if (sectorCount != 0) {
    SectorRecord* slots = tables.sectors[track];
    const std::uint8_t derived = TrackMediaType(slots, sectorCount);
    for (std::uint32_t i = 0; i < sectorCount; ++i) {
      if (slots[i].mediaType == 0) slots[i].mediaType = derived;
    }
  }

  offset += sectorCount * kRecordSize;
  if (!reader.ReadExact(offset, records, specialCount * kRecordSize)) return false;
  for (std::uint32_t i = 0; i < specialCount; ++i) {
    const std::uint8_t* r = records + i * kRecordSize;
    const SpecialReadRecord special = {
        r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], dataStart + running, LoadU32(r + 10),
        0,    r[9]};
    tables.SetSpecial(track, static_cast<int>(i), special);
    if (!special.EndsList() &&
        !Advance(dataStart, running, std::uint64_t{special.repeatCount + 1u} * special.dataLength))
      return false;
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
    if (!LoadTrackBlock(reader, block, dataStart, running, tables, track)) return false;
  }
  ApplyMfdHeader(tables, header, 1);
  return true;
}

std::uint32_t MfdR1HeaderSize(const FloppyTables& tables) {
  std::uint32_t size = mfd::kR1FixedHeader;
  for (int track = 0; track < kTrackCount; ++track) {
    const std::uint32_t records = RecordsToWrite(tables, track);
    const std::uint32_t specials = SpecialsToWrite(tables, track);
    size += kRecordSize + (records + specials) * kRecordSize;
  }
  return size;
}

// Repeat counts and special records are written as the tables hold them: the data area keeps
// their copies, so dropping them would shift every sector behind them. A media type is written
// only where it differs from the one the reload derives from the track's layout (0 elsewhere),
// so that a type stored in an R0 image this one was converted from still reads as before.
std::uint32_t BuildMfdR1Header(const FloppyTables& tables, std::uint8_t* header) {
  std::memset(header, 0, mfd::kR1FixedHeader);
  PutMfdFixedFields(header, mfd::kR1Signature, tables.comment, tables.writeProtect);
  std::uint32_t at = mfd::kR1FixedHeader;
  for (int track = 0; track < kTrackCount; ++track) {
    const std::uint32_t records = RecordsToWrite(tables, track);
    const std::uint32_t specials = SpecialsToWrite(tables, track);
    StoreU32(header + mfd::kTrackTableOffset + 4 * track, records + specials > 0 ? at : 0);
    std::uint8_t* out = header + at;
    std::memset(out, 0, kRecordSize);
    StoreU16(out, records);
    StoreU16(out + 2, specials);
    out += kRecordSize;
    const SectorRecord* slots = tables.sectors[track];
    const std::uint8_t derived = records > 0 ? TrackMediaType(slots, records) : 0;
    for (std::uint32_t slot = 0; slot < records; ++slot, out += kRecordSize) {
      const SectorRecord& r = slots[slot];
      const std::uint8_t mediaType = r.mediaType != derived ? r.mediaType : 0;
      const std::uint8_t bytes[kRecordSize] = {r.C,   r.H,       r.R,           r.N,
                                               r.mfm, r.deleted, r.status,      r.st0,
                                               r.st1, r.st2,     r.repeatCount, mediaType};
      std::memcpy(out, bytes, kRecordSize);
    }
    for (std::uint32_t entry = 0; entry < specials; ++entry, out += kRecordSize) {
      const SpecialReadRecord& sp = tables.specials[track][entry];
      const std::uint8_t bytes[10] = {sp.command, sp.C,   sp.H,   sp.R,   sp.N,
                                      sp.status,  sp.st0, sp.st1, sp.st2, sp.repeatCount};
      std::memset(out, 0, kRecordSize);
      std::memcpy(out, bytes, sizeof bytes);
      StoreU32(out + 10, sp.dataLength);
    }
    at = static_cast<std::uint32_t>(out - header);
  }
  StoreU32(header + mfd::kHeaderSizeOffset, at);
  return at;
}

}  // namespace disk
