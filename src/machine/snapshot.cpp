// The module's part of a machine snapshot: the four image paths and the floppy heads. Disk
// contents stay in their files and are reopened by path on load.
#include <cstring>

#include "bios/floppy_call.h"
#include "bios/floppy_worker.h"
#include "bios/hard_disk_bios.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"
#include "media/floppy_drive.h"
#include "media/hard_disk_drive.h"

namespace disk {
namespace {

constexpr char kSnapshotVersion[] = "000808";
constexpr int kPathFields = sizeof kSnapshotVersion;                          // 7
constexpr int kHeadFields = kPathFields + kImageCount * platform::kPathSize;  // 1047
static_assert(kHeadFields + 3 * kFloppyUnitCount == mhw::kSnapshotSize);

// The six head bytes: cylinder of floppy drives 1 and 2, then side, then rotation.
enum HeadField { kCylinder = 0, kSide = 1, kRotation = 2 };
int HeadAt(HeadField field, int unit) {
  return kHeadFields + field * kFloppyUnitCount + unit;
}

}  // namespace

void SaveState(DiskSystem& system, std::uint8_t* buffer) {
  // The heads as a floppy worker leaves them: it is waited for (one floppy operation).
  TakeBackFloppyWorker(system.bios, true);
  std::memcpy(buffer, kSnapshotVersion, sizeof kSnapshotVersion);
  // Only the path and its NUL: the rest of a field is left as the host handed it over.
  for (int i = 0; i < kImageCount; ++i)
    std::memcpy(buffer + kPathFields + i * platform::kPathSize, system.settings.imagePaths[i],
                std::strlen(system.settings.imagePaths[i]) + 1);
  for (int unit = 0; unit < kFloppyUnitCount; ++unit) {
    const FloppyDrive* drive = system.devices.floppyDrives[unit];
    buffer[HeadAt(kCylinder, unit)] = drive != nullptr ? drive->cylinder : 0;
    buffer[HeadAt(kSide, unit)] = drive != nullptr ? drive->side : 0;
    buffer[HeadAt(kRotation, unit)] = drive != nullptr ? drive->rotation : 0;
  }
}

std::uint32_t LoadState(DiskSystem& system, const std::uint8_t* buffer) {
  // The version string must match up to and including its NUL.
  if (std::memcmp(buffer, kSnapshotVersion, sizeof kSnapshotVersion) != 0) return 0;
  // A pending call is not part of the record; its worker must not outlive the drives' reload.
  ForgetPendingFloppyCall(system.bios);
  for (int i = 0; i < kImageCount; ++i)
    platform::CopyString(
        system.settings.imagePaths[i],
        reinterpret_cast<const char*>(buffer + kPathFields + i * platform::kPathSize),
        platform::kPathSize);

  // A drive whose path is empty keeps what it holds; a failed mount is not the record's fault.
  for (int unit = kHardDiskCount - 1; unit >= 0; --unit) {
    const char* path = system.settings.imagePaths[kFirstHardDiskPath + unit];
    if (path[0] != '\0' && system.devices.hardDisks[unit] != nullptr)
      MountHardDisk(system.hostLink, *system.devices.hardDisks[unit], path);
  }
  for (int unit = kFloppyUnitCount - 1; unit >= 0; --unit) {
    const char* path = system.settings.imagePaths[unit];
    if (path[0] != '\0' && system.devices.floppyDrives[unit] != nullptr)
      system.devices.floppyDrives[unit]->LoadImage(path);
  }
  for (int unit = 0; unit < kFloppyUnitCount; ++unit) {
    if (FloppyDrive* drive = system.devices.floppyDrives[unit]) {
      drive->cylinder = buffer[HeadAt(kCylinder, unit)];
      drive->side = buffer[HeadAt(kSide, unit)];
      drive->rotation = buffer[HeadAt(kRotation, unit)];
    }
  }
  system.running = 1;
  system.RefreshPanel();
  return 1;
}

}  // namespace disk
