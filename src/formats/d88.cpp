#include "formats/d88.h"

#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"

namespace disk {
namespace {

bool LoadTrack(ImageReader& reader, std::uint32_t offset, int track, SectorRecord* slots) {
  for (int slot = 0; slot < kSlotsPerTrack; ++slot) {
    std::uint8_t head[d88::kSectorHeadSize];
    if (!reader.ReadExact(offset, head, sizeof head)) return false;
    std::uint32_t sectorCount = LoadU16(head + 4);
    std::uint8_t mfm = head[6] == 0x00 ? 1 : 0;
    slots[slot] = {head[0],
                   head[1],
                   head[2],
                   head[3],
                   mfm,
                   static_cast<std::uint8_t>(head[7] != 0 ? 1 : 0),
                   head[8],
                   static_cast<std::uint8_t>((track & 1) != 0 ? 0x04 : 0x00),
                   0,
                   0,
                   MediaTypeFor(head[3], sectorCount, mfm),
                   offset + d88::kSectorHeadSize,
                   0,
                   0};
    if (static_cast<std::uint32_t>(slot) + 1 >= sectorCount) break;
    offset += d88::kSectorHeadSize + LoadU16(head + 14);
  }
  return true;
}

}  // namespace

bool IsD88(const std::uint8_t* probe, ImageReader& reader) {
  return LoadU32(probe + d88::kDiskSizeOffset) == reader.Size();
}

bool LoadD88(ImageReader& reader, FloppyTables& tables) {
  std::uint8_t header[d88::kHeaderSize];
  if (!reader.ReadExact(0, header, sizeof header)) return false;
  if (LoadU32(header + d88::kDiskSizeOffset) != reader.Size()) return false;
  for (int track = 0; track < kTrackCount; ++track) {
    std::uint32_t offset = LoadU32(header + d88::kTrackTableOffset + 4 * track);
    if (offset != 0 && !LoadTrack(reader, offset, track, tables.sectors[track])) return false;
  }
  // The name is cut at its own field: a name without a NUL does not run into the header.
  CopyTextField(tables.comment, sizeof tables.comment, header, d88::kNameSize);
  tables.writeProtect = header[d88::kWriteProtectOffset] == d88::kProtected ? 1 : 0;
  tables.reformattable = 0;
  tables.revision = 0;
  return true;
}

std::uint32_t D88DiskCount(ImageReader& reader) {
  const std::uint64_t fileSize = reader.Size();
  std::uint64_t at = 0;
  std::uint32_t disks = 0;
  while (at < fileSize) {
    // Reads reach the first 4 GiB only.
    std::uint8_t field[4];
    if (at + d88::kDiskSizeOffset + sizeof field > UINT32_MAX ||
        !reader.ReadExact(static_cast<std::uint32_t>(at + d88::kDiskSizeOffset), field, 4))
      return 0;
    // A disk smaller than its own header would never move the walk on.
    const std::uint32_t size = LoadU32(field);
    if (size < d88::kHeaderSize) return 0;
    at += size;
    ++disks;
  }
  return at == fileSize ? disks : 0;
}

}  // namespace disk
