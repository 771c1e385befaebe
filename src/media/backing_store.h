// Where every sector transfer of the floppy drives goes: the drive's image file, or the real drive
// of the computer its unit is set to.
#pragma once

#include <cstdint>

#include "formats/headerless.h"

namespace disk {

class FloppyDrive;
struct RealDriveRecord;

// A real drive's media: 80 cylinders x 2 sides x 18 sectors of 512 bytes (1.44 MB), or 77 x 2 x
// 8 sectors of 1024 bytes (1.23 MB).
inline constexpr UniformLayout kRealDrive144 = {0, 80, 18, 2, false};
inline constexpr UniformLayout kRealDrive123 = {0, 77, 8, 3, false};

const UniformLayout& RealDriveLayout(const RealDriveRecord& record);

// Sets up the drive's tables for the real drive's media. It always succeeds: whether a disk is
// in the drive shows only when data move.
void MountRealDrive(FloppyDrive& drive, const RealDriveRecord& record);

// What the Windows 9x absolute disk service is asked for: whole sectors of the media's size.
struct SectorSpan {
  std::uint32_t drive;  // 0 = A
  std::uint32_t startSector;
  std::uint32_t sectors;
};
SectorSpan Vwin32Span(const RealDriveRecord& record, std::uint32_t count);

// One sector's data at byte `offset` of the image file or of the real drive's disk, in one file
// call for an image. A read fills all `length` bytes of the buffer, and bytes the store cannot
// give read as 0. A write is false when the backing store did not take the bytes: a write to an
// image file fails unless the file took every byte.
void ReadSectorData(FloppyDrive& drive, std::uint32_t offset, std::uint8_t* buffer,
                    std::uint32_t length);
bool WriteSectorData(FloppyDrive& drive, std::uint32_t offset, const std::uint8_t* buffer,
                     std::uint32_t length);

}  // namespace disk
