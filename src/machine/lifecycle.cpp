// BIOS start-up and power-off: the drives come into service with the machine and leave with it.
#include "bios/floppy_call.h"
#include "bios/work_area.h"
#include "chips/floppy_controller.h"
#include "machine/boot_device.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"
#include "machine/parameter_tables.h"
#include "media/hard_disk_drive.h"
#include "platform/system.h"
#include "ui/status_panel.h"

namespace disk {
namespace {

void SetWorkAreaBits(const DiskSystem& system, std::uint32_t address, std::uint8_t bits) {
  WriteGuestByte(system, address, static_cast<std::uint8_t>(ReadGuestByte(system, address) | bits));
}

void PrepareWorkArea(const DiskSystem& system) {
  SetWorkAreaBits(system, work_area::kBiosFlags500, 0x06);
  WriteGuestByte(system, work_area::kFloppyUnits, 0x03);
  WriteGuestByte(system, work_area::kDiskEquipment493, 0xFF);
  SetWorkAreaBits(system, work_area::kSystemFlags480, 0x80);
  SetWorkAreaBits(system, work_area::kSystemFlags484, 0x10);
  WriteGuestByte(system, work_area::kFloppyEquipment5AE, 0x03);
}

}  // namespace

void MHW_CALL BiosStartup() {
  DiskSystem& system = TheDiskSystem();
  ForgetPendingFloppyCall();
  PrepareWorkArea(system);
  SetUpDiskParameterTables(system);
  ResetFloppyDrives(system);
  for (HardDiskDrive* drive : system.hardDisks)
    if (drive != nullptr) drive->registers = system.registers;

  // Every boot that succeeds replaces the start address of an earlier one, so with selector 0
  // the last one tried wins: hard disk 2, 1, floppy 2, 1 are tried in that order.
  const std::uint8_t selector = BootSelector(system);
  MountHardDisks(system, selector);
  MountFloppyDrives(system, selector);
  system.running = 1;
  RefreshPanel();
}

void MHW_CALL PowerOff() {
  DiskSystem& system = TheDiskSystem();
  ForgetPendingFloppyCall();
  EjectFloppyDrives(system);
  for (HardDiskDrive* drive : system.hardDisks)
    if (drive != nullptr) drive->CloseImage();
  system.running = 0;
  RefreshPanel();
  if (system.vwin32 != 0) platform::CloseVwin32Device(system.vwin32);
  system.vwin32 = 0;
  for (auto& word : system.displayMode) word = 0;
}

}  // namespace disk
