#include "formats/mhd.h"

#include <cstring>

#include "formats/byte_fields.h"
#include "formats/hard_disk_formats.h"

namespace disk {

bool IsMhd(const std::uint8_t* header) {
  return HasSignature(header, mhd::kSignature);
}

HardDiskGeometry MhdGeometry(const std::uint8_t* header) {
  HardDiskGeometry g;
  g.format = ImageFormat::kMhd;
  g.dataOffset = LoadU32(header + mhd::kHeaderSizeOffset);
  g.cylinders = static_cast<std::uint16_t>(LoadU32(header + mhd::kCylindersOffset));
  g.heads = header[mhd::kHeadsOffset];
  g.sectors = header[mhd::kSectorsOffset];
  g.sectorSize = LoadU16(header + mhd::kSectorSizeOffset);
  return g;
}

void BuildNewMhdHeader(std::uint32_t cylinders, std::uint8_t (&header)[mhd::kHeaderSize]) {
  HardDiskGeometry g;
  g.heads = mhd::kNewHeads;
  g.sectors = mhd::kNewSectors;
  g.sectorSize = mhd::kNewSectorSize;
  BuildMhdHeader(g, mhd::kNewImageComment, header);
  // The field is 32 bits wide; a drive reads its low 16.
  StoreU32(header + mhd::kCylindersOffset, cylinders);
}

void BuildMhdHeader(const HardDiskGeometry& g, const char* comment,
                    std::uint8_t (&header)[mhd::kHeaderSize]) {
  std::memset(header, 0, sizeof header);
  std::memcpy(header, mhd::kSignature, sizeof mhd::kSignature);
  std::memcpy(header + mhd::kCommentOffset, comment, strnlen(comment, mhd::kCommentSize - 1));
  StoreU32(header + mhd::kHeaderSizeOffset, mhd::kHeaderSize);
  StoreU32(header + mhd::kCylindersOffset, g.cylinders);
  StoreU16(header + mhd::kHeadsOffset, g.heads);
  StoreU16(header + mhd::kSectorsOffset, g.sectors);
  StoreU16(header + mhd::kSectorSizeOffset, g.sectorSize);
}

}  // namespace disk
