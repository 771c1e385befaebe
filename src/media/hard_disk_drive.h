// One emulated hard disk, backed by an image file that stays open while it is mounted (for
// reading alone when the file is marked read-only); nothing of the disk is held in memory.
#pragma once

#include <cstdint>

#include "formats/hard_disk_formats.h"
#include "platform/file.h"

namespace disk {

// Reads the header of an image just opened and checks its geometry: kNone with the
// geometry filled in, or why the image cannot be mounted.
HardDiskRefusal ExamineHardDiskImage(platform::FileHandle file, HardDiskGeometry& geometry);

class HardDiskDrive {
 public:
  explicit HardDiskDrive(std::uint32_t unitNumber) : unit(unitNumber) {}
  // Does not close the file: power-off does that.
  virtual ~HardDiskDrive() = default;
  HardDiskDrive(const HardDiskDrive&) = delete;
  HardDiskDrive& operator=(const HardDiskDrive&) = delete;

  // Mounts an image (MHD, HDI or ZHD); false leaves the drive without an image
  // (ExamineHardDiskImage tells why).
  bool OpenImage(const char* path);
  void CloseImage();

  // File position of the sector a call names: linear (DA class 0x0, DX:CX) or cylinder/head/
  // sector (class 0x8). Computed in 32 bits, as the guest's BIOS does.
  std::uint32_t SectorOffset(std::uint8_t da, std::uint16_t cx, std::uint8_t dh,
                             std::uint8_t dl) const;
  // Moves `count` bytes between the image at `position` and `buffer`. Bytes past the end of the
  // file read as zeros; writes there extend the file. A write is true when all of it was taken.
  void ReadImage(std::uint32_t position, std::uint8_t* buffer, std::uint32_t count) const;
  bool WriteImage(std::uint32_t position, const std::uint8_t* buffer, std::uint32_t count) const;

  platform::FileHandle file = platform::kNoFile;
  std::uint32_t dataOffset = 0;
  std::uint8_t daUa = 0;
  std::uint16_t cylinders = 0;
  std::uint8_t heads = 0;
  std::uint8_t sectors = 0;
  std::uint16_t sectorSize = 0;
  std::uint8_t writeProtect = 0;  // the file is marked read-only: writes and formats are refused
  std::uint32_t unit;
  std::uint8_t* registers = nullptr;  // the guest's GuestRegisters, set at BIOS start-up
};

}  // namespace disk
