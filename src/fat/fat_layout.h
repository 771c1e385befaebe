// Where the parts of a FAT12/FAT16 volume lie, from its BIOS parameter block, from the layout
// PC-98 MS-DOS gives each floppy medium (many PC-98 floppies carry no BPB), or for a new
// hard-disk partition. Sector numbers here are logical sectors of bytesPerSector bytes, which
// may span several device sectors (PC-98 MS-DOS uses 1024-byte sectors on hard disks).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "fat/pc98_partition_table.h"

namespace disk::fat {

enum class FatType { kFat12, kFat16 };

inline constexpr std::uint32_t kDirEntrySize = 32;
inline constexpr std::uint32_t kFirstCluster = 2;
inline constexpr std::uint32_t kMaxFat12Clusters = 4084;
inline constexpr std::uint32_t kMaxFat16Clusters = 65524;

struct FatLayout {
  std::uint32_t bytesPerSector = 0;
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t reservedSectors = 0;
  std::uint32_t fatCount = 0;
  std::uint32_t rootEntries = 0;
  std::uint32_t totalSectors = 0;
  std::uint8_t media = 0;
  std::uint32_t sectorsPerFat = 0;
  std::uint32_t sectorsPerTrack = 0;
  std::uint32_t heads = 0;
  std::uint32_t hiddenSectors = 0;  // device sectors before the volume, as PC-98 DOS counts them

  std::uint32_t RootSectors() const;
  std::uint32_t FirstRootSector() const { return reservedSectors + fatCount * sectorsPerFat; }
  std::uint32_t FirstDataSector() const { return FirstRootSector() + RootSectors(); }
  std::uint32_t ClusterCount() const;  // data clusters, numbered from 2
  std::uint32_t ClusterBytes() const { return bytesPerSector * sectorsPerCluster; }
  FatType Type() const {
    return ClusterCount() <= kMaxFat12Clusters ? FatType::kFat12 : FatType::kFat16;
  }
  std::uint64_t SectorOffset(std::uint32_t sector) const {
    return std::uint64_t{sector} * bytesPerSector;
  }
  std::uint64_t ClusterOffset(std::uint32_t cluster) const {
    return SectorOffset(FirstDataSector() + (cluster - kFirstCluster) * sectorsPerCluster);
  }
  // Every field in range, the FAT large enough for the clusters, all of it within the device.
  bool IsConsistent(std::uint64_t deviceBytes) const;
};

// The BPB of a boot sector (at least 512 bytes); nothing when its fields do not describe a
// FAT12/FAT16 volume that fits in `deviceBytes`.
std::optional<FatLayout> ReadBpb(std::span<const std::uint8_t> bootSector,
                                 std::uint64_t deviceBytes);

// A boot sector of bytesPerSector bytes: BPB, serial number, the label "NO NAME", code that
// returns to the BIOS (so it boots the next device), and 55h AAh at 1FEh.
void WriteBootSector(const FatLayout& layout, std::uint32_t serial, bool hardDisk,
                     std::span<std::uint8_t> sector);

enum class FloppyFormat {
  k1232K,  // 2HD: 77 cylinders, 2 heads, 8 sectors of 1024 bytes
  k1440K,  // 2HD: 80 cylinders, 2 heads, 18 sectors of 512 bytes
  k640K,   // 2DD: 80 cylinders, 2 heads, 8 sectors of 512 bytes
  k720K,   // 2DD: 80 cylinders, 2 heads, 9 sectors of 512 bytes
};

// The layout PC-98 MS-DOS formats each floppy medium with.
FatLayout FloppyLayout(FloppyFormat format);
// The floppy layout a disk of these sectors has, for boot sectors without a BPB; 1.23 MB disks
// are recognised with 77 to 80 cylinders, as images of them often keep all 80.
std::optional<FatLayout> LayoutForMedium(std::uint32_t sectorSize, std::uint64_t sectorCount);

// The layout PC-98 MS-DOS gives a hard-disk partition: 1024-byte sectors (or the device's when
// larger), 3072 root entries, 2 KB clusters up to 128 MB, doubling with each doubling of the
// size up to 32 KB; FAT12 when the clusters are few enough, else FAT16. Nothing when the
// partition is too small for one or larger than FAT16 holds.
std::optional<FatLayout> HardDiskLayout(std::uint32_t deviceSectorSize,
                                        std::uint64_t partitionSectors,
                                        const DiskGeometry& geometry, std::uint64_t hiddenSectors);

}  // namespace disk::fat
