#include "plugin/boot_device.h"

#include "hdd/hard_disk_drive.h"
#include "plugin/disk_system.h"

namespace disk {
namespace {

constexpr int kFirstHardDiskPath = 2;  // imagePaths: floppy 1, floppy 2, hard disk 1, hard disk 2
constexpr std::uint32_t kBootQuery = 0x12;

bool BootsFromHardDisk(std::uint8_t selector, std::uint32_t unit) {
  return selector == 0x00 || (selector == 0xA0 && unit == 0) || (selector == 0xB0 && unit == 1);
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

void MountFloppyDrives(DiskSystem&, std::uint8_t) {}
void ResetFloppyDrives(DiskSystem&) {}
void EjectFloppyDrives(DiskSystem&) {}

}  // namespace disk
