// Empty file systems as PC-98 MS-DOS lays them out, on floppies and on partitioned hard disks.
#pragma once

#include <cstdint>

#include "fat/fat_layout.h"
#include "fat/fat_status.h"
#include "fat/pc98_partition_table.h"
#include "fat/sector_device.h"

namespace disk::fat {

// Boot sector, both FATs empty but for their media marks, an empty root directory; the data
// area is left as it is. `serial` is the volume serial number in the boot sector.
FatStatus Format(SectorDevice& device, const FatLayout& layout, bool hardDisk,
                 std::uint32_t serial);

// A floppy of the format's sector size and at least its sector count.
FatStatus FormatFloppy(SectorDevice& device, FloppyFormat format, std::uint32_t serial);

// The PC-98 partition table with one MS-DOS partition over every whole cylinder after the
// first, and an empty file system in it.
FatStatus FormatHardDisk(SectorDevice& device, const DiskGeometry& geometry, std::uint32_t serial);

}  // namespace disk::fat
