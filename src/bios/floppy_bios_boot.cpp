// The boot sector of a floppy, loaded at power-on through the BIOS read operation.
#include <cstring>

#include "bios/floppy_bios.h"
#include "bios/floppy_bios_call.h"
#include "bios/guest_memory.h"
#include "bios/host_link.h"
#include "bios/work_area.h"
#include "formats/floppy_geometry.h"

namespace disk {
namespace {

// Bit 1 of the BIOS flag byte 0x500 follows the boot media: set for 640 KB disks, clear for the
// others. Only that bit changes: a whole-byte mask (0xFD or 0x02) would also set or clear every
// other flag of the byte, which belong to the rest of the BIOS.
constexpr std::uint8_t kFlag640Boot = 0x02;

struct BootRead {
  std::uint8_t ah;
  std::uint16_t bytes;
  std::uint16_t segment;
};

BootRead BootReadFor(const SectorRecord& first) {
  if (first.mediaType == kMedia144) return {0x56, 1024, kBootSegmentHigh};
  if (first.mfm == 0) return {0x16, 512, kBootSegmentHigh};
  return {0x56, 1024, kBootSegment};
}

void MarkBootMedia(const HostLink& host, FloppyController& fdc, std::uint8_t mediaType,
                   std::uint8_t unit) {
  using namespace work_area;
  auto update = [&host](std::uint32_t at, std::uint8_t keep, std::uint8_t set) {
    WriteGuestByte(host, at, static_cast<std::uint8_t>((ReadGuestByte(host, at) & keep) | set));
  };
  if (mediaType == 0x10 || mediaType == 0x70) {
    fdc.interfaceMode = fdc::kInterface640KB;
    fdc.dmaSelect = 2;
    WriteGuestByte(host, kBootDevice, static_cast<std::uint8_t>(0x70 | unit));
    update(kFloppyUnits, 0xF0, 0x00);
    update(kHardDiskUnits, 0x0F, 0x30);
    update(kBiosFlags500, 0xFF, kFlag640Boot);
  } else {
    fdc.interfaceMode = fdc::kInterface1MB;
    fdc.dmaSelect = 0;
    WriteGuestByte(host, kBootDevice, static_cast<std::uint8_t>(mediaType | unit));
    update(kFloppyUnits, 0xF3, 0x03);
    update(kHardDiskUnits, 0x0F, 0x00);
    update(kBiosFlags500, static_cast<std::uint8_t>(~kFlag640Boot), 0x00);
  }
}

}  // namespace

bool LoadBootSector(HostLink& host, FloppyController& fdc, FloppyDrive& drive) {
  if (host.registers == nullptr) return false;
  std::uint8_t live[mhw::kRegistersSize];
  std::memcpy(live, host.registers, sizeof live);
  std::memcpy(host.savedRegisters, live, sizeof live);
  drive.registers = host.savedRegisters;
  fdc.unit = drive.unit;
  RegisterView regs(drive.registers);

  const SectorRecord first = drive.Track(0, 0)[0];
  const BootRead read = BootReadFor(first);
  regs.SetAH(bios_command::kRecalibrate);
  BiosCall recalibrate(host, drive, fdc);
  if (!BiosRecalibrate(recalibrate)) return false;

  regs.SetAL(static_cast<std::uint8_t>(first.mediaType | drive.unit));
  regs.SetAH(read.ah);
  regs.SetBX(read.bytes);
  regs.SetCH(first.N);
  regs.SetCL(0);
  regs.SetDL(1);
  regs.SetDH(0);
  regs.SetSegment(mhw::reg::kES, read.segment);
  regs.SetBP(0);
  BiosCall readBoot(host, drive, fdc);
  if (!RunBiosOperation(readBoot)) return false;

  std::memcpy(host.savedRegisters, live, sizeof live);
  regs.SetSegment(mhw::reg::kCS, read.segment);
  regs.SetIP(0);
  MarkBootMedia(host, fdc, first.mediaType, static_cast<std::uint8_t>(drive.unit));
  std::memcpy(host.registers, host.savedRegisters, sizeof live);
  return true;
}

}  // namespace disk
