// The disk BIOS, INT 1Bh: hard-disk calls go to the drive at once, floppy calls through the
// two-step floppy call, every other device class to a handler another module registered.
#include "bios/device_class.h"
#include "bios/floppy_bios.h"
#include "bios/floppy_call.h"
#include "bios/guest_registers.h"
#include "machine/disk_system.h"
#include "machine/machine_handlers.h"
#include "media/hard_disk_drive.h"
#include "ui/status_panel.h"

namespace disk {
namespace {

constexpr std::uint8_t kStatusNoUnit = 0x90;
constexpr std::uint8_t kStatusUnknownDevice = 0x40;
// What the handler returns for hard-disk units 2 and 3: neither carry result.
constexpr std::uint32_t kNoSuchUnit = 1;
constexpr int kFirstHardDiskLamp = 2;

std::uint32_t HardDiskCall(DiskSystem& system, RegisterView regs) {
  const unsigned unit = regs.AL() & 3;
  HardDiskDrive* drive = unit < kHardDiskCount ? system.hardDisks[unit] : nullptr;
  if (drive == nullptr) {
    regs.SetAH(kStatusNoUnit);
    return kNoSuchUnit;
  }
  SetAccessLamp(kFirstHardDiskLamp + static_cast<int>(unit), true);
  // The drive may not have been through BIOS start-up yet; it serves the live registers.
  drive->registers = system.registers;
  return drive->ServeBiosCall() ? mhw::kBiosCarryClear : mhw::kBiosCarrySet;
}

std::uint32_t ExtensionCall(DiskSystem& system, RegisterView regs) {
  const MhwWord handler = system.biosExtension.handlers[DeviceClass(regs.AL())];
  if (handler == 0) {
    regs.SetAH(kStatusUnknownDevice);
    return mhw::kBiosCarryClear;
  }
  const std::uint32_t failed = reinterpret_cast<MhwDiskBiosHandler>(handler)(regs.AL() & 0xF0u);
  return failed != 0 ? mhw::kBiosCarrySet : mhw::kBiosCarryClear;
}

}  // namespace

std::uint32_t MHW_CALL DiskBiosHandler() {
  DiskSystem& system = TheDiskSystem();
  if (system.registers == nullptr) return mhw::kBiosNoCarry;
  RegisterView regs(system.registers);
  const unsigned deviceClass = DeviceClass(regs.AL());
  if (IsHardDiskClass(deviceClass)) return HardDiskCall(system, regs);
  if (IsFloppyClass(deviceClass)) return FloppyBiosCall(system);
  return ExtensionCall(system, regs);
}

}  // namespace disk
