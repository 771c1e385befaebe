// ZHD hard-disk images: a 256-byte header of which only the cylinder count is read; the rest of
// the geometry is fixed. There is no signature, so every file is a ZHD image when nothing else.
#include "formats/byte_fields.h"
#include "formats/hard_disk_formats.h"

namespace disk {
namespace {

constexpr std::uint32_t kHeaderSize = 256;
constexpr std::uint8_t kHeads = 8;
constexpr std::uint8_t kSectors = 33;
constexpr std::uint16_t kSectorSize = 256;

}  // namespace

bool IsZhd(const std::uint8_t*) {
  return true;
}

HardDiskGeometry ZhdGeometry(const std::uint8_t* header) {
  HardDiskGeometry g;
  g.format = ImageFormat::kZhd;
  g.dataOffset = kHeaderSize;
  g.cylinders = LoadU16(header);
  g.heads = kHeads;
  g.sectors = kSectors;
  g.sectorSize = kSectorSize;
  return g;
}

}  // namespace disk
