// The PC-98 partition table: an IPL in sector 0 ending in 55h AAh, and sixteen 32-byte entries
// in the 512 bytes from sector 1, each giving its partition in whole cylinders. Hard disks with
// 256-byte sectors keep the same table at their own sector size, so it fills sectors 1 and 2.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "fat/sector_device.h"

namespace disk::fat {

struct DiskGeometry {
  std::uint32_t heads = 0;
  std::uint32_t sectorsPerTrack = 0;
  std::uint64_t CylinderSectors() const {
    return static_cast<std::uint64_t>(heads) * sectorsPerTrack;
  }
};

inline constexpr int kPc98PartitionSlots = 16;
inline constexpr std::uint8_t kPc98Bootable = 0x80;     // in `mid`
inline constexpr std::uint8_t kPc98Active = 0x80;       // in `sid`
inline constexpr std::uint8_t kPc98MidDos = 0x20;       // MS-DOS in the boot menu
inline constexpr std::uint8_t kPc98SidFatSmall = 0x11;  // FAT12/16 under 32 MB
inline constexpr std::uint8_t kPc98SidFatLarge = 0x21;  // FAT16 of 32 MB and more

struct Pc98Partition {
  int slot = 0;  // 0..15, its place in the table
  std::uint8_t mid = 0;
  std::uint8_t sid = 0;
  std::uint32_t startCylinder = 0;
  std::uint32_t endCylinder = 0;  // the last cylinder, included
  std::uint64_t firstSector = 0;  // device sectors, from the cylinders and the geometry
  std::uint64_t sectorCount = 0;
  std::array<std::uint8_t, 16> name{};  // as stored: Shift_JIS or ASCII, padded with spaces
};

enum class TableStatus {
  kFound,       // a table; the list may still be empty
  kNoTable,     // sector 0 does not end in 55h AAh
  kUnreadable,  // the sectors could not be read
  kInvalid,     // an entry that no PC-98 tool writes, or one reaching past the disk
};

TableStatus ReadPc98Partitions(SectorDevice& device, const DiskGeometry& geometry,
                               std::vector<Pc98Partition>* partitions);

// One MS-DOS partition from cylinder 1 to the last whole cylinder (cylinder 0 holds the IPL and
// the table); sectorCount 0 when the disk has fewer than two cylinders.
Pc98Partition WholeDiskPartition(const DiskGeometry& geometry, std::uint32_t sectorSize,
                                 std::uint64_t diskSectors, std::span<const std::uint8_t> name);

// A fresh table: the IPL sector (a far return, so the BIOS boots the next device) and the given
// partitions in their slots, every other slot empty. Cylinders and names are taken as they are.
bool WritePc98Table(SectorDevice& device, const DiskGeometry& geometry,
                    std::span<const Pc98Partition> partitions);

}  // namespace disk::fat
