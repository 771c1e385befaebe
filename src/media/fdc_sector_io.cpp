#include "media/fdc_sector_io.h"

#include <cstring>

#include "machine/disk_system.h"
#include "media/backing_store.h"
#include "media/floppy_drive.h"

namespace disk {

void ReadSectorData(FloppyDrive& drive, std::uint32_t offset, std::uint8_t* buffer,
                    std::uint32_t length) {
  // A sector whose data lie beyond the end of the file (or a real drive without a disk) reads
  // as zeros rather than as whatever an earlier sector left in the buffer.
  std::memset(buffer, 0, length);
  DiskSystem& system = TheDiskSystem();
  SeekDrive(system, drive.unit, drive.file, offset);
  ReadDrive(system, drive.unit, drive.file, buffer, length);
}

bool WriteSectorData(FloppyDrive& drive, std::uint32_t offset, const std::uint8_t* buffer,
                     std::uint32_t length) {
  DiskSystem& system = TheDiskSystem();
  SeekDrive(system, drive.unit, drive.file, offset);
  return WriteDrive(system, drive.unit, drive.file, buffer, length);
}

}  // namespace disk
