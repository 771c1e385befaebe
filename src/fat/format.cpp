#include "fat/format.h"

#include <cstring>
#include <vector>

namespace disk::fat {

FatStatus Format(SectorDevice& device, const FatLayout& layout, bool hardDisk,
                 std::uint32_t serial) {
  const std::uint64_t deviceBytes = std::uint64_t{device.SectorSize()} * device.SectorCount();
  if (!layout.IsConsistent(deviceBytes) || layout.bytesPerSector < 512 ||
      layout.bytesPerSector % device.SectorSize() != 0) {
    return FatStatus::kBadLayout;
  }
  // Everything before the data area, written at once.
  std::vector<std::uint8_t> system(layout.SectorOffset(layout.FirstDataSector()));
  WriteBootSector(layout, serial, hardDisk, std::span(system.data(), layout.bytesPerSector));
  const std::size_t marks = layout.Type() == FatType::kFat12 ? 3 : 4;
  for (std::uint32_t i = 0; i < layout.fatCount; ++i) {
    std::uint8_t* fat =
        system.data() + layout.SectorOffset(layout.reservedSectors + i * layout.sectorsPerFat);
    std::memset(fat, 0xFF, marks);
    fat[0] = layout.media;
  }
  return WriteBytes(device, 0, system) ? FatStatus::kOk : FatStatus::kIoError;
}

FatStatus FormatFloppy(SectorDevice& device, FloppyFormat format, std::uint32_t serial) {
  const FatLayout layout = FloppyLayout(format);
  if (device.SectorSize() != layout.bytesPerSector) return FatStatus::kBadLayout;
  return Format(device, layout, false, serial);
}

FatStatus FormatHardDisk(SectorDevice& device, const DiskGeometry& geometry, std::uint32_t serial) {
  static constexpr std::uint8_t kName[] = {'M', 'S', '-', 'D', 'O', 'S'};
  const Pc98Partition partition =
      WholeDiskPartition(geometry, device.SectorSize(), device.SectorCount(), kName);
  const std::optional<FatLayout> layout =
      HardDiskLayout(device.SectorSize(), partition.sectorCount, geometry, partition.firstSector);
  if (partition.sectorCount == 0 || !layout) return FatStatus::kBadLayout;
  if (!WritePc98Table(device, geometry, std::span(&partition, 1))) return FatStatus::kIoError;
  DeviceWindow volume(device, partition.firstSector, partition.sectorCount);
  return Format(volume, *layout, true, serial);
}

}  // namespace disk::fat
