// BIOS start-up and power-off: the drives come into service with the machine, mounted from the
// image paths, the machine boots from the first bootable one, and the drives leave with it.
#include "bios/floppy_bios.h"
#include "bios/floppy_call.h"
#include "bios/guest_memory.h"
#include "bios/hard_disk_bios.h"
#include "bios/work_area.h"
#include "chips/floppy_controller.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"
#include "machine/parameter_tables.h"
#include "media/floppy_drive.h"
#include "media/hard_disk_drive.h"
#include "platform/system.h"

namespace disk {
namespace {

constexpr std::uint32_t kBootQuery = 0x12;
// First result byte of a floppy unit at start-up: without a disk, and once one is mounted.
constexpr std::uint8_t kResultNoDisk = 0xC8;
constexpr std::uint8_t kResultDiskSet = 0xC0;

void SetWorkAreaBits(const HostLink& host, std::uint32_t address, std::uint8_t bits) {
  WriteGuestByte(host, address, static_cast<std::uint8_t>(ReadGuestByte(host, address) | bits));
}

void PrepareWorkArea(const HostLink& host) {
  SetWorkAreaBits(host, work_area::kBiosFlags500, 0x06);
  WriteGuestByte(host, work_area::kFloppyUnits, 0x03);
  WriteGuestByte(host, work_area::kDiskEquipment493, 0xFF);
  SetWorkAreaBits(host, work_area::kSystemFlags480, 0x80);
  SetWorkAreaBits(host, work_area::kSystemFlags484, 0x10);
  WriteGuestByte(host, work_area::kFloppyEquipment5AE, 0x03);
}

// The high nibble the host's boot selector returns: 0x00 any device; 0xA0 / 0xB0 hard disk 1 /
// 2; 0x20 / 0x40 floppy drives. 0 when the host offered no selector.
std::uint8_t BootSelector(const ModuleLinks& links) {
  const MhwWord query = links.bootSelector[0];
  if (query == 0) return 0;
  return reinterpret_cast<MhwBootQuery>(query)(kBootQuery) & 0xF0;
}

bool BootsFromHardDisk(std::uint8_t selector, std::uint32_t unit) {
  return selector == 0x00 || (selector == 0xA0 && unit == 0) || (selector == 0xB0 && unit == 1);
}

bool BootsFromFloppy(std::uint8_t selector) {
  return selector == 0x00 || selector == 0x20 || selector == 0x40;
}

// Unit 1, then unit 0. A path that does not mount is emptied.
void MountHardDisks(DiskSystem& system, std::uint8_t selector) {
  for (int unit = kHardDiskCount - 1; unit >= 0; --unit) {
    char* path = system.settings.imagePaths[kFirstHardDiskPath + unit];
    HardDiskDrive* drive = system.devices.hardDisks[unit];
    if (path[0] == '\0' || drive == nullptr) continue;
    if (MountHardDisk(system.hostLink, *drive, path)) {
      if (BootsFromHardDisk(selector, drive->unit)) BootFromHardDisk(system.hostLink, *drive);
    } else {
      path[0] = '\0';
    }
  }
}

void MountFloppyDrives(DiskSystem& system, std::uint8_t selector) {
  for (int unit = kFloppyUnitCount - 1; unit >= 0; --unit) {
    const std::uint32_t result = work_area::kFloppyResults + work_area::kFloppyResultSize * unit;
    WriteGuestByte(system.hostLink, result, kResultNoDisk);
    char* path = system.settings.imagePaths[unit];
    FloppyDrive* drive = system.devices.floppyDrives[unit];
    if (path[0] == '\0' || drive == nullptr) continue;
    if (drive->LoadImage(path) != 0) {
      if (BootsFromFloppy(selector) && system.devices.fdc != nullptr)
        LoadBootSector(system.hostLink, *system.devices.fdc, *drive);
      WriteGuestByte(system.hostLink, result, kResultDiskSet);
    } else {
      path[0] = '\0';
    }
  }
}

}  // namespace

void BiosStartup(DiskSystem& system) {
  ForgetPendingFloppyCall(system.bios);
  PrepareWorkArea(system.hostLink);
  SetUpDiskParameterTables(system.hostLink);
  for (FloppyDrive* drive : system.devices.floppyDrives) {
    if (drive == nullptr) continue;
    drive->Reset();
    drive->registers = system.hostLink.savedRegisters;
  }
  for (HardDiskDrive* drive : system.devices.hardDisks)
    if (drive != nullptr) drive->registers = system.hostLink.registers;

  // Every boot that succeeds replaces the start address of an earlier one, so with selector 0
  // the last one tried wins: hard disk 2, 1, floppy 2, 1 are tried in that order.
  const std::uint8_t selector = BootSelector(system.links);
  MountHardDisks(system, selector);
  MountFloppyDrives(system, selector);
  system.running = 1;
  system.RefreshPanel();
}

void PowerOff(DiskSystem& system) {
  ForgetPendingFloppyCall(system.bios);
  for (int unit = 0; unit < kFloppyUnitCount; ++unit)
    if (FloppyDrive* drive = system.devices.floppyDrives[unit]) drive->Eject();
  for (HardDiskDrive* drive : system.devices.hardDisks)
    if (drive != nullptr) drive->CloseImage();
  system.running = 0;
  system.RefreshPanel();
  if (system.settings.vwin32 != 0) platform::CloseVwin32Device(system.settings.vwin32);
  system.settings.vwin32 = 0;
  for (auto& word : system.links.displayMode) word = 0;
}

}  // namespace disk
