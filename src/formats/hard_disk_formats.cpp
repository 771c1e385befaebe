#include "formats/hard_disk_formats.h"

#include <cstdio>

namespace disk {
namespace {

constexpr HardDiskFormat kHardDiskFormats[] = {
    {"MHD", ImageFormat::kMhd, IsMhd, MhdGeometry},
    {"HDI", ImageFormat::kHdi, IsHdi, HdiGeometry},
    {"ZHD", ImageFormat::kZhd, IsZhd, ZhdGeometry},
};

constexpr std::uint64_t k4GiB = std::uint64_t{1} << 32;
constexpr std::uint64_t kFarSlack = 1024 * 1024;

}  // namespace

std::span<const HardDiskFormat> HardDiskFormats() {
  return kHardDiskFormats;
}

HardDiskGeometry RecognizeHardDiskImage(const std::uint8_t (&header)[kHardDiskHeaderRead]) {
  for (const HardDiskFormat& format : kHardDiskFormats)
    if (format.identify(header)) return format.load(header);
  return ZhdGeometry(header);  // not reached: ZHD takes every file
}

std::uint64_t GeometryEnd(const HardDiskGeometry& geometry) {
  return geometry.dataOffset + std::uint64_t{geometry.cylinders} * geometry.heads *
                                   geometry.sectors * geometry.sectorSize;
}

HardDiskRefusal CheckHardDiskGeometry(const HardDiskGeometry& g) {
  if (g.format != ImageFormat::kZhd) {
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
