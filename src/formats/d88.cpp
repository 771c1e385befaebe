#include "formats/d88.h"

#include "formats/byte_fields.h"
#include "formats/floppy_geometry.h"

namespace disk {
namespace {

bool LoadTrack(ImageReader& reader, std::uint32_t offset, int track, FloppyTables& tables) {
  for (int slot = 0; slot < kSlotsPerTrack; ++slot) {
    std::uint8_t head[d88::kSectorHeadSize];
    if (!reader.ReadExact(offset, head, sizeof head)) return false;
    std::uint32_t sectorCount = LoadU16(head + 4);
    std::uint8_t mfm = head[6] == 0x00 ? 1 : 0;
    tables.SetSector(
        track, slot,
        {head[0], head[1], head[2], head[3], mfm, static_cast<std::uint8_t>(head[7] != 0 ? 1 : 0),
         head[8], static_cast<std::uint8_t>((track & 1) != 0 ? 0x04 : 0x00), 0, 0,
         MediaTypeFor(head[3], sectorCount, mfm), offset + d88::kSectorHeadSize, 0, 0});
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
    if (offset != 0 && !LoadTrack(reader, offset, track, tables)) return false;
  }
  // The name is cut at its own field: a name without a NUL does not run into the header.
  CopyTextField(tables.comment, sizeof tables.comment, header, d88::kNameSize);
  tables.writeProtect = header[d88::kWriteProtectOffset] == d88::kProtected ? 1 : 0;
  tables.reformattable = 0;
  tables.revision = 0;
  return true;
}

std::uint32_t D88DiskCount(ImageReader& reader) {
  return static_cast<std::uint32_t>(D88DiskStarts(reader).size());
}

std::vector<std::uint32_t> D88DiskStarts(ImageReader& reader) {
  const std::uint64_t fileSize = reader.Size();
  std::uint64_t at = 0;
  std::vector<std::uint32_t> starts;
  while (at < fileSize) {
    // Reads reach the first 4 GiB only.
    std::uint8_t field[4];
    if (at + d88::kDiskSizeOffset + sizeof field > UINT32_MAX ||
        !reader.ReadExact(static_cast<std::uint32_t>(at + d88::kDiskSizeOffset), field, 4))
      return {};
    // A disk smaller than its own header would never move the walk on.
    const std::uint32_t size = LoadU32(field);
    if (size < d88::kHeaderSize) return {};
    starts.push_back(static_cast<std::uint32_t>(at));
    at += size;
  }
  if (at != fileSize) starts.clear();
  return starts;
}

std::vector<std::uint8_t> BuildD88Image(const FloppyTables& tables, ImageReader& data) {
  std::vector<std::uint8_t> image(d88::kHeaderSize, 0);
  std::uint8_t* header = image.data();
  CopyTextField(reinterpret_cast<char*>(header), d88::kNameSize,
                reinterpret_cast<const std::uint8_t*>(tables.comment), sizeof tables.comment);
  header[d88::kWriteProtectOffset] = tables.writeProtect != 0 ? d88::kProtected : 0;
  header[d88::kMediaOffset] = d88::kMedia2HD;
  for (int track = 0; track < kTrackCount; ++track) {
    const std::uint32_t count = tables.SectorsOnTrack(track);
    if (count == 0) continue;
    StoreU32(image.data() + d88::kTrackTableOffset + 4 * track,
             static_cast<std::uint32_t>(image.size()));
    for (std::uint32_t slot = 0; slot < count; ++slot) {
      const SectorRecord& r = tables.sectors[track][slot];
      const std::uint32_t size = SectorSize(r.N);
      std::uint8_t head[d88::kSectorHeadSize] = {
          r.C,
          r.H,
          r.R,
          r.N,
          0,
          0,
          static_cast<std::uint8_t>(r.mfm != 0 ? 0x00 : d88::kDensityFm),
          static_cast<std::uint8_t>(r.deleted != 0 ? d88::kDeletedMark : 0),
          r.status};
      StoreU16(head + 4, count);
      StoreU16(head + 14, size);
      image.insert(image.end(), head, head + sizeof head);
      AppendImageBytes(data, r.dataOffset, size, image);
      // The whole disk is 2DD when its first sector is of the 640 KB class.
      if (track == 0 && slot == 0 && (r.mediaType & 0xF0) == kMedia640K)
        image[d88::kMediaOffset] = d88::kMedia2DD;
    }
  }
  StoreU32(image.data() + d88::kDiskSizeOffset, static_cast<std::uint32_t>(image.size()));
  return image;
}

}  // namespace disk
