#include "machine/boot_device.h"

#include "bios/floppy_bios.h"
#include "bios/work_area.h"
#include "machine/disk_system.h"
#include "media/floppy_drive.h"
#include "media/hard_disk_drive.h"

namespace disk {
namespace {

constexpr int kFirstHardDiskPath = 2;  // imagePaths: floppy 1, floppy 2, hard disk 1, hard disk 2
constexpr std::uint32_t kBootQuery = 0x12;
// First result byte of a floppy unit at start-up: without a disk, and once one is mounted.
constexpr std::uint8_t kResultNoDisk = 0xC8;
constexpr std::uint8_t kResultDiskSet = 0xC0;

bool BootsFromHardDisk(std::uint8_t selector, std::uint32_t unit) {
  return selector == 0x00 || (selector == 0xA0 && unit == 0) || (selector == 0xB0 && unit == 1);
}

bool BootsFromFloppy(std::uint8_t selector) {
  return selector == 0x00 || selector == 0x20 || selector == 0x40;
}

}  // namespace

std::uint8_t BootSelector(const DiskSystem& system) {
  const MhwWord query = system.bootSelector[0];
  if (query == 0) return 0;
  return reinterpret_cast<MhwBootQuery>(query)(kBootQuery) & 0xF0;
}

void MountHardDisks(DiskSystem& system, std::uint8_t selector) {
  for (int unit = kHardDiskCount - 1; unit >= 0; --unit) {
    char* path = system.imagePaths[kFirstHardDiskPath + unit];
    HardDiskDrive* drive = system.hardDisks[unit];
    if (path[0] == '\0' || drive == nullptr) continue;
    if (drive->OpenImage(path)) {
      if (BootsFromHardDisk(selector, drive->unit)) drive->BootFromImage();
    } else {
      path[0] = '\0';
    }
  }
}

void MountFloppyDrives(DiskSystem& system, std::uint8_t selector) {
  for (int unit = kFloppyUnitCount - 1; unit >= 0; --unit) {
    const std::uint32_t result = work_area::kFloppyResults + work_area::kFloppyResultSize * unit;
    WriteGuestByte(system, result, kResultNoDisk);
    char* path = system.imagePaths[unit];
    FloppyDrive* drive = system.floppyDrives[unit];
    if (path[0] == '\0' || drive == nullptr) continue;
    if (drive->LoadImage(path) != 0) {
      if (BootsFromFloppy(selector)) LoadBootSector(*drive);
      WriteGuestByte(system, result, kResultDiskSet);
    } else {
      path[0] = '\0';
    }
  }
}

void ResetFloppyDrives(DiskSystem& system) {
  for (FloppyDrive* drive : system.floppyDrives)
    if (drive != nullptr) drive->Reset();
}

void EjectFloppyDrives(DiskSystem& system) {
  for (int unit = 0; unit < kFloppyUnitCount; ++unit)
    if (FloppyDrive* drive = system.floppyDrives[unit]) drive->Eject();
}

}  // namespace disk
