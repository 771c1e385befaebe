// D88: a header of track offsets, each track a run of sectors with a 16-byte head in front of
// its data. Read only: the module never rewrites these images.
#include "fdd/floppy_drive.h"
#include "fdd/image_bytes.h"
#include "fdd/image_loaders.h"
#include "fdd/media_type.h"

namespace disk {
namespace {

constexpr std::size_t kNameSize = 17;
constexpr std::uint32_t kWriteProtectOffset = 0x1A;
constexpr std::uint8_t kProtected = 0x10;
constexpr std::uint32_t kDiskSizeOffset = 0x1C;
constexpr std::uint32_t kTrackTableOffset = 0x20;
constexpr std::uint32_t kSectorHeadSize = 16;

bool LoadTrack(ImageReader& reader, std::uint32_t offset, int track, SectorRecord* slots) {
  for (int slot = 0; slot < kSlotsPerTrack; ++slot) {
    std::uint8_t head[kSectorHeadSize];
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
                   offset + kSectorHeadSize,
                   0,
                   0};
    if (static_cast<std::uint32_t>(slot) + 1 >= sectorCount) break;
    offset += kSectorHeadSize + LoadU16(head + 14);
  }
  return true;
}

}  // namespace

bool LoadD88(ImageReader& reader, FloppyDrive& drive) {
  std::uint8_t header[kD88HeaderSize];
  if (!reader.ReadExact(0, header, sizeof header)) return false;
  if (LoadU32(header + kDiskSizeOffset) != reader.Size()) return false;
  for (int track = 0; track < kTrackCount; ++track) {
    std::uint32_t offset = LoadU32(header + kTrackTableOffset + 4 * track);
    if (offset != 0 && !LoadTrack(reader, offset, track, drive.sectors[track])) return false;
  }
  // The name is cut at its own field: a name without a NUL does not run into the header.
  CopyTextField(drive.comment, sizeof drive.comment, header, kNameSize);
  drive.writeProtect = header[kWriteProtectOffset] == kProtected ? 1 : 0;
  drive.reformattable = 0;
  drive.revision = 0;
  return true;
}

}  // namespace disk
