// The hard-disk operations of the disk BIOS: one INT 1Bh call, served at once on the image file.
#include <algorithm>
#include <memory>
#include <new>

#include "bios/guest_memory.h"
#include "bios/guest_registers.h"
#include "bios/work_area.h"
#include "machine/disk_system.h"
#include "media/hard_disk_drive.h"

namespace disk {
namespace {

// Command numbers, AH & 0x0F.
enum HardDiskCommand : std::uint8_t {
  kVerify = 0x1,
  kWriteData = 0x2,
  kInitialize = 0x3,
  kSense = 0x4,
  kWriteData5 = 0x5,
  kReadData = 0x6,
  kRecalibrate = 0x7,
  kFormatTrack = 0xD,
  kSetMode = 0xE,
};

constexpr std::uint8_t kStatusDone = 0x00;
constexpr std::uint8_t kStatusBadCommand = 0x40;
// The file did not take a write (disk full, I/O error): the guest must not believe it did.
constexpr std::uint8_t kStatusNotReady = 0x60;
// A read-only image: the code the floppy BIOS gives for a write-protected disk, which a guest
// already reports as such.
constexpr std::uint8_t kStatusWriteProtected = 0x70;
constexpr std::uint8_t kStatusNoImage = 0x90;  // the command number goes in the low nibble
constexpr std::uint8_t kSenseUnknownDrive = 0x0F;
constexpr std::uint8_t kExtendedSense = 0x84;
constexpr std::uint8_t kFormatFill = 0xE5;
constexpr std::uint8_t kLinearAddressing = 0x00;  // DA class; 0x80 is cylinder/head/sector

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

}  // namespace

std::uint32_t HardDiskDrive::SectorOffset(std::uint8_t da, std::uint16_t cx, std::uint8_t dh,
                                          std::uint8_t dl) const {
  std::uint32_t sector;
  if ((da & 0xF0) == kLinearAddressing)
    sector = (static_cast<std::uint32_t>((dh << 8) | dl) << 16) + cx;
  else
    sector = (static_cast<std::uint32_t>(cx) * heads + dh) * sectors + dl;
  return sector * sectorSize + dataOffset;
}

std::uint8_t HardDiskDrive::Sense(std::uint8_t ah) const {
  if (sectorSize != 256) return kSenseUnknownDrive;
  for (const DriveType& type : kDriveTypes)
    if (type.cylinders == cylinders) return ah == kExtendedSense ? type.extended : type.plain;
  return 0;
}

bool HardDiskDrive::ServeBiosCall() {
  if (registers == nullptr) return false;
  RegisterView regs(registers);
  const std::uint8_t command = regs.AH() & 0x0F;
  if (file == platform::kNoFile) {
    regs.SetAH(static_cast<std::uint8_t>(kStatusNoImage + command));
    return false;
  }
  DiskSystem& system = TheDiskSystem();
  const std::uint32_t count = regs.BX();
  const bool writes = command == kWriteData || command == kWriteData5 || command == kFormatTrack;
  if (writes && writeProtect != 0) {
    regs.SetAH(kStatusWriteProtected);
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
      CopyFromGuest(system, buffer.get(), regs.ES(), regs.BP(), static_cast<std::int32_t>(count));
      written =
          WriteImage(SectorOffset(regs.AL(), regs.CX(), regs.DH(), regs.DL()), buffer.get(), count);
      break;
    }
    case kInitialize: {
      const std::uint8_t units = ReadGuestByte(system, work_area::kHardDiskUnits);
      WriteGuestByte(system, work_area::kHardDiskUnits,
                     static_cast<std::uint8_t>(units | (1u << (regs.AL() & 3))));
      break;
    }
    case kSense: {
      const std::uint8_t ah = regs.AH();
      regs.SetAH(Sense(ah));
      if (ah == kExtendedSense) {
        regs.SetBX(sectorSize);
        regs.SetCX(static_cast<std::uint16_t>(cylinders - 1));
        regs.SetDH(heads);
        regs.SetDL(sectors);
      }
      return true;
    }
    case kReadData: {
      auto buffer = Buffer(count);
      if (!buffer) break;
      ReadImage(SectorOffset(regs.AL(), regs.CX(), regs.DH(), regs.DL()), buffer.get(), count);
      CopyToGuest(system, regs.ES(), regs.BP(), buffer.get(), static_cast<std::int32_t>(count));
      break;
    }
    case kFormatTrack: {
      const std::uint32_t size = static_cast<std::uint32_t>(sectorSize) * sectors;
      auto buffer = Buffer(size);
      if (!buffer) {
        written = false;
        break;
      }
      std::fill_n(buffer.get(), size, kFormatFill);
      written = WriteImage(SectorOffset(regs.AL(), regs.CX(), regs.DH(), 0), buffer.get(), size);
      break;
    }
    default:
      regs.SetAH(kStatusBadCommand);
      return false;
  }
  regs.SetAH(written ? kStatusDone : kStatusNotReady);
  return written;
}

}  // namespace disk
