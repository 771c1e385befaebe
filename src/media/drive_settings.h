// The drive settings and paths of one module, a part of its root object: the image file of every
// drive and the INI file they come from, what each floppy drive is set to (image files or a real
// drive of the computer), the access wait, and how this platform reaches real drives. The drives
// read it; the machine and the user interface change it.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace disk {

inline constexpr int kImageCount = 4;         // floppy 1, floppy 2, hard disk 1, hard disk 2
inline constexpr int kFloppyUnitCount = 2;    // floppy drives the user can configure
inline constexpr int kHardDiskCount = 2;      // hard disk units
inline constexpr int kFirstHardDiskPath = 2;  // imagePaths index of hard disk 1

// Whether an imagePaths index is a floppy drive's. The status panel's rows and access lamps are
// numbered the same way.
constexpr bool IsFloppyRow(int row) {
  return row < kFirstHardDiskPath;
}

struct RealDriveRecord {
  std::uint32_t useImage = 1;  // nonzero: the drive takes image files
  char driveName[platform::kPathSize] = {};
  std::uint8_t is144 = 0;        // the real drive runs 1.44 MB media instead of 1.23 MB
  std::uint32_t inserted = 0;    // the real drive has its media set
  std::uint32_t driveState = 0;  // byte position of the next real-drive transfer
  std::uint8_t writeProtect = 1;
};

struct DriveSettings {
  // The unit's real-drive record, or null when the unit takes image files.
  RealDriveRecord* RealDrive(std::uint32_t unit) {
    if (unit >= kFloppyUnitCount || realDrives[unit].useImage != 0) return nullptr;
    return &realDrives[unit];
  }

  char imagePaths[kImageCount][platform::kPathSize] = {};  // empty string = none
  char iniPath[platform::kPathSize] = {};
  RealDriveRecord realDrives[kFloppyUnitCount];
  std::uint32_t fdWait = 0;   // FDWAIT, reread at every reset
  std::uint32_t isNT = 0;     // the platform is of the NT family
  std::uintptr_t vwin32 = 0;  // the VWIN32 device (Windows 9x), or 0
};

}  // namespace disk
