// Real floppy drives of the computer the emulator runs on, used in place of an image file.
#pragma once

#include "formats/headerless.h"

namespace disk {

class FloppyDrive;
struct RealDriveRecord;

// 80 cylinders x 2 sides x 18 sectors of 512 bytes (1.44 MB media), or 77 x 2 x 8 sectors of
// 1024 bytes (1.23 MB media).
inline constexpr UniformLayout kRealDrive144 = {0, 80, 18, 2, false};
inline constexpr UniformLayout kRealDrive123 = {0, 77, 8, 3, false};

const UniformLayout& RealDriveLayout(const RealDriveRecord& record);

// Sets up the drive's tables for the real drive's media. It always succeeds: whether a disk is
// in the drive shows only when data move.
void MountRealDrive(FloppyDrive& drive, const RealDriveRecord& record);

}  // namespace disk
