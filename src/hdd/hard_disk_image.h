// Recognition of the three hard-disk image formats (MHD, HDI, ZHD) from the first bytes of the
// file. Pure: bytes in, geometry out.
#pragma once

#include <cstdint>

namespace disk {

enum class HardDiskFormat { kMhd, kHdi, kZhd };

struct HardDiskGeometry {
  HardDiskFormat format = HardDiskFormat::kZhd;
  std::uint32_t dataOffset = 0;  // file offset of the first sector
  std::uint16_t cylinders = 0;
  std::uint8_t heads = 0;
  std::uint8_t sectors = 0;  // per track
  std::uint16_t sectorSize = 0;
};

inline constexpr std::uint32_t kHardDiskHeaderRead = 512;  // bytes looked at to recognise a file
inline constexpr char kMhdSignature[] = "ZEBHDDIMAGE.R0";  // with its NUL: 15 bytes

// Reads the geometry from the first 512 bytes of an image. There is no failure: a file that is
// neither MHD nor HDI is taken as ZHD, which carries no signature.
HardDiskGeometry RecognizeHardDiskImage(const std::uint8_t (&header)[kHardDiskHeaderRead]);

}  // namespace disk
