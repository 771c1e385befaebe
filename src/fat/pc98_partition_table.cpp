#include "fat/pc98_partition_table.h"

#include <algorithm>
#include <cstring>

#include "formats/byte_fields.h"

namespace disk::fat {

namespace {

constexpr std::size_t kEntrySize = 32;
constexpr std::size_t kTableBytes = kEntrySize * kPc98PartitionSlots;

// A table sector ends in the IPL signature at the end of the sector; disks formatted with
// larger sectors by older tools keep it at 1FEh, where a 512-byte sector would end.
bool HasSignature(std::span<const std::uint8_t> sector) {
  auto at = [&](std::size_t offset) {
    return offset + 2 <= sector.size() && sector[offset] == 0x55 && sector[offset + 1] == 0xAA;
  };
  return at(sector.size() - 2) || at(0x1FE);
}

// End of a partition, exclusive. Tools write the last cylinder with head and sector 0, meaning
// the whole cylinder; anything else names the last sector itself.
std::uint64_t EndSector(const std::uint8_t* e, const DiskGeometry& g) {
  const std::uint64_t cylinder = LoadU16(e + 14);
  if (e[12] == 0 && e[13] == 0) return (cylinder + 1) * g.CylinderSectors();
  return cylinder * g.CylinderSectors() + e[13] * std::uint64_t{g.sectorsPerTrack} + e[12] + 1;
}

}  // namespace

TableStatus ReadPc98Partitions(SectorDevice& device, const DiskGeometry& geometry,
                               std::vector<Pc98Partition>* partitions) {
  partitions->clear();
  const std::uint32_t sectorSize = device.SectorSize();
  if (!IsSupportedSectorSize(sectorSize) || geometry.CylinderSectors() == 0) {
    return TableStatus::kInvalid;
  }
  std::vector<std::uint8_t> ipl(sectorSize);
  std::array<std::uint8_t, kTableBytes> table{};
  if (device.SectorCount() < 1 + (kTableBytes + sectorSize - 1) / sectorSize ||
      !device.Read(0, ipl) || !ReadBytes(device, sectorSize, table)) {
    return TableStatus::kUnreadable;
  }
  if (!HasSignature(ipl)) return TableStatus::kNoTable;

  for (int slot = 0; slot < kPc98PartitionSlots; ++slot) {
    const std::uint8_t* e = table.data() + slot * kEntrySize;
    if (e[0] == 0 && e[1] == 0) continue;
    const bool chsInRange = e[4] < geometry.sectorsPerTrack && e[8] < geometry.sectorsPerTrack &&
                            e[12] < geometry.sectorsPerTrack && e[5] < geometry.heads &&
                            e[9] < geometry.heads && e[13] < geometry.heads;
    if (e[2] != 0 || e[3] != 0 || !chsInRange || LoadU16(e + 10) > LoadU16(e + 14)) {
      partitions->clear();
      return TableStatus::kInvalid;
    }
    if (e[0] == 0 || e[1] == 0) continue;  // half-written slots are ignored as PC-98 DOS does
    Pc98Partition p;
    p.slot = slot;
    p.mid = e[0];
    p.sid = e[1];
    p.startCylinder = LoadU16(e + 10);
    p.endCylinder = LoadU16(e + 14);
    p.firstSector =
        (p.startCylinder * std::uint64_t{geometry.heads} + e[9]) * geometry.sectorsPerTrack + e[8];
    const std::uint64_t end = EndSector(e, geometry);
    if (end <= p.firstSector || end > device.SectorCount()) {
      partitions->clear();
      return TableStatus::kInvalid;
    }
    p.sectorCount = end - p.firstSector;
    std::memcpy(p.name.data(), e + 16, p.name.size());
    partitions->push_back(p);
  }
  return TableStatus::kFound;
}

Pc98Partition WholeDiskPartition(const DiskGeometry& geometry, std::uint32_t sectorSize,
                                 std::uint64_t diskSectors, std::span<const std::uint8_t> name) {
  Pc98Partition p;
  p.name.fill(' ');
  std::copy_n(name.begin(), std::min(name.size(), p.name.size()), p.name.begin());
  const std::uint64_t cylinderSectors = geometry.CylinderSectors();
  const std::uint64_t cylinders = cylinderSectors == 0 ? 0 : diskSectors / cylinderSectors;
  if (cylinders < 2) return p;
  // The table holds 16-bit cylinder numbers.
  const std::uint64_t last = std::min<std::uint64_t>(cylinders - 1, 0xFFFF);
  p.startCylinder = 1;
  p.endCylinder = static_cast<std::uint32_t>(last);
  p.firstSector = cylinderSectors;
  p.sectorCount = last * cylinderSectors;
  p.mid = kPc98Bootable | kPc98MidDos;
  const bool large = p.sectorCount * sectorSize >= (32u << 20);
  p.sid = kPc98Active | (large ? kPc98SidFatLarge : kPc98SidFatSmall);
  return p;
}

bool WritePc98Table(SectorDevice& device, const DiskGeometry& geometry,
                    std::span<const Pc98Partition> partitions) {
  const std::uint32_t sectorSize = device.SectorSize();
  if (!IsSupportedSectorSize(sectorSize) || geometry.CylinderSectors() == 0 ||
      device.SectorCount() < 1 + (kTableBytes + sectorSize - 1) / sectorSize) {
    return false;
  }
  std::vector<std::uint8_t> ipl(sectorSize);
  ipl[0] = 0xCB;  // RETF
  std::memcpy(ipl.data() + 4, "IPL1", 4);
  ipl[sectorSize - 2] = 0x55;
  ipl[sectorSize - 1] = 0xAA;

  std::vector<std::uint8_t> table(std::max<std::size_t>(kTableBytes, sectorSize));
  for (const Pc98Partition& p : partitions) {
    if (p.slot < 0 || p.slot >= kPc98PartitionSlots) return false;
    std::uint8_t* e = table.data() + p.slot * kEntrySize;
    e[0] = p.mid;
    e[1] = p.sid;
    StoreU16(e + 6, p.startCylinder);  // the IPL of the partition is its first sector
    StoreU16(e + 10, p.startCylinder);
    StoreU16(e + 14, p.endCylinder);
    std::memcpy(e + 16, p.name.data(), p.name.size());
  }
  return device.Write(0, ipl) && WriteBytes(device, sectorSize, table);
}

}  // namespace disk::fat
