#include "hdd/hard_disk_image.h"

#include <cstdio>
#include <cstring>

namespace disk {
namespace {

std::uint32_t Dword(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Word(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// MHD header fields.
constexpr unsigned kMhdHeaderSize = 272, kMhdCylinders = 276, kMhdHeads = 280, kMhdSectors = 282,
                   kMhdSectorSize = 284;
// HDI header: eight 32-bit words at the start of a 4096-byte header.
constexpr unsigned kHdiHeaderSize = 8, kHdiSectorSize = 16, kHdiSectors = 20, kHdiHeads = 24,
                   kHdiCylinders = 28;
constexpr std::uint32_t kHdiDataOffset = 4096;
// ZHD: only the cylinder count is stored; the rest is fixed.
constexpr std::uint32_t kZhdDataOffset = 256;

constexpr std::uint64_t k4GiB = std::uint64_t{1} << 32;
constexpr std::uint64_t kFarSlack = 1024 * 1024;

}  // namespace

HardDiskGeometry RecognizeHardDiskImage(const std::uint8_t (&header)[kHardDiskHeaderRead]) {
  HardDiskGeometry g;
  if (std::memcmp(header, kMhdSignature, sizeof kMhdSignature) == 0) {
    g.format = HardDiskFormat::kMhd;
    g.dataOffset = Dword(header + kMhdHeaderSize);
    g.cylinders = static_cast<std::uint16_t>(Dword(header + kMhdCylinders));
    g.heads = header[kMhdHeads];
    g.sectors = header[kMhdSectors];
    g.sectorSize = Word(header + kMhdSectorSize);
  } else if (Dword(header) == 0 && Dword(header + kHdiHeaderSize) == kHdiDataOffset) {
    g.format = HardDiskFormat::kHdi;
    g.dataOffset = kHdiDataOffset;
    g.sectorSize = static_cast<std::uint16_t>(Dword(header + kHdiSectorSize));
    g.sectors = header[kHdiSectors];
    g.heads = header[kHdiHeads];
    g.cylinders = static_cast<std::uint16_t>(Dword(header + kHdiCylinders));
  } else {
    g.format = HardDiskFormat::kZhd;
    g.dataOffset = kZhdDataOffset;
    g.cylinders = Word(header);
    g.heads = 8;
    g.sectors = 33;
    g.sectorSize = 256;
  }
  return g;
}

std::uint64_t GeometryEnd(const HardDiskGeometry& geometry) {
  return geometry.dataOffset + std::uint64_t{geometry.cylinders} * geometry.heads *
                                   geometry.sectors * geometry.sectorSize;
}

HardDiskRefusal CheckHardDiskGeometry(const HardDiskGeometry& g) {
  if (g.format != HardDiskFormat::kZhd) {
    if (g.cylinders == 0) return HardDiskRefusal::kZeroCylinders;
    if (g.heads == 0) return HardDiskRefusal::kZeroHeads;
    if (g.sectors == 0) return HardDiskRefusal::kZeroSectors;
    if (g.sectorSize != 256 && g.sectorSize != 512 && g.sectorSize != 1024 && g.sectorSize != 2048)
      return HardDiskRefusal::kSectorSize;
  }
  return GeometryEnd(g) > k4GiB ? HardDiskRefusal::kPast4GiB : HardDiskRefusal::kNone;
}

std::string HardDiskRefusalText(HardDiskRefusal refusal, const HardDiskGeometry& geometry) {
  switch (refusal) {
    case HardDiskRefusal::kNone:
      return {};
    case HardDiskRefusal::kShortFile:
      return "too short for a hard-disk image";
    case HardDiskRefusal::kZeroCylinders:
      return "zero cylinders";
    case HardDiskRefusal::kZeroHeads:
      return "zero heads";
    case HardDiskRefusal::kZeroSectors:
      return "zero sectors per track";
    case HardDiskRefusal::kSectorSize: {
      char text[48];
      std::snprintf(text, sizeof text, "sector size %u is not a drive's",
                    static_cast<unsigned>(geometry.sectorSize));
      return text;
    }
    case HardDiskRefusal::kPast4GiB:
      return "geometry reaches past 4 GiB";
  }
  return {};
}

bool GeometryFarExceedsFile(const HardDiskGeometry& geometry, std::uint64_t fileSize) {
  const std::uint64_t data = fileSize > geometry.dataOffset ? fileSize - geometry.dataOffset : 0;
  return GeometryEnd(geometry) - geometry.dataOffset > 2 * data + kFarSlack;
}

}  // namespace disk
