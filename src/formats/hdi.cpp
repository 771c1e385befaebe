// HDI hard-disk images: a 4096-byte header of which only the first eight 32-bit words are read,
// then the sectors.
#include <cstring>

#include "formats/byte_fields.h"
#include "formats/hard_disk_formats.h"

namespace disk {
namespace {

constexpr std::uint32_t kFirstWord = 0;  // must be 0
constexpr std::uint32_t kHeaderSizeOffset = 8;
constexpr std::uint32_t kDataSizeOffset = 12;
constexpr std::uint32_t kSectorSizeOffset = 16;
constexpr std::uint32_t kSectorsOffset = 20;
constexpr std::uint32_t kHeadsOffset = 24;
constexpr std::uint32_t kCylindersOffset = 28;
constexpr std::uint32_t kHeaderSize = kHdiHeaderSize;  // the only header size taken

}  // namespace

bool IsHdi(const std::uint8_t* header) {
  return LoadU32(header + kFirstWord) == 0 && LoadU32(header + kHeaderSizeOffset) == kHeaderSize;
}

HardDiskGeometry HdiGeometry(const std::uint8_t* header) {
  HardDiskGeometry g;
  g.format = ImageFormat::kHdi;
  g.dataOffset = kHeaderSize;
  g.sectorSize = static_cast<std::uint16_t>(LoadU32(header + kSectorSizeOffset));
  g.sectors = header[kSectorsOffset];
  g.heads = header[kHeadsOffset];
  g.cylinders = static_cast<std::uint16_t>(LoadU32(header + kCylindersOffset));
  return g;
}

void BuildHdiHeader(const HardDiskGeometry& g, std::uint8_t (&header)[kHdiHeaderSize]) {
  std::memset(header, 0, sizeof header);
  StoreU32(header + kHeaderSizeOffset, kHeaderSize);
  StoreU32(
      header + kDataSizeOffset,
      static_cast<std::uint32_t>(std::uint64_t{g.cylinders} * g.heads * g.sectors * g.sectorSize));
  StoreU32(header + kSectorSizeOffset, g.sectorSize);
  StoreU32(header + kSectorsOffset, g.sectors);
  StoreU32(header + kHeadsOffset, g.heads);
  StoreU32(header + kCylindersOffset, g.cylinders);
}

}  // namespace disk
