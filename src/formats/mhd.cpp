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
  std::memset(header, 0, sizeof header);
  std::memcpy(header, mhd::kSignature, sizeof mhd::kSignature);
  std::memcpy(header + mhd::kCommentOffset, mhd::kNewImageComment, sizeof mhd::kNewImageComment);
  StoreU32(header + mhd::kHeaderSizeOffset, mhd::kHeaderSize);
  StoreU32(header + mhd::kCylindersOffset, cylinders);
  StoreU16(header + mhd::kHeadsOffset, mhd::kNewHeads);
  StoreU16(header + mhd::kSectorsOffset, mhd::kNewSectors);
  StoreU16(header + mhd::kSectorSizeOffset, mhd::kNewSectorSize);
}

}  // namespace disk
