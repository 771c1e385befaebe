#include "fat/fat_layout.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "formats/byte_fields.h"

namespace disk::fat {

namespace {

std::uint32_t FatBits(std::uint32_t clusters) {
  return clusters <= kMaxFat12Clusters ? 12 : 16;
}

// Entries the FAT must hold: the two reserved ones and one per data cluster.
std::uint64_t FatBytesNeeded(std::uint32_t clusters) {
  return ((std::uint64_t{clusters} + kFirstCluster) * FatBits(clusters) + 7) / 8;
}

bool IsPowerOfTwo(std::uint32_t v) {
  return v != 0 && std::has_single_bit(v);
}

// The smallest FAT that holds every cluster the rest of the volume leaves room for.
void SizeFat(FatLayout& layout) {
  for (layout.sectorsPerFat = 1; layout.sectorsPerFat < 0xFFFF; ++layout.sectorsPerFat) {
    if (FatBytesNeeded(layout.ClusterCount()) <=
        std::uint64_t{layout.sectorsPerFat} * layout.bytesPerSector) {
      return;
    }
  }
}

}  // namespace

std::uint32_t FatLayout::RootSectors() const {
  if (bytesPerSector == 0) return 0;
  return (rootEntries * kDirEntrySize + bytesPerSector - 1) / bytesPerSector;
}

std::uint32_t FatLayout::ClusterCount() const {
  const std::uint64_t dataStart =
      std::uint64_t{reservedSectors} + std::uint64_t{fatCount} * sectorsPerFat + RootSectors();
  if (sectorsPerCluster == 0 || dataStart >= totalSectors) return 0;
  return static_cast<std::uint32_t>((totalSectors - dataStart) / sectorsPerCluster);
}

bool FatLayout::IsConsistent(std::uint64_t deviceBytes) const {
  if (bytesPerSector < 128 || bytesPerSector > 4096 || !IsPowerOfTwo(bytesPerSector) ||
      !IsPowerOfTwo(sectorsPerCluster) || sectorsPerCluster > 128 || reservedSectors == 0 ||
      fatCount == 0 || fatCount > 4 || rootEntries == 0 || sectorsPerFat == 0 || media < 0xF0) {
    return false;
  }
  const std::uint32_t clusters = ClusterCount();
  return clusters > 0 && clusters <= kMaxFat16Clusters &&
         FatBytesNeeded(clusters) <= std::uint64_t{sectorsPerFat} * bytesPerSector &&
         SectorOffset(totalSectors) <= deviceBytes;
}

std::optional<FatLayout> ReadBpb(std::span<const std::uint8_t> b, std::uint64_t deviceBytes) {
  if (b.size() < 512) return std::nullopt;
  FatLayout l;
  l.bytesPerSector = LoadU16(&b[0x0B]);
  l.sectorsPerCluster = b[0x0D];
  l.reservedSectors = LoadU16(&b[0x0E]);
  l.fatCount = b[0x10];
  l.rootEntries = LoadU16(&b[0x11]);
  l.totalSectors = LoadU16(&b[0x13]);
  l.media = b[0x15];
  l.sectorsPerFat = LoadU16(&b[0x16]);
  l.sectorsPerTrack = LoadU16(&b[0x18]);
  l.heads = LoadU16(&b[0x1A]);
  l.hiddenSectors = LoadU32(&b[0x1C]);  // only shown; DOS 2 kept 16 bits here
  if (l.totalSectors == 0) l.totalSectors = LoadU32(&b[0x20]);
  if (!l.IsConsistent(deviceBytes)) return std::nullopt;
  return l;
}

void WriteBootSector(const FatLayout& l, std::uint32_t serial, bool hardDisk,
                     std::span<std::uint8_t> s) {
  std::fill(s.begin(), s.end(), std::uint8_t{0});
  const std::uint8_t jump[] = {0xEB, 0x3C, 0x90};
  std::memcpy(&s[0], jump, sizeof jump);
  std::memcpy(&s[0x03], "MSDOS5.0", 8);
  StoreU16(&s[0x0B], l.bytesPerSector);
  s[0x0D] = static_cast<std::uint8_t>(l.sectorsPerCluster);
  StoreU16(&s[0x0E], l.reservedSectors);
  s[0x10] = static_cast<std::uint8_t>(l.fatCount);
  StoreU16(&s[0x11], l.rootEntries);
  const bool small = l.totalSectors <= 0xFFFF;
  StoreU16(&s[0x13], small ? l.totalSectors : 0);
  s[0x15] = l.media;
  StoreU16(&s[0x16], l.sectorsPerFat);
  StoreU16(&s[0x18], l.sectorsPerTrack);
  StoreU16(&s[0x1A], l.heads);
  StoreU32(&s[0x1C], l.hiddenSectors);
  StoreU32(&s[0x20], small ? 0 : l.totalSectors);
  s[0x24] = hardDisk ? 0x80 : 0x00;
  s[0x26] = 0x29;  // the serial number, label and type follow
  StoreU32(&s[0x27], serial);
  std::memcpy(&s[0x2B], "NO NAME    ", 11);
  std::memcpy(&s[0x36], l.Type() == FatType::kFat12 ? "FAT12   " : "FAT16   ", 8);
  s[0x3E] = 0xCB;  // RETF: the BIOS called the boot sector and tries the next device
  s[0x1FE] = 0x55;
  s[0x1FF] = 0xAA;
}

FatLayout FloppyLayout(FloppyFormat format) {
  // bytes per sector, sectors per cluster, root entries, sectors, media byte, sectors per FAT,
  // sectors per track; in the order of FloppyFormat.
  static constexpr std::uint32_t kFormats[][7] = {
      {1024, 1, 192, 1232, 0xFE, 2, 8},
      {512, 1, 224, 2880, 0xF0, 9, 18},
      {512, 2, 112, 1280, 0xFB, 2, 8},
      {512, 2, 112, 1440, 0xF9, 3, 9},
  };
  const std::uint32_t* f = kFormats[static_cast<int>(format)];
  FatLayout l;
  l.bytesPerSector = f[0];
  l.sectorsPerCluster = f[1];
  l.reservedSectors = 1;
  l.fatCount = 2;
  l.rootEntries = f[2];
  l.totalSectors = f[3];
  l.media = static_cast<std::uint8_t>(f[4]);
  l.sectorsPerFat = f[5];
  l.sectorsPerTrack = f[6];
  l.heads = 2;
  return l;
}

std::optional<FatLayout> LayoutForMedium(std::uint32_t sectorSize, std::uint64_t sectorCount) {
  if (sectorSize == 1024 && sectorCount >= 1232 && sectorCount <= 1280) {
    return FloppyLayout(FloppyFormat::k1232K);
  }
  if (sectorSize != 512) return std::nullopt;
  if (sectorCount == 2880) return FloppyLayout(FloppyFormat::k1440K);
  if (sectorCount == 1280) return FloppyLayout(FloppyFormat::k640K);
  if (sectorCount == 1440) return FloppyLayout(FloppyFormat::k720K);
  return std::nullopt;
}

std::optional<FatLayout> HardDiskLayout(std::uint32_t deviceSectorSize,
                                        std::uint64_t partitionSectors,
                                        const DiskGeometry& geometry, std::uint64_t hiddenSectors) {
  if (!IsSupportedSectorSize(deviceSectorSize) || hiddenSectors > 0xFFFFFFFFu) {
    return std::nullopt;
  }
  FatLayout l;
  l.bytesPerSector = std::max<std::uint32_t>(1024, deviceSectorSize);
  const std::uint64_t total = partitionSectors / (l.bytesPerSector / deviceSectorSize);
  const std::uint64_t bytes = total * l.bytesPerSector;
  std::uint32_t clusterBytes = 2048;
  while (clusterBytes < 32768 && bytes > (std::uint64_t{clusterBytes} << 16)) clusterBytes *= 2;
  l.sectorsPerCluster = std::max<std::uint32_t>(1, clusterBytes / l.bytesPerSector);
  l.reservedSectors = 1;
  l.fatCount = 2;
  l.rootEntries = 3072;
  l.totalSectors = static_cast<std::uint32_t>(std::min<std::uint64_t>(total, 0xFFFFFFFFu));
  l.media = 0xF8;
  l.sectorsPerTrack = std::min<std::uint32_t>(geometry.sectorsPerTrack, 0xFFFF);
  l.heads = std::min<std::uint32_t>(geometry.heads, 0xFFFF);
  l.hiddenSectors = static_cast<std::uint32_t>(hiddenSectors);
  SizeFat(l);
  if (!l.IsConsistent(bytes)) return std::nullopt;
  return l;
}

}  // namespace disk::fat
