#include "bios/hard_disk_bios.h"

#include <algorithm>
#include <memory>
#include <new>

#include "bios/bios_codes.h"
#include "bios/guest_memory.h"
#include "bios/guest_registers.h"
#include "bios/host_link.h"
#include "bios/work_area.h"
#include "media/file_routines.h"
#include "media/hard_disk_drive.h"

namespace disk {
namespace {

constexpr std::uint8_t kSenseUnknownDrive = 0x0F;
constexpr std::uint8_t kExtendedSense = 0x84;
constexpr std::uint8_t kFormatFill = 0xE5;
constexpr std::uint32_t kBootProgramSize = 1024;

// Drive types by cylinder count, reported for 256-byte sectors only.
struct DriveType {
  std::uint16_t cylinders;
  std::uint8_t plain;
  std::uint8_t extended;
};
constexpr DriveType kDriveTypes[] = {
    {150, 1, 1}, {225, 2, 2}, {300, 3, 3}, {375, 4, 5}, {600, 5, 7},
};

std::unique_ptr<std::uint8_t[]> Buffer(std::uint32_t size) {
  return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
}

std::uint8_t Sense(const HardDiskDrive& drive, std::uint8_t ah) {
  if (drive.sectorSize != 256) return kSenseUnknownDrive;
  for (const DriveType& type : kDriveTypes)
    if (type.cylinders == drive.cylinders) return ah == kExtendedSense ? type.extended : type.plain;
  return 0;
}

// Sets the unit's bit in the work area's hard-disk byte.
void MarkPresent(const HostLink& host, std::uint32_t unit) {
  const std::uint8_t units = ReadGuestByte(host, work_area::kHardDiskUnits);
  WriteGuestByte(host, work_area::kHardDiskUnits, static_cast<std::uint8_t>(units | (1u << unit)));
}

}  // namespace

bool MountHardDisk(const HostLink& host, HardDiskDrive& drive, const char* path) {
  if (!drive.OpenImage(path)) return false;
  MarkPresent(host, drive.unit);
  return true;
}

bool BootFromHardDisk(const HostLink& host, HardDiskDrive& drive) {
  if (drive.registers == nullptr) return false;
  RegisterView regs(drive.registers);
  regs.SetSegment(mhw::reg::kCS, kBootSegment);
  regs.SetIP(0);
  std::uint8_t program[kBootProgramSize];
  if (ReadFileBytesAt(drive.file, drive.dataOffset, program, sizeof program) != sizeof program)
    return false;
  CopyToGuest(host, kBootSegment, 0, program, sizeof program);
  WriteGuestByte(host, work_area::kBootDevice, drive.daUa);
  return true;
}

bool ServeHardDiskCall(const HostLink& host, HardDiskDrive& drive) {
  using namespace hard_disk_command;
  if (drive.registers == nullptr) return false;
  RegisterView regs(drive.registers);
  const std::uint8_t command = regs.AH() & 0x0F;
  if (drive.file == platform::kNoFile) {
    regs.SetAH(static_cast<std::uint8_t>(bios_status::kNoImage + command));
    return false;
  }
  const std::uint32_t count = regs.BX();
  const bool writes = command == kWriteData || command == kWriteData5 || command == kFormatTrack;
  if (writes && drive.writeProtect != 0) {
    // A read-only image: the code the floppy BIOS gives for a write-protected disk, which a guest
    // already reports as such.
    regs.SetAH(bios_status::kWriteProtected);
    return false;
  }
  bool written = true;
  switch (command) {
    case kVerify:
    case kRecalibrate:
    case kSetMode:
      break;
    case kWriteData:
    case kWriteData5: {
      auto buffer = Buffer(count);
      if (!buffer) {
        written = false;
        break;
      }
      CopyFromGuest(host, buffer.get(), regs.ES(), regs.BP(), static_cast<std::int32_t>(count));
      written = drive.WriteImage(drive.SectorOffset(regs.AL(), regs.CX(), regs.DH(), regs.DL()),
                                 buffer.get(), count);
      break;
    }
    case kInitialize:
      MarkPresent(host, regs.AL() & 3u);
      break;
    case kSense: {
      const std::uint8_t ah = regs.AH();
      regs.SetAH(Sense(drive, ah));
      if (ah == kExtendedSense) {
        regs.SetBX(drive.sectorSize);
        regs.SetCX(static_cast<std::uint16_t>(drive.cylinders - 1));
        regs.SetDH(drive.heads);
        regs.SetDL(drive.sectors);
      }
      return true;
    }
    case kReadData: {
      auto buffer = Buffer(count);
      if (!buffer) break;
      drive.ReadImage(drive.SectorOffset(regs.AL(), regs.CX(), regs.DH(), regs.DL()), buffer.get(),
                      count);
      CopyToGuest(host, regs.ES(), regs.BP(), buffer.get(), static_cast<std::int32_t>(count));
      break;
    }
    case kFormatTrack: {
      const std::uint32_t size = static_cast<std::uint32_t>(drive.sectorSize) * drive.sectors;
      auto buffer = Buffer(size);
      if (!buffer) {
        written = false;
        break;
      }
      std::fill_n(buffer.get(), size, kFormatFill);
      written = drive.WriteImage(drive.SectorOffset(regs.AL(), regs.CX(), regs.DH(), 0),
                                 buffer.get(), size);
      break;
    }
    default:
      regs.SetAH(bios_status::kBadRequest);
      return false;
  }
  // The file did not take a write (disk full, I/O error): the guest must not believe it did.
  regs.SetAH(written ? bios_status::kDone : bios_status::kNotReady);
  return written;
}

}  // namespace disk
